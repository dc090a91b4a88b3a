// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/desktopwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

#include "app/layout.h"
#include "app/maincontroller.h"
#include "desktop/window/clientarea.h"
#include "desktop/window/headingtreeview.h"
#include "desktop/window/menubarview.h"
#include "desktop/window/playerpanel.h"
#include "desktop/window/qtlistbox.h"
#include "platform/controlids.h"
#include "support/audiofiles.h"
#include "support/testbook.h"
#include "ui/commandids.h"
#include "windowfixture.h"

namespace korvin {
namespace {

using test::WindowFixture;

TEST(DesktopWindow, StartsMaximisedWithItsCaptionAndTheKeysLoaded)
{
    WindowFixture fixture;
    EXPECT_EQ(fixture.window().windowTitle(), QStringLiteral("Korvin 2.0.1"));
    EXPECT_TRUE(fixture.window().isMaximized());
    EXPECT_FALSE(fixture.window().windowIcon().isNull());
    EXPECT_TRUE(fixture.controller().hasAccelerators());
    EXPECT_TRUE(fixture.window().clientArea().hasLaidOut());
}

TEST(DesktopWindow, EnabledAcceleratorsReachTheController)
{
    WindowFixture fixture;
    fixture.window().setFocus(control::kHeadingTree);
    fixture.press(Qt::Key_O, Qt::ControlModifier);
    fixture.press(Qt::Key_O);
    fixture.press(Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(fixture.commands(), (std::vector<int>{cmd::kOpen, cmd::kOpenFromList, cmd::kLastBook}));
}

TEST(DesktopWindow, GrayedItemsBlockTheirKeys)
{
    WindowFixture fixture;
    fixture.window().setFocus(control::kHeadingTree);
    for (Qt::Key key : {Qt::Key_P, Qt::Key_Space, Qt::Key_S, Qt::Key_M, Qt::Key_R, Qt::Key_N, Qt::Key_T})
        fixture.press(key);
    fixture.press(Qt::Key_A, Qt::AltModifier);
    fixture.press(Qt::Key_S, Qt::AltModifier);
    fixture.press(Qt::Key_W, Qt::AltModifier);  // change volume needs a book
    EXPECT_TRUE(fixture.commands().empty());

    fixture.enableBookMenus();
    fixture.press(Qt::Key_P);
    fixture.press(Qt::Key_S, Qt::ShiftModifier);  // previous page stays grayed after opening
    fixture.press(Qt::Key_M, Qt::ShiftModifier);  // and so does previous bookmark
    EXPECT_EQ(fixture.commands(), std::vector<int>{cmd::kPhraseForward});
}

TEST(DesktopWindow, SpaceAndCtrlSpaceBothReachPauseContinue)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    fixture.window().setFocus(control::kPlayer);
    fixture.press(Qt::Key_Space);
    fixture.press(Qt::Key_Space, Qt::ControlModifier);
    fixture.window().setFocus(control::kTextView);
    fixture.press(Qt::Key_Space);
    EXPECT_EQ(fixture.commands(), (std::vector<int>{cmd::kPauseContinue, cmd::kPauseContinue, cmd::kPauseContinue}));
}

TEST(DesktopWindow, AcceleratorsWinOverMenuMnemonics)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    fixture.window().setFocus(control::kHeadingTree);
    // "&Audio", "&Lesezeichen" and "&Suche" share Alt+A, Alt+L and Alt+S.
    fixture.press(Qt::Key_A, Qt::AltModifier);
    fixture.press(Qt::Key_L, Qt::AltModifier);
    fixture.press(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(fixture.commands(), (std::vector<int>{cmd::kAutoPlayback, cmd::kLastBook, cmd::kPageGoto}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// Three groups over two headings; G and Shift+G step through them in the tree,
// the group list and the heading following, and are grayed at the ends.
TEST(DesktopWindow, GAndShiftGMoveThroughTheGroupsOfABook)
{
    test::TestBook book;
    book.writeNcc(test::TestBook::Ncc()
                      .heading(1, "Eins", "a.smil#p1")
                      .group("A", "a.smil#txt_p2")
                      .heading(1, "Zwei", "b.smil#p3")
                      .group("B", "b.smil#txt_p3")
                      .group("C", "b.smil#txt_p4"));
    book.writeSmil("a.smil", test::TestBook::Smil()
                                 .par("p1", "text.html#t1", {{"a.wav", "0.000", "1.000"}})
                                 .par("p2", "text.html#t2", {{"a.wav", "1.000", "2.000"}}));
    book.writeSmil("b.smil", test::TestBook::Smil()
                                 .par("p3", "text.html#t3", {{"b.wav", "0.000", "1.000"}})
                                 .par("p4", "text.html#t4", {{"b.wav", "1.000", "2.000"}}));
    book.writeHtml("text.html", {{"t1", "Eins"}, {"t2", "A"}, {"t3", "B"}, {"t4", "C"}});
    test::writeToneWav(book.dir().path() / "a.wav", 2.2);
    test::writeToneWav(book.dir().path() / "b.wav", 2.2);
    WindowFixture fixture;
    fixture.controller().openAtStart(book.folder());
    ASSERT_EQ(fixture.window().groupList().count(), 3);
    fixture.window().setFocus(control::kHeadingTree);

    // Key, then the group and the heading reached; at the ends the key is
    // grayed and sends nothing.
    for (const auto& [modifiers, group, heading, sent] :
         {std::tuple{Qt::NoModifier, 0, 0, true}, {Qt::NoModifier, 1, 1, true}, {Qt::NoModifier, 2, 1, true},
          {Qt::NoModifier, 2, 1, false}, {Qt::ShiftModifier, 1, 1, true}, {Qt::ShiftModifier, 0, 0, true},
          {Qt::ShiftModifier, 0, 0, false}}) {
        SCOPED_TRACE(testing::Message() << "to group " << group);
        fixture.commands().clear();
        fixture.press(Qt::Key_G, modifiers);
        const int command = modifiers == Qt::ShiftModifier ? cmd::kGroupPrevious : cmd::kGroupNext;
        EXPECT_EQ(fixture.commands(), sent ? std::vector<int>{command} : std::vector<int>{});
        EXPECT_EQ(fixture.window().groupList().currentIndex(), group);
        EXPECT_EQ(fixture.controller().tree().selectedItem(), heading);
    }
    EXPECT_FALSE(fixture.window().hasEnded());
}

TEST(DesktopWindow, ALetterInTheFocusedTreeStartsNoTypeAhead)
{
    WindowFixture fixture;
    HeadingTree& tree = fixture.controller().tree();
    tree.insertItem("Anfang");
    tree.insertItem("Pause");
    tree.insertItem("Schluss");
    tree.select(0);
    fixture.window().setFocus(control::kHeadingTree);
    fixture.press(Qt::Key_P);  // grayed without a book: eaten all the same
    fixture.press(Qt::Key_S);
    EXPECT_EQ(tree.selectedItem(), 0);
    fixture.enableBookMenus();
    fixture.press(Qt::Key_P);
    fixture.press(Qt::Key_S);
    EXPECT_EQ(tree.selectedItem(), 0);
    EXPECT_EQ(fixture.commands(), (std::vector<int>{cmd::kPhraseForward, cmd::kPageNext}));
}

TEST(DesktopWindow, LettersWithCapsLockAreTheirAccelerators)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    fixture.window().setFocus(control::kHeadingTree);
    fixture.pressWithText(Qt::Key_P, QStringLiteral("P"));
    fixture.pressWithText(Qt::Key_L, QStringLiteral("l"), Qt::ShiftModifier);
    EXPECT_EQ(fixture.commands(), (std::vector<int>{cmd::kPhraseForward, cmd::kVolumeDown}));
}

TEST(DesktopWindow, TabMovesTheFocusThroughTheControlsInOrder)
{
    WindowFixture fixture;
    DesktopWindow& window = fixture.window();
    for (QtListBox* list : {&window.groupList(), &window.bookmarkList(), &window.searchResultList()})
        list->setEnabled(true);
    const std::vector<QWidget*> expected = {
        window.control(control::kHeadingTree), &window.playerPanel().button(), window.control(control::kTextView),
        window.control(control::kGroupList),   window.control(control::kBookmarkList),
        window.control(control::kSearchResultList)};
    window.setFocus(control::kHeadingTree);
    for (std::size_t i = 1; i <= expected.size(); ++i) {
        fixture.press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected[i % expected.size()]) << i;
    }
    fixture.press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), expected.back());
    EXPECT_TRUE(fixture.commands().empty());
}

TEST(DesktopWindow, TabPassesOverTheListsWhileTheyAreDisabled)
{
    WindowFixture fixture;
    DesktopWindow& window = fixture.window();
    window.setFocus(control::kTextView);
    fixture.press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.control(control::kHeadingTree));
}

