// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "platform/dialogs.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace korvin {

// The search dialog: a group box holding the prompt around one edit field
// (1030), OK (the default button) and Cancel. Its caption and prompt are set
// as it is first shown, so that a screen reader announces both as it
// appears. OK can be chosen once the field holds two characters; Enter then
// confirms, Escape and Cancel cancel.
class CA_Suche : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShortestTerm = 2;

    CA_Suche(Dialogs::SearchTexts texts, QWidget* parent);

    // The term as typed.
    QString term() const;

    QGroupBox& groupBox() const { return *m_group; }
    QLineEdit& edit() const { return *m_edit; }
    QPushButton& okButton() const { return *m_ok; }
    QPushButton& cancelButton() const { return *m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void termChanged(const QString& text);

    Dialogs::SearchTexts m_texts;
    QGroupBox* m_group;
    QLineEdit* m_edit;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_shown = false;
};

}  // namespace korvin
