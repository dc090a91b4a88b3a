// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/externallinkquestion.h"

#include <QMessageBox>
#include <QPushButton>

namespace korvin {

bool ExternalLinkQuestion::ask(QWidget* parent, const QString& url) const
{
    if (m_texts.question.isEmpty())
        return false;
    QMessageBox box(QMessageBox::Question, m_texts.caption, m_texts.question + QStringLiteral("\n\n") + url,
                    QMessageBox::NoButton, parent);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* yes = box.addButton(m_texts.yes, QMessageBox::YesRole);
    QPushButton* no = box.addButton(m_texts.no, QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace korvin
