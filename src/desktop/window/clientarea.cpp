// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/clientarea.h"

#include <QResizeEvent>

namespace korvin {

ClientArea::ClientArea(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void ClientArea::layoutNow()
{
    if (m_layout)
        m_layout();
}

void ClientArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutNow();
}

void ClientArea::paintEvent(QPaintEvent* event)
{
    if (!m_firstLayoutDone) {
        m_firstLayoutDone = true;
        layoutNow();
    }
    QWidget::paintEvent(event);
}

}  // namespace korvin
