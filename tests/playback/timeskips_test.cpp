// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/timeskips.h"

#include <gtest/gtest.h>

#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

//   row  heading  audio   clip
//   0 1  Eins     a.mp3   0–8, 8–16
//   2 3  Zwei     b0.mp3  0–6; b1.mp3 0–6
//   4             —       (no sound)
//   5    Drei     c.mp3   0–12
TEST(TimeSkips, GoThroughTheAudioAcrossPhrasesFilesAndHeadingsStopAtTheEndsAndKeepThePlayState)
{
    test::ControllerHarness harness;
    test::TestBook book;
    test::openTimedBook(book, harness,
                        {{1, "Eins", {{"a.mp3", 0, 8}, {"a.mp3", 8, 16}}},
                         {1, "Zwei", {{"b0.mp3", 0, 6}, {"b1.mp3", 0, 6}, {}}},
                         {1, "Drei", {{"c.mp3", 0, 12}}}});
    MainController& controller = harness.controller();
    const int headingOf[] = {0, 0, 1, 1, 1, 2};
    const char* fileOf[] = {"a.mp3", "a.mp3", "b0.mp3", "b1.mp3", "", "c.mp3"};
    struct Case {
        int heading;
        int presses;  // of P from its first phrase
        double position;
        bool playing;
        int command;
        int row;
        double at;
    };
    for (const Case& c : {
             Case{0, 0, 2.0, true, cmd::kSkipForward10, 1, 12.0},   // on in the file
             Case{0, 1, 12.5, true, cmd::kSkipForward10, 3, 0.5},   // across files into the next heading
             Case{1, 1, 1.0, true, cmd::kSkipBack10, 1, 13.0},      // back into the heading before
             Case{1, 2, 0.0, true, cmd::kSkipBack10, 2, 2.0},       // from a phrase without sound
             Case{0, 0, 2.0, true, cmd::kSkipForward60, 5, 12.0},   // the book's end
             Case{1, 0, 3.0, true, cmd::kSkipBack60, 0, 0.0},       // the book's start
             Case{0, 1, 12.5, false, cmd::kSkipForward10, 3, 0.5},  // paused, it stays paused
         }) {
        SCOPED_TRACE(std::to_string(c.heading) + "/" + std::to_string(c.presses) + " " + std::to_string(c.command));
        // Chosen anew in the tree, the heading starts at its first phrase.
        controller.tables().tree.select((c.heading + 1) % 3);
        controller.tables().tree.select(c.heading);
        for (int press = 0; press < c.presses; ++press)
            controller.command(cmd::kPhraseForward);
        harness.player.setPosition(c.position);
        if (!c.playing)
            harness.player.pause();
        controller.command(c.command);
        harness.advance(0);
        EXPECT_EQ(harness.selectedPhrase(), c.row);
        // A heading reached is the tree's choice, announced as any heading change is.
        EXPECT_EQ(controller.tables().tree.selectedItem(), headingOf[c.row]);
        EXPECT_EQ(harness.player.url(), book.folder() + fileOf[c.row]);
        EXPECT_NEAR(harness.player.position(), c.at, 1e-6);
        EXPECT_EQ(harness.player.playState(), c.playing ? MediaPlayer::kPlaying : MediaPlayer::kPaused);
    }
}

}  // namespace
}  // namespace korvin
