// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_laufwerke.h"

#include <QApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "desktop/window/ca_daisysuche.h"
#include "desktop/window/qtdialogs.h"

namespace korvin {
namespace {

const Dialogs::DriveTexts kDriveTexts{"Please select a drive...", "Drive", "Drive Name", "OK", "Cancel"};
const std::vector<Drive> kDrives{{"/home/anna", "Home folder"}, {"/media/anna/STICK", "STICK"}};

int currentLine(CA_Laufwerke& dialog)
{
    return dialog.table().currentRow();
}

int currentLine(CA_DaisySuche& dialog)
{
    return dialog.list().currentRow();
}

// Runs a dialog of `Dialog`'s kind and lets `act` work it while it is open.
template <typename Dialog> void whileOpen(const std::function<void(Dialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no dialog";
            QApplication::activeModalWidget()->close();
            return;
        }
        // The dialog makes its first line current once it is shown, which a
        // loaded machine may take a while to get to.
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return currentLine(*dialog) >= 0; }, 5000)) << "no line is current";
        act(*dialog);
    });
}

TEST(CA_Laufwerke, ShowsTheDrivesInTheInterfaceLanguageAndEnterChoosesTheCurrentOne)
{
    QtDialogs dialogs(nullptr);
    whileOpen<CA_Laufwerke>([](CA_Laufwerke& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Please select a drive..."));
        EXPECT_EQ(dialog.table().accessibleName(), dialog.windowTitle());
        EXPECT_EQ(dialog.table().horizontalHeaderItem(0)->text(), QStringLiteral("Drive"));
        EXPECT_EQ(dialog.table().horizontalHeaderItem(1)->text(), QStringLiteral("Drive Name"));
        EXPECT_EQ(dialog.table().item(1, 1)->text(), QStringLiteral("STICK"));
        EXPECT_EQ(dialog.table().currentRow(), 0);
        EXPECT_EQ(dialog.focusWidget(), &dialog.table());
        EXPECT_EQ(dialog.cancelButton().text(), QStringLiteral("Cancel"));
        QTest::keyClick(&dialog.table(), Qt::Key_Down);
        QTest::keyClick(&dialog.table(), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseDrive(kDriveTexts, kDrives), "/media/anna/STICK");

    whileOpen<CA_Laufwerke>([](CA_Laufwerke& dialog) { QTest::keyClick(&dialog.table(), Qt::Key_Escape); });
    EXPECT_EQ(dialogs.chooseDrive(kDriveTexts, kDrives), std::nullopt);
}

// A list whose making adds a book.
class TwoStepList final : public BookList {
public:
    std::vector<std::string> lines() const override { return m_lines; }
    int currentLine() const override { return m_lines.size() > 1 ? 1 : 0; }
    void makeList() override
    {
        ++made;
        m_lines = {"Create a list?", "Der Fall"};
    }
    std::string folder(int line) const override { return line == 1 ? "/media/x/Krimi/" : std::string(); }

    int made = 0;

private:
    std::vector<std::string> m_lines{"Create a list?"};
};

TEST(CA_DaisySuche, LineZeroMakesTheListAndStaysOpenThenABookIsChosen)
{
    QtDialogs dialogs(nullptr);
    TwoStepList list;
    whileOpen<CA_DaisySuche>([&list](CA_DaisySuche& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Searching for DAISY..."));
        EXPECT_EQ(dialog.list().accessibleName(), dialog.windowTitle());
        EXPECT_EQ(dialog.list().count(), 1);
        EXPECT_EQ(dialog.list().currentRow(), 0);
        QTest::keyClick(&dialog.list(), Qt::Key_Return);
        EXPECT_EQ(list.made, 1);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.list().count(), 2);
        EXPECT_EQ(dialog.list().currentRow(), 1);
        EXPECT_EQ(dialog.focusWidget(), &dialog.list());
        QTest::keyClick(&dialog.list(), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseBook({"Searching for DAISY...", "OK", "Cancel"}, list), "/media/x/Krimi/");
    EXPECT_EQ(list.made, 1);

    whileOpen<CA_DaisySuche>([](CA_DaisySuche& dialog) { dialog.cancelButton().click(); });
    EXPECT_EQ(dialogs.chooseBook({"DAISY suchen...", "OK", "Abbrechen"}, list), std::nullopt);
}

}  // namespace
}  // namespace korvin
