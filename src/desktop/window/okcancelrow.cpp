// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/okcancelrow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace korvin {

QHBoxLayout* okCancelRow(QPushButton* ok, QPushButton* cancel)
{
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace korvin
