// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/pages.h"

#include <tuple>

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/testbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;

// Two headings, five pages:
//
//   page  label  begins at           phrase row
//   0     iv     a.smil#p1           0
//   1     1      a.smil#p2           1   (the spoken page number; row 2 follows)
//   2     12     b.smil#p3           3
//   3     1      b.smil#p4           4   (the same label as page 1)
//   4     x y    b.smil#q9           —   (no such phrase)
class PagesTest : public ::testing::Test {
protected:
    PagesTest()
    {
        m_book.writeNcc(TestBook::Ncc()
                            .heading(1, "Eins", "a.smil#p1")
                            .page("iv", "a.smil#p1", "front")
                            .page("1", "a.smil#p2")
                            .heading(1, "Zwei", "b.smil#p3")
                            .page("12", "b.smil#p3")
                            .page("1", "b.smil#p4")
                            .page("x y", "b.smil#q9"));
        m_book.writeSmil("a.smil", TestBook::Smil()
                                       .par("p1", "t.html#t1", {{"a.mp3", "0.000", "2.000"}})
                                       .par("p2", "t.html#t2", {{"a.mp3", "2.000", "3.000"}}, "pagenumber-on")
                                       .par("p2b", "t.html#t2b", {{"a.mp3", "3.000", "4.000"}}));
        m_book.writeSmil("b.smil", TestBook::Smil()
                                       .par("p3", "t.html#t3", {{"b.mp3", "0.000", "2.000"}})
                                       .par("p4", "t.html#t4", {{"b.mp3", "2.000", "4.000"}})
                                       .par("p5", "t.html#t5", {{"b.mp3", "4.000", "6.000"}}));
        m_harness.player.addFile(m_book.folder() + "a.mp3", 4.2);
        m_harness.player.addFile(m_book.folder() + "b.mp3", 6.2);
        m_harness.openBook(m_book.folder());
    }

    MainController& controller() { return m_harness.controller(); }
    bool grayed(int command) { return controller().menu().isGrayed(command); }
    int pageRow() { return controller().tables().pages.selectionMark(); }

    ControllerHarness m_harness;
    TestBook m_book;
};

TEST_F(PagesTest, StepsGoThroughEveryPageAndGrayAtTheEnds)
{
    ASSERT_EQ(pageRow(), 0);
    EXPECT_TRUE(grayed(cmd::kPagePrevious));
    // Command, then the page, the phrase and whether previous and next are grayed.
    for (const auto& [command, page, phrase, previousGrayed, nextGrayed] :
         {std::tuple{cmd::kPagePrevious, 0, 0, true, false}, {cmd::kPageNext, 1, 1, false, false},
          {cmd::kPageNext, 2, 3, false, false}, {cmd::kPageNext, 3, 4, false, false},
          {cmd::kPageNext, 4, 4, false, true}, {cmd::kPageNext, 4, 4, false, true},
          {cmd::kPagePrevious, 3, 4, false, false}, {cmd::kPagePrevious, 2, 3, false, false},
          {cmd::kPagePrevious, 1, 1, false, false}, {cmd::kPagePrevious, 0, 0, true, false}}) {
        SCOPED_TRACE(testing::Message() << "to page " << page);
        controller().command(command);
        EXPECT_EQ(pageRow(), page);
        EXPECT_EQ(m_harness.selectedPhrase(), phrase);
        EXPECT_EQ(grayed(cmd::kPagePrevious), previousGrayed);
        EXPECT_EQ(grayed(cmd::kPageNext), nextGrayed);
    }
}

TEST_F(PagesTest, GoToPageMatchesWholeLabelsWithLetterCaseAndTakesEveryEqualOne)
{
    struct Case {
        std::string typed;
        int phrase;  // -1: the page is not found
    };
    // In this order: the page without a phrase needs another heading playing.
    for (const Case& c : {Case{"x y", 3}, Case{"IV", -1}, Case{"iv", 0}, Case{" 12", -1}, Case{"1", 4},
                          Case{"12", 3}, Case{"", -1}, Case{std::string(10000, '1'), -1}}) {
        SCOPED_TRACE(c.typed.substr(0, 10));
        m_harness.messageBoxes.shown.clear();
        m_harness.dialogs.pageNumber = c.typed;
        controller().command(cmd::kPageGoto);
        if (c.phrase < 0) {
            ASSERT_EQ(m_harness.messageBoxes.shown.size(), 1u);
            const auto& shown = m_harness.messageBoxes.shown[0];
            EXPECT_EQ(shown.text + shown.caption, "Die angegebene Seite wurde nicht gefunden.Gehe zu Seite...");
            EXPECT_EQ(shown.icon, MessageBoxes::Icon::kWarning);
        } else {
            EXPECT_TRUE(m_harness.messageBoxes.shown.empty());
            EXPECT_EQ(m_harness.selectedPhrase(), c.phrase);
        }
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    }
    EXPECT_EQ(m_harness.dialogs.pageDialogs.back().prompt,
              "Bitte geben Sie eine Seitenzahl ein und drücken Sie \"Enter\" oder ESC zum Abbrechen.");

    controller().command(cmd::kPauseContinue);
    m_harness.dialogs.pageNumber.reset();
    controller().command(cmd::kPageGoto);  // cancelled: stays paused
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    controller().command(cmd::kEnglish);
    m_harness.dialogs.pageNumber = "13";
    controller().command(cmd::kPageGoto);  // not found: plays
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.dialogs.pageDialogs.back().caption, "Goto page...");
    EXPECT_EQ(m_harness.messageBoxes.shown.back().text, "The entered page number does not exist.");
}

TEST_F(PagesTest, WithPageNumbersSkippedAPageStartsAfterItsSpokenNumber)
{
    controller().command(cmd::kSkipPageNumbers);
    ASSERT_TRUE(controller().settings().skipPageNumbers);
    controller().command(cmd::kPageNext);  // page 1 begins with its number
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
}

TEST(PagesEdgeTest, ASinglePageLeavesNextEnabledButGoesNowhere)
{
    ControllerHarness harness;
    TestBook book;
    book.writeNcc(TestBook::Ncc().heading(1, "Eins", "a.smil#p1").page("1", "a.smil#p1"));
    book.writeSmil("a.smil", TestBook::Smil().par("p1", "t.html#t1", {{"a.mp3", "0.000", "2.000"}}));
    harness.openBook(book.folder());
    MainController& controller = harness.controller();
    EXPECT_FALSE(controller.menu().isGrayed(cmd::kPageNext));
    controller.command(cmd::kPageNext);
    EXPECT_EQ(controller.tables().pages.selectionMark(), 0);
    EXPECT_TRUE(controller.menu().isGrayed(cmd::kPagePrevious));
}

}  // namespace
}  // namespace korvin
