// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <vector>

#include "platform/dialogs.h"

class QPushButton;
class QTableWidget;

namespace korvin {

// The drive dialog: a table (1013) of the drives, one row each, the root and
// the volume's name, with full-row selection and grid lines; OK (the
// default button) and Cancel. The caption, headers and names are set as it
// is first shown, with the first row current, so that the screen reader
// announces the dialog and the first drive as it appears. OK, Enter or a
// double click choose the current row's root.
class CA_Laufwerke : public QDialog {
    Q_OBJECT
public:
    CA_Laufwerke(Dialogs::DriveTexts texts, std::vector<Drive> drives, QWidget* parent);

    // The root of the row chosen; empty before.
    const std::string& chosenRoot() const { return m_chosen; }

    QTableWidget& table() const { return *m_table; }
    QPushButton& okButton() const { return *m_ok; }
    QPushButton& cancelButton() const { return *m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void choose();

    Dialogs::DriveTexts m_texts;
    std::vector<Drive> m_drives;
    QTableWidget* m_table;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::string m_chosen;
    bool m_shown = false;
};

}  // namespace korvin
