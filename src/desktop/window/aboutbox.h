// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace korvin {

// The modal about box: caption "Info Korvin 2.0", the application icon, the
// line "Korvin 2.0.1", the maker's notice and OK.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace korvin
