// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_daisy.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include "desktop/window/qtdialogs.h"

namespace korvin {
namespace {

TEST(CA_Daisy, WaitsForTheFirstTickRunsTheReadingAndEndsWithItsResult)
{
    QtDialogs dialogs(nullptr);
    QElapsedTimer clock;
    clock.start();
    bool ran = false;
    const int result = dialogs.runReading({"Buch öffnen...", "Buch wird geöffnet. Bitte warten..."},
                                          [&](ReadProgress& progress) {
        ran = true;
        auto* dialog = qobject_cast<CA_Daisy*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return 0;
        EXPECT_GE(clock.elapsed(), 900);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Buch öffnen..."));
        EXPECT_EQ(dialog->groupBox().title(), QStringLiteral("Buch wird geöffnet. Bitte warten..."));
        progress.setRange(0, 245);
        progress.setPosition(17);
        progress.setStatus("17 von 245");
        EXPECT_EQ(dialog->progressBar().maximum(), 245);
        EXPECT_EQ(dialog->progressBar().value(), 17);
        EXPECT_EQ(dialog->statusLine().text(), QStringLiteral("17 von 245"));
        EXPECT_TRUE(dialog->statusLine().alignment() & Qt::AlignHCenter);
        // Enter, Escape and the close box do not end the box.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTest::keyClick(dialog, Qt::Key_Return);
        dialog->close();
        dialog->reject();
        EXPECT_TRUE(dialog->isVisible());
        return 2;
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(CA_Daisy, IsAnnouncedWithItsTextsBeforeTheReadingStarts)
{
    CA_Daisy dialog(
        {"Open book...", "Opening book. Please wait..."}, [](ReadProgress&) { return 1; }, nullptr, 60000);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open book..."));
    EXPECT_EQ(dialog.groupBox().title(), QStringLiteral("Opening book. Please wait..."));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&dialog);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Dialog);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Open book..."));
    EXPECT_EQ(accessible->text(QAccessible::Description), QStringLiteral("Opening book. Please wait..."));
    EXPECT_FALSE(dialog.isReading());
}

TEST(CA_Daisy, KeepsPositionsWithinTheRange)
{
    CA_Daisy dialog({"c", "g"}, [](ReadProgress&) { return 1; }, nullptr, 60000);
    dialog.setRange(0, 10);
    dialog.setPosition(12);
    EXPECT_EQ(dialog.progressBar().value(), 10);
    dialog.setRange(5, 2);  // an empty range stays a range
    EXPECT_EQ(dialog.progressBar().maximum(), 5);
}

}  // namespace
}  // namespace korvin
