// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "platform/dialogs.h"

class QListWidget;
class QPushButton;

namespace korvin {

// The book search dialog: a list (1015) of the book list's lines, OK (the
// default button) and Cancel (1019). The caption and lines are set as it is
// first shown, with the list's current line current. OK, Enter or a double
// click choose the current line: line 0 makes the list anew and the dialog
// stays open with the list focused; another line closes it with its folder.
class CA_DaisySuche : public QDialog {
    Q_OBJECT
public:
    CA_DaisySuche(Dialogs::BookSearchTexts texts, BookList& list, QWidget* parent);

    // The folder of the line chosen; empty before.
    const std::string& chosenFolder() const { return m_chosen; }

    QListWidget& list() const { return *m_lines; }
    QPushButton& okButton() const { return *m_ok; }
    QPushButton& cancelButton() const { return *m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void choose();

    Dialogs::BookSearchTexts m_texts;
    BookList& m_list;
    QListWidget* m_lines;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::string m_chosen;
    bool m_shown = false;
};

}  // namespace korvin
