// SPDX-License-Identifier: GPL-3.0-or-later
// What the simulated player adds to the shared contract: scripted files, a
// scripted load time, the call log and its place on the virtual clock. What
// every player does is in tests/platform/mediaplayercontract.h.

#include "support/simulatedplayer.h"
#include "support/simulatedtimers.h"
#include "support/virtualclock.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvin::test {
namespace {

TEST(SimulatedPlayer, LogsEveryCallThatChangesSomething)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    player.addFile("/b/a.mp3", 60);
    player.setUrl("/b/a.mp3");
    player.setRate(1.2);
    player.setVolume(50);
    player.setPosition(12.5);
    player.play();
    player.pause();
    player.clearErrors();
    player.setUrl("");
    const std::vector<std::string> expected = {"setUrl /b/a.mp3", "setRate 1.2", "setVolume 50",
                                               "setPosition 12.5", "play", "pause", "clearErrors", "setUrl "};
    EXPECT_EQ(player.log(), expected);
    player.clearLog();
    EXPECT_TRUE(player.log().empty());
}

TEST(SimulatedPlayer, OpensTheFileWhenTheLoadDelayHasPassed)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    player.addFile("/b/a.mp3", 60);
    player.setLoadDelay(100);
    player.setUrl("/b/a.mp3");
    player.setPosition(20);
    player.play();
    clock.advance(99);
    EXPECT_EQ(player.openState(), SimulatedPlayer::kOpenStateOpening);
    EXPECT_DOUBLE_EQ(player.position(), 20.0);
    EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
    EXPECT_DOUBLE_EQ(player.duration(), 0.0);
    clock.advance(1);
    EXPECT_EQ(player.openState(), MediaPlayer::kOpenStateMediaOpen);
    EXPECT_DOUBLE_EQ(player.duration(), 60.0);
    clock.advance(500);
    EXPECT_DOUBLE_EQ(player.position(), 20.5);
}

TEST(SimulatedPlayer, WithoutALoadDelayTheFileOpensAtTheNextAdvance)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    player.addFile("/b/a.mp3", 60);
    player.setUrl("/b/a.mp3");
    EXPECT_EQ(player.openState(), SimulatedPlayer::kOpenStateOpening);
    clock.advance(0);
    EXPECT_EQ(player.openState(), MediaPlayer::kOpenStateMediaOpen);
}

TEST(SimulatedPlayer, RaisesLoadErrorsFromTheClockNeverInsideSetUrl)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    int events = 0;
    player.setErrorHandler([&] { ++events; });
    player.setUrl("/b/missing.mp3");
    EXPECT_EQ(events, 0);
    EXPECT_EQ(player.errorCount(), 0);
    clock.advance(0);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(player.errorCount(), 1);
    EXPECT_EQ(player.openState(), SimulatedPlayer::kOpenStateClosed);
    EXPECT_EQ(player.playState(), MediaPlayer::kUndefined);

    player.raiseError();
    EXPECT_EQ(events, 1);
    clock.advance(0);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(player.errorCount(), 2);
}

TEST(SimulatedPlayer, TheLastUrlSetBeforeTheLoadFinishesIsTheOneOpened)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    player.addFile("/b/b.mp3", 30);
    int events = 0;
    player.setErrorHandler([&] { ++events; });
    player.setUrl("/b/missing.mp3");
    player.setUrl("/b/b.mp3");
    clock.advance(10);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(player.url(), "/b/b.mp3");
    EXPECT_DOUBLE_EQ(player.duration(), 30.0);
}

TEST(SimulatedPlayer, ARateChangeWhilePlayingKeepsWhatWasPlayed)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    player.addFile("/b/a.mp3", 100);
    player.setUrl("/b/a.mp3");
    clock.advance(0);
    player.play();
    clock.advance(1000);
    player.setRate(2.0);
    clock.advance(1000);
    EXPECT_DOUBLE_EQ(player.position(), 3.0);
}

TEST(SimulatedPlayer, ATimerTickAtTheMomentOfTheEndSeesThePlayerEnded)
{
    VirtualClock clock;
    SimulatedPlayer player(clock);
    SimulatedTimers timers(clock);
    player.addFile("/b/a.mp3", 0.3);
    player.setUrl("/b/a.mp3");
    clock.advance(0);
    player.play();
    std::vector<int> states;
    std::vector<double> positions;
    timers.setHandler([&](int) {
        states.push_back(player.playState());
        positions.push_back(player.position());
    });
    timers.setTimer(2, 100);
    clock.advance(300);
    EXPECT_EQ(states, (std::vector<int>{MediaPlayer::kPlaying, MediaPlayer::kPlaying, MediaPlayer::kMediaEnded}));
    EXPECT_EQ(positions, (std::vector<double>{0.1, 0.2, 0.3}));
}

TEST(SimulatedPlayer, ALoadStillQueuedWhenThePlayerGoesIsDropped)
{
    VirtualClock clock;
    {
        SimulatedPlayer player(clock);
        player.addFile("/b/a.mp3", 1);
        player.setUrl("/b/a.mp3");
        player.raiseError();
    }
    EXPECT_EQ(clock.pending(), 2u);
    clock.advance(10);
    EXPECT_EQ(clock.pending(), 0u);
}

}  // namespace
}  // namespace korvin::test