TEST(DesktopWindow, EscapeAndEnterDoNotCloseIt)
{
    WindowFixture fixture;
    for (int controlId : {control::kHeadingTree, control::kPlayer, control::kTextView}) {
        fixture.window().setFocus(controlId);
        fixture.press(Qt::Key_Escape);
        fixture.press(Qt::Key_Return);
        fixture.press(Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_TRUE(fixture.window().isVisible());
    EXPECT_FALSE(fixture.window().hasEnded());
    EXPECT_FALSE(std::filesystem::exists(fixture.home().path() / "Settings.dl"));
}

TEST(DesktopWindow, AltF4RunsTheExitProcedureThroughTheTable)
{
    WindowFixture fixture;
    fixture.window().setFocus(control::kHeadingTree);
    fixture.press(Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(fixture.commands(), std::vector<int>{cmd::kExit});
    EXPECT_TRUE(fixture.window().hasEnded());
    EXPECT_FALSE(fixture.window().isVisible());
    EXPECT_TRUE(std::filesystem::exists(fixture.home().path() / "Settings.dl"));
}

TEST(DesktopWindow, TheCloseBoxRunsTheExitProcedure)
{
    WindowFixture fixture;
    EXPECT_TRUE(fixture.window().close());
    EXPECT_TRUE(fixture.window().hasEnded());
    EXPECT_TRUE(std::filesystem::exists(fixture.home().path() / "Settings.dl"));
}

TEST(DesktopWindow, F1IsAHelpRequestNotTheHelpItemsCommand)
{
    WindowFixture fixture;
    fixture.window().setFocus(control::kHeadingTree);
    fixture.press(Qt::Key_F1);
    EXPECT_TRUE(fixture.commands().empty());
    EXPECT_FALSE(fixture.window().hasEnded());
}

TEST(DesktopWindow, ThePlayerButtonSendsPauseContinue)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    fixture.window().playerPanel().button().click();
    EXPECT_EQ(fixture.commands(), std::vector<int>{cmd::kPauseContinue});
}

void expectLayout(DesktopWindow& window, int width, int height)
{
    ASSERT_EQ(window.clientArea().size(), QSize(width, height));
    for (const auto& [controlId, place] : computeLayout(0, 0, width, height))
        EXPECT_EQ(window.control(controlId)->geometry(), QRect(place.x, place.y, place.width, place.height))
            << controlId;
}

TEST(DesktopWindow, ResizingLaysTheControlsOutByTheFormula)
{
    WindowFixture fixture;
    DesktopWindow& window = fixture.window();
    window.showNormal();
    const int menuHeight = window.clientArea().y();
    window.resize(900, 600 + menuHeight);
    QTRY_COMPARE(window.clientArea().size(), QSize(900, 600));
    expectLayout(window, 900, 600);
    // B = (600 - 300 - 45) / 3 - 15 = 70
    EXPECT_EQ(window.control(control::kTextView)->geometry(), QRect(300, 5, 595, 590));
    EXPECT_EQ(window.control(control::kHeadingTree)->geometry(), QRect(5, 5, 285, 300));
    EXPECT_EQ(window.control(control::kPlayer)->geometry(), QRect(5, 310, 285, 45));
    EXPECT_EQ(window.control(control::kGroupList)->geometry(), QRect(5, 360, 285, 70));
    EXPECT_EQ(window.control(control::kBookmarkList)->geometry(), QRect(5, 435, 285, 70));
    EXPECT_EQ(window.control(control::kSearchResultList)->geometry(), QRect(5, 510, 285, 80));

    window.resize(1201, 777 + menuHeight);
    QTRY_COMPARE(window.clientArea().size(), QSize(1201, 777));
    expectLayout(window, 1201, 777);
    EXPECT_EQ(window.control(control::kTextView)->geometry(), QRect(400, 5, 795, 767));
}

TEST(DesktopWindow, ASecondStartRestoresTheMinimisedWindow)
{
    WindowFixture fixture;
    DesktopWindow& window = fixture.window();
    window.showMinimized();
    QTRY_VERIFY(window.isMinimized());
    window.restoreFromRequest();
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST(DesktopWindow, ThePlayerPanelShowsSpeedAndVolumeInTheInterfaceLanguage)
{
    WindowFixture fixture;
    fixture.enableBookMenus();
    PlayerPanel& panel = fixture.window().playerPanel();
    EXPECT_EQ(panel.speedLabel().text(), QStringLiteral("Geschwindigkeit 1,0"));
    EXPECT_EQ(panel.volumeLabel().text(), QStringLiteral("Lautstärke 50"));
    fixture.controller().command(cmd::kSpeedFaster);
    fixture.controller().command(cmd::kSpeedFaster);
    fixture.controller().command(cmd::kVolumeUp);
    panel.refresh();
    EXPECT_EQ(panel.speedLabel().text(), QStringLiteral("Geschwindigkeit 1,4"));
    EXPECT_EQ(panel.volumeLabel().text(), QStringLiteral("Lautstärke 60"));
    fixture.window().menuBarView().action({0, 8, 1})->trigger();
    EXPECT_EQ(panel.speedLabel().text(), QStringLiteral("Speed 1.4"));
    EXPECT_EQ(panel.volumeLabel().text(), QStringLiteral("Volume 60"));
    EXPECT_EQ(PlayerPanel::rateText(1.25, true), QStringLiteral("1,25"));
}

}  // namespace
}  // namespace korvin
