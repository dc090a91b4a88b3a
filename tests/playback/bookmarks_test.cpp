// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/bookmarks.h"

#include <gtest/gtest.h>

#include "book/textnumbers.h"
#include "platform/controlids.h"
#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

class BookmarksTest : public ::testing::Test {
protected:
    BookmarksTest()
    {
        test::writeSampleBook(m_book, m_harness);
        m_harness.openBook(m_book.folder());
    }
    MainController& controller() { return m_harness.controller(); }
    const BookTable& marks() { return controller().tables().bookmarks; }
    const MenuModel& menu() { return controller().menu(); }
    // Plays heading `heading` for `ms`, then sets a bookmark.
    void setIn(int heading, int ms)
    {
        controller().tables().tree.select(heading);
        m_harness.advance(ms);
        controller().command(cmd::kBookmarkSet);
    }
    void chooseLine(int line)
    {
        m_harness.bookmarkList.setCurrentIndex(line);
        controller().notify(control::kBookmarkList, notify::kSelectionChanged);
    }

    TestBook m_book;
    ControllerHarness m_harness;
};

TEST_F(BookmarksTest, SetListsTheHeadingAndKeepsPhraseAndTime)
{
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkNext));
    setIn(1, 2000);
    ASSERT_EQ(m_harness.selectedPhrase(), 4);
    EXPECT_EQ(m_harness.bookmarkList.lines(), (std::vector<std::string>{"Zwei"}));
    ASSERT_EQ(marks().rowCount(), 1);
    EXPECT_EQ(marks().text(0, col::bookmark::kTitel), "Zwei");
    EXPECT_EQ(marks().text(0, col::bookmark::kZeit), decimalText(m_harness.player.position(), 6));
    EXPECT_EQ(marks().text(0, col::bookmark::kTitelId), "1");
    EXPECT_EQ(marks().text(0, col::bookmark::kEventId), "4");
    EXPECT_TRUE(m_harness.bookmarkList.isEnabled());
    EXPECT_FALSE(menu().isGrayed(cmd::kBookmarkNext));
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkDelete));
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkPrevious));
}

TEST_F(BookmarksTest, SetAtMediaEndedKeepsNoTimeAndItsJumpStartsThePhrasesFile)
{
    // Set between the end of the file and the poll that moves on from there.
    m_harness.player.addFile(m_book.folder() + "c.mp3", 4.25);
    controller().tables().tree.select(2);
    ASSERT_TRUE(
        m_harness.clock.advanceUntil([&] { return m_harness.player.playState() == MediaPlayer::kMediaEnded; }, 5000));
    controller().command(cmd::kBookmarkSet);
    EXPECT_EQ(marks().text(0, col::bookmark::kZeit), "");
    EXPECT_EQ(marks().text(0, col::bookmark::kEventId), "8");
    controller().tables().tree.select(0);
    m_harness.advance(500);
    controller().command(cmd::kBookmarkNext);
    m_harness.advance(0);
    EXPECT_EQ(controller().tables().tree.selectedItem(), 2);
    EXPECT_EQ(m_harness.selectedPhrase(), 8);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 0.0);
}

TEST_F(BookmarksTest, NextAndPreviousGrayAtBothEndsOfTheList)
{
    setIn(0, 2500);  // row 1
    setIn(1, 2000);  // row 4
    setIn(2, 500);   // row 7
    struct Step {
        int command;
        int line;
        int row;
        bool nextGrayed;
        bool previousGrayed;
    };
    const std::vector<Step> steps = {
        {cmd::kBookmarkNext, 0, 1, false, true},      {cmd::kBookmarkNext, 1, 4, false, false},
        {cmd::kBookmarkNext, 2, 7, true, false},      {cmd::kBookmarkNext, 2, 7, true, false},
        {cmd::kBookmarkPrevious, 1, 4, false, false}, {cmd::kBookmarkPrevious, 0, 1, false, true},
        {cmd::kBookmarkPrevious, 0, 1, false, true},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        controller().command(steps[i].command);
        m_harness.advance(0);
        EXPECT_EQ(m_harness.bookmarkList.currentIndex(), steps[i].line) << "step " << i;
        EXPECT_EQ(m_harness.selectedPhrase(), steps[i].row) << "step " << i;
        EXPECT_DOUBLE_EQ(m_harness.player.position(), marks().real(steps[i].line, col::bookmark::kZeit))
            << "step " << i;
        EXPECT_EQ(menu().isGrayed(cmd::kBookmarkNext), steps[i].nextGrayed) << "step " << i;
        EXPECT_EQ(menu().isGrayed(cmd::kBookmarkPrevious), steps[i].previousGrayed) << "step " << i;
        EXPECT_FALSE(menu().isGrayed(cmd::kBookmarkDelete)) << "step " << i;
    }
}

