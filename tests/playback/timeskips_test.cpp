#include "playback/timeskips.h"

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TimedHeading;

//   row heading  audio    clip
//   0   0 Eins   a.mp3    0–8
//   1   0        a.mp3    8–16
//   2   1 Zwei   b0.mp3   0–6
//   3   1        b1.mp3   0–6
//   4   1        —               no sound
//   5   2 Drei   c.mp3    0–12
const std::vector<TimedHeading> kBook = {
    {1, "Eins", {{"a.mp3", 0, 8}, {"a.mp3", 8, 16}}},
    {1, "Zwei", {{"b0.mp3", 0, 6}, {"b1.mp3", 0, 6}, {}}},
    {1, "Drei", {{"c.mp3", 0, 12}}},
};
constexpr int kFirstRows[] = {0, 2, 5};
constexpr int kHeadingOfRow[] = {0, 0, 1, 1, 1, 2};

class TimeSkipsTest : public ::testing::Test {
protected:
    TimeSkipsTest() { test::openTimedBook(m_book, m_harness, kBook); }

    // Goes to `row` as the listener would (the heading in the tree, then P),
    // puts the player at `position` and pauses it unless `playing`.
    void place(int row, double position, bool playing)
    {
        MainController& controller = m_harness.controller();
        // Chosen anew, so that it starts from its first phrase.
        controller.tables().tree.select((kHeadingOfRow[row] + 1) % 3);
        controller.tables().tree.select(kHeadingOfRow[row]);
        for (int r = kFirstRows[kHeadingOfRow[row]]; r < row; ++r)
            controller.command(cmd::kPhraseForward);
        m_harness.advance(0);
        ASSERT_EQ(m_harness.selectedPhrase(), row);
        if (controller.tables().phrases.text(row, col::phrase::kAudio).empty())
            return;
        m_harness.player.setPosition(position);
        if (!playing)
            m_harness.player.pause();
    }

    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

TEST_F(TimeSkipsTest, SkipsGoThroughTheAudioAcrossPhrasesFilesAndHeadingsAndKeepThePlayState)
{
    struct Case {
        const char* what;
        int row;
        double position;
        bool playing;
        int command;
        int expectedRow;
        double expectedPosition;
        const char* expectedFile;
    };
    for (const Case& c : {
             Case{"within a file", 0, 2.0, true, cmd::kSkipForward10, 1, 12.0, "a.mp3"},
             Case{"across files into the next heading", 1, 12.5, true, cmd::kSkipForward10, 3, 0.5, "b1.mp3"},
             Case{"back across files into the heading before", 3, 1.0, true, cmd::kSkipBack10, 1, 13.0, "a.mp3"},
             Case{"back from a phrase without sound", 4, 0.0, true, cmd::kSkipBack10, 2, 2.0, "b0.mp3"},
             Case{"a minute forward stops at the book's end", 0, 2.0, true, cmd::kSkipForward60, 5, 12.0, "c.mp3"},
             Case{"a minute back stops at the book's start", 2, 3.0, true, cmd::kSkipBack60, 0, 0.0, "a.mp3"},
             Case{"paused within a file", 0, 2.0, false, cmd::kSkipForward10, 1, 12.0, "a.mp3"},
             Case{"paused into the next heading", 1, 12.5, false, cmd::kSkipForward10, 3, 0.5, "b1.mp3"},
             Case{"paused back into the heading before", 3, 1.0, false, cmd::kSkipBack10, 1, 13.0, "a.mp3"},
         }) {
        SCOPED_TRACE(c.what);
        place(c.row, c.position, c.playing);
        m_harness.controller().command(c.command);
        m_harness.advance(0);
        MainController& controller = m_harness.controller();
        EXPECT_EQ(m_harness.selectedPhrase(), c.expectedRow);
        // The heading reached is the tree's choice, as any heading change is.
        EXPECT_EQ(controller.tables().tree.selectedItem(), kHeadingOfRow[c.expectedRow]);
        EXPECT_EQ(controller.tables().headings.selectionMark(), kHeadingOfRow[c.expectedRow]);
        EXPECT_EQ(m_harness.player.url(), m_book.folder() + c.expectedFile);
        EXPECT_NEAR(m_harness.player.position(), c.expectedPosition, 1e-6);
        EXPECT_EQ(m_harness.player.playState(), c.playing ? MediaPlayer::kPlaying : MediaPlayer::kPaused);
    }
}

TEST_F(TimeSkipsTest, TheBookPlaysOnFromWhereTheSkipLanded)
{
    place(1, 12.5, true);
    m_harness.controller().command(cmd::kSkipForward10);
    m_harness.advance(6000);
    // 5.5 s of "b1.mp3" heard, then on to its end: the phrase without sound
    // waits, and nothing plays.
    EXPECT_EQ(m_harness.selectedPhrase(), 4);
    m_harness.controller().command(cmd::kSkipBack10);
    m_harness.advance(500);
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    EXPECT_NEAR(m_harness.player.position(), 2.0, 1e-6);
    m_harness.controller().command(cmd::kPauseContinue);
    m_harness.advance(500);
    EXPECT_NEAR(m_harness.player.position(), 2.5, 1e-6);
}

TEST(TimeSkips, WithoutABookTheKeysDoNothing)
{
    test::ControllerHarness harness;
    harness.player.clearLog();
    for (int command : {cmd::kSkipForward10, cmd::kSkipBack10, cmd::kSkipForward60, cmd::kSkipBack60})
        harness.controller().command(command);
    EXPECT_TRUE(harness.player.log().empty());
}

}  // namespace
}  // namespace korvin
