#include "playback/resumerewind.h"

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TimedHeading;

//   row heading  audio   clip
//   0   0 Eins   a.mp3   0–8
//   1   0        a.mp3   8–16
//   2   1 Zwei   b.mp3   0–20
const std::vector<TimedHeading> kBook = {{1, "Eins", {{"a.mp3", 0, 8}, {"a.mp3", 8, 16}}},
                                         {1, "Zwei", {{"b.mp3", 0, 20}}}};

class ResumeRewindTest : public ::testing::Test {
protected:
    void open(bool rewind) { test::openTimedBook(m_book, m_harness, kBook, {.rewindOnResume = rewind}); }
    MainController& controller() { return m_harness.controller(); }
    // The heading of `row` chosen in the tree, P up to `row`, the player at `position`.
    void place(int row, double position)
    {
        controller().tables().tree.select(row == 2 ? 1 : 0);
        if (row == 1)
            controller().command(cmd::kPhraseForward);
        m_harness.advance(0);
        ASSERT_EQ(m_harness.selectedPhrase(), row);
        m_harness.player.setPosition(position);
    }
    void expectAt(int row, double position)
    {
        EXPECT_EQ(m_harness.selectedPhrase(), row);
        EXPECT_NEAR(m_harness.player.position(), position, 1e-6);
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    }

    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

TEST_F(ResumeRewindTest, ContinuingAfterMoreThanAMinuteStartsFiveSecondsEarlierWithinTheHeading)
{
    struct Case {
        const char* what;
        bool option;
        int row;
        double position;
        int pauseMs;
        bool fromTheMenu;
        int expectedRow;
        double expectedPosition;
    };
    for (const Case& c : {
             Case{"more than a minute", true, 0, 6.0, 61000, false, 0, 1.0},
             Case{"a minute is not more", true, 0, 6.0, 60000, false, 0, 6.0},
             Case{"into the phrase before", true, 1, 10.0, 61000, false, 0, 5.0},
             Case{"never before the heading's start", true, 2, 3.0, 61000, false, 2, 0.0},
             Case{"chosen from the menu", true, 0, 6.0, 61000, true, 0, 1.0},
             Case{"the option off", false, 0, 6.0, 300000, false, 0, 6.0},
         }) {
        SCOPED_TRACE(c.what);
        open(c.option);
        place(c.row, c.position);
        controller().command(cmd::kPauseContinue);
        ASSERT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
        m_harness.advance(c.pauseMs);
        if (c.fromTheMenu) {
            controller().menuSelect(false);
            controller().menuSelect(true);
        }
        controller().command(cmd::kPauseContinue);
        m_harness.advance(0);
        expectAt(c.expectedRow, c.expectedPosition);
    }
}

TEST_F(ResumeRewindTest, ABookResumedStartsFiveSecondsBeforeThePlaceLeftNeverBeforeItsHeading)
{
    struct Case {
        bool option;
        int row;
        double position;
        int expectedRow;
        double expectedPosition;
    };
    for (const Case& c : {Case{true, 1, 10.0, 0, 5.0}, Case{true, 0, 3.0, 0, 0.0}, Case{true, 2, 12.0, 2, 7.0},
                          Case{false, 1, 10.0, 1, 10.0}}) {
        SCOPED_TRACE(std::to_string(c.row) + (c.option ? " rewound" : " exact"));
        open(c.option);
        place(c.row, c.position);
        controller().command(cmd::kExit);
        m_harness.restart();
        controller().command(cmd::kLastBook);
        m_harness.advance(0);
        expectAt(c.expectedRow, c.expectedPosition);
        // Resumed, not continued: a pause of the player before the exit is no
        // reason to go back once more.
        controller().command(cmd::kPauseContinue);
        controller().command(cmd::kPauseContinue);
        m_harness.advance(0);
        expectAt(c.expectedRow, c.expectedPosition);
    }
}

}  // namespace
}  // namespace korvin
