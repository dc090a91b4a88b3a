// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "platform/dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvin {

// The go-to-page dialog: the prompt, which is the label (buddy) of the one
// edit field (1022), OK (the default button) and Cancel. Caption and prompt
// are set as it is first shown, so that a screen reader announces the
// caption, the prompt and the field as it appears. The field takes any
// characters; Enter confirms, Escape and Cancel cancel.
class CA_Seitenzahl : public QDialog {
    Q_OBJECT
public:
    CA_Seitenzahl(Dialogs::PageTexts texts, QWidget* parent);

    // The page label as typed, nothing trimmed.
    QString pageText() const;

    QLabel& prompt() const { return *m_prompt; }
    QLineEdit& edit() const { return *m_edit; }
    QPushButton& okButton() const { return *m_ok; }
    QPushButton& cancelButton() const { return *m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Dialogs::PageTexts m_texts;
    QLabel* m_prompt;
    QLineEdit* m_edit;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_shown = false;
};

}  // namespace korvin
