// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/resumerewind.h"

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

// Rows 0 and 1: "Eins", a.mp3 0–8 and 8–16; row 2: "Zwei", b.mp3 0–20.
class ResumeRewindTest : public ::testing::Test {
protected:
    // Opens the book with the option as given and puts the player at `position`
    // in `row`, reached as the listener would.
    void openAt(bool rewind, int row, double position)
    {
        test::openTimedBook(m_book, m_harness,
                            {{1, "Eins", {{"a.mp3", 0, 8}, {"a.mp3", 8, 16}}}, {1, "Zwei", {{"b.mp3", 0, 20}}}},
                            {.rewindOnResume = rewind});
        controller().tables().tree.select(row == 2 ? 1 : 0);
        if (row == 1)
            controller().command(cmd::kPhraseForward);
        m_harness.player.setPosition(position);
    }
    MainController& controller() { return m_harness.controller(); }
    void expectPlayingAt(int row, double position)
    {
        m_harness.advance(0);
        EXPECT_EQ(m_harness.selectedPhrase(), row);
        EXPECT_NEAR(m_harness.player.position(), position, 1e-6);
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    }

    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

struct Case {
    bool option;
    int row;
    double position;
    int row5sEarlier;  // where it goes on with the option
    double position5sEarlier;
};
// Within a phrase, into the phrase before, never before the heading's start.
constexpr Case kCases[] = {
    {true, 0, 6.0, 0, 1.0}, {true, 1, 10.0, 0, 5.0}, {true, 2, 3.0, 2, 0.0}, {false, 1, 10.0, 1, 10.0}};

TEST_F(ResumeRewindTest, ContinuingAfterAPauseOfMoreThanAMinuteStartsFiveSecondsEarlier)
{
    for (const Case& c : kCases) {
        for (const auto& [pause, fromTheMenu] :
             {std::pair{60000, false}, std::pair{61000, false}, std::pair{61000, true}}) {
            SCOPED_TRACE(std::to_string(c.row) + " " + std::to_string(pause) + (fromTheMenu ? " menu" : ""));
            openAt(c.option, c.row, c.position);
            controller().command(cmd::kPauseContinue);
            m_harness.advance(pause);
            if (fromTheMenu) {  // closing the menu continues, the item then keeps it so
                controller().menuSelect(false);
                controller().menuSelect(true);
            }
            controller().command(cmd::kPauseContinue);
            if (pause > 60000)
                expectPlayingAt(c.row5sEarlier, c.position5sEarlier);
            else
                expectPlayingAt(c.row, c.position);
        }
    }
}

TEST_F(ResumeRewindTest, ABookResumedStartsFiveSecondsBeforeThePlaceLeft)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.row) + (c.option ? " on" : " off"));
        openAt(c.option, c.row, c.position);
        controller().command(cmd::kExit);
        m_harness.restart();
        controller().command(cmd::kLastBook);
        expectPlayingAt(c.row5sEarlier, c.position5sEarlier);
    }
}

}  // namespace
}  // namespace korvin