TEST_F(BookmarksTest, AChoiceInTheListJumpsThereEvenTwiceAndGivesTheFocusToTheTree)
{
    setIn(0, 2500);
    setIn(2, 500);
    m_harness.windowView.focus = 0;
    chooseLine(1);
    EXPECT_EQ(m_harness.windowView.focus, control::kHeadingTree);
    EXPECT_EQ(m_harness.selectedPhrase(), 7);
    EXPECT_FALSE(menu().isGrayed(cmd::kBookmarkDelete));
    m_harness.advance(1000);
    chooseLine(1);
    m_harness.advance(0);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), marks().real(1, col::bookmark::kZeit));
    // Without a book the list ignores the listener.
    m_harness.dialogs.nccFile.reset();
    controller().command(cmd::kOpen);
    chooseLine(0);
    EXPECT_EQ(marks().rowCount(), 0);
}

TEST_F(BookmarksTest, DeletingGraysItselfAndTheLastDeletionDisablesTheList)
{
    setIn(0, 2500);
    setIn(1, 2000);
    controller().command(cmd::kBookmarkNext);
    controller().command(cmd::kBookmarkDelete);
    EXPECT_EQ(m_harness.bookmarkList.lines(), (std::vector<std::string>{"Zwei"}));
    EXPECT_EQ(marks().text(0, col::bookmark::kEventId), "4");
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkDelete));
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkPrevious));
    EXPECT_FALSE(menu().isGrayed(cmd::kBookmarkNext));
    EXPECT_TRUE(m_harness.bookmarkList.isEnabled());
    controller().command(cmd::kBookmarkNext);
    controller().command(cmd::kBookmarkDelete);
    EXPECT_EQ(marks().rowCount(), 0);
    EXPECT_FALSE(m_harness.bookmarkList.isEnabled());
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkNext));
    EXPECT_TRUE(menu().isGrayed(cmd::kBookmarkDelete));
}

// After a deletion no line is selected, and M starts again at the first
// bookmark left, whichever of three was deleted.
TEST_F(BookmarksTest, AfterADeletionMGoesToTheFirstBookmarkLeft)
{
    const std::vector<std::string> titles = {"Eins", "Zwei", "Drei"};
    for (int deleted = 0; deleted < 3; ++deleted) {
        SCOPED_TRACE(deleted);
        for (int heading = 0; heading < 3; ++heading)
            setIn(heading, 2500);
        for (int line = 0; line <= deleted; ++line)
            controller().command(cmd::kBookmarkNext);
        controller().command(cmd::kBookmarkDelete);
        std::vector<std::string> left = titles;
        left.erase(left.begin() + deleted);
        ASSERT_EQ(m_harness.bookmarkList.lines(), left);
        EXPECT_EQ(m_harness.bookmarkList.currentIndex(), -1);
        for (const int line : {0, 1}) {
            controller().command(cmd::kBookmarkNext);
            EXPECT_EQ(m_harness.bookmarkList.currentIndex(), line);
            EXPECT_EQ(controller().tables().headings.text(controller().tables().headings.selectionMark(),
                                                          col::heading::kTitel),
                      left[static_cast<std::size_t>(line)]);
        }
        controller().command(cmd::kBookmarkDelete);
        controller().command(cmd::kBookmarkNext);
        controller().command(cmd::kBookmarkDelete);
        ASSERT_EQ(marks().rowCount(), 0);
    }
}

TEST_F(BookmarksTest, TheBookmarksComeBackWithTheBook)
{
    setIn(1, 2000);
    setIn(0, 2500);
    controller().command(cmd::kExit);
    m_harness.restart();
    controller().command(cmd::kLastBook);
    EXPECT_EQ(m_harness.bookmarkList.lines(), (std::vector<std::string>{"Zwei", "Eins"}));
    EXPECT_TRUE(m_harness.bookmarkList.isEnabled());
    EXPECT_FALSE(menu().isGrayed(cmd::kBookmarkNext));
    controller().command(cmd::kBookmarkNext);
    m_harness.advance(0);
    EXPECT_EQ(m_harness.selectedPhrase(), 4);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), marks().real(0, col::bookmark::kZeit));
}

}  // namespace
}  // namespace korvin
