// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/pausebracket.h"

#include <gtest/gtest.h>

#include "support/fakeplatform.h"

namespace korvin {
namespace {

// A player that is in the play state the test gives it and notes the calls.
class StatePlayer final : public MediaPlayer {
public:
    void setUrl(const std::string&) override {}
    std::string url() const override { return {}; }
    int openState() const override { return kOpenStateMediaOpen; }
    int playState() const override { return state; }
    void play() override { calls += "play "; }
    void pause() override { calls += "pause "; }
    double position() const override { return 0; }
    void setPosition(double) override {}
    double rate() const override { return 1; }
    void setRate(double) override {}
    int volume() const override { return 50; }
    void setVolume(int) override {}
    double duration() const override { return 0; }
    int errorCount() const override { return 0; }
    void clearErrors() override {}
    void setErrorHandler(std::function<void()>) override {}

    int state = kPlaying;
    std::string calls;
};

TEST(PauseBracket, PausesUnlessTheMediaEndedAndPlaysAfterwardsWhenPaused)
{
    struct Case {
        int before;
        int after;  // the state when the bracket closes
        const char* calls;
    };
    const Case cases[] = {
        {MediaPlayer::kPlaying, MediaPlayer::kPaused, "pause play "},
        {MediaPlayer::kPaused, MediaPlayer::kPaused, "pause play "},  // paused before: plays after
        {MediaPlayer::kStopped, MediaPlayer::kStopped, "pause "},
        {MediaPlayer::kMediaEnded, MediaPlayer::kMediaEnded, ""},
    };
    for (const Case& c : cases) {
        StatePlayer player;
        test::FakeMenuBar menuBar;
        player.state = c.before;
        {
            const PauseBracket bracket(player, menuBar);
            EXPECT_EQ(menuBar.redraws, 0);
            player.state = c.after;
        }
        EXPECT_EQ(player.calls, c.calls) << c.before;
        EXPECT_EQ(menuBar.redraws, 1);
    }
}

}  // namespace
}  // namespace korvin
