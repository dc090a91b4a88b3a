// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messagebox.h"

class QWidget;

namespace korvin {

// Modal QMessageBox over the main window. A screen reader meets it as an alert
// named by its caption whose value is the whole text, with the icon as a
// graphic; when it closes, the control that had the focus has it again.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent) : m_parent(parent) {}
    Result show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons = Buttons::kOk,
                const ButtonTexts& buttonTexts = {}) override;

private:
    QWidget* m_parent;
};

}  // namespace korvin
