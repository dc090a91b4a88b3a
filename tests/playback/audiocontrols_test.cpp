// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/audiocontrols.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "support/simulatedplayer.h"
#include "support/virtualclock.h"

namespace korvin {
namespace {

class AudioControlsTest : public ::testing::Test {
protected:
    AudioControlsTest()
    {
        m_player.addFile("/b/hour.mp3", 3600.0);
        m_player.setVolume(m_settings.volume);
        m_player.setRate(m_settings.rate);
    }
    void load(double position, bool playing)
    {
        m_player.setUrl("/b/hour.mp3");
        m_player.setPosition(position);
        if (playing)
            m_player.play();
        m_clock.advance(0);
    }

    test::VirtualClock m_clock;
    test::SimulatedPlayer m_player{m_clock};
    Settings m_settings;
    PlaybackState m_state;
    Options m_options;
    AudioControls m_controls{m_settings, m_player, m_state, m_options};
};

TEST_F(AudioControlsTest, SpeedStepsByATenthTwiceAndStopsAtTwoAndAtSixTenths)
{
    struct Step {
        void (AudioControls::*command)();
        double rate;
    };
    const std::vector<Step> steps = {
        {&AudioControls::speedFaster, 1.2}, {&AudioControls::speedFaster, 1.4}, {&AudioControls::speedFaster, 1.6},
        {&AudioControls::speedFaster, 1.8}, {&AudioControls::speedFaster, 2.0}, {&AudioControls::speedFaster, 2.0},
        {&AudioControls::speedNormal, 1.0}, {&AudioControls::speedSlower, 0.8}, {&AudioControls::speedSlower, 0.6},
        {&AudioControls::speedSlower, 0.6}, {&AudioControls::speedFaster, 0.8},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        (m_controls.*steps[i].command)();
        EXPECT_NEAR(m_player.rate(), steps[i].rate, 1e-9) << "step " << i;
        EXPECT_EQ(m_settings.rate, m_player.rate()) << "step " << i;
    }
}

// "Bis dreifach" on: the steps go on to 3.0, and down to 0.5, where the step
// from 0.6 would pass it; off again, a rate beyond 0.6..2.0 comes back to the
// nearer end and the steps are the first ones again.
TEST_F(AudioControlsTest, UpToTripleTheSpeedGoesToThreeAndToAHalfAndComesBackWhenTurnedOff)
{
    const auto faster = &AudioControls::speedFaster;
    const auto slower = &AudioControls::speedSlower;
    const auto normalRange = &AudioControls::keepToNormalRange;
    for (const auto& [upToTriple, command, times, rate] :
         {std::tuple{true, slower, 3, 0.5}, std::tuple{true, slower, 1, 0.5}, std::tuple{true, faster, 1, 0.7},
          std::tuple{true, faster, 11, 2.9}, std::tuple{true, faster, 1, 3.0}, std::tuple{true, faster, 1, 3.0},
          std::tuple{false, normalRange, 1, 2.0}, std::tuple{false, faster, 1, 2.0}, std::tuple{true, slower, 8, 0.5},
          std::tuple{false, normalRange, 1, 0.6}, std::tuple{false, slower, 1, 0.6}, std::tuple{false, faster, 1, 0.8},
          std::tuple{false, normalRange, 1, 0.8}}) {
        m_options.upToTriple = upToTriple;
        for (int i = 0; i < times; ++i)
            (m_controls.*command)();
        EXPECT_NEAR(m_player.rate(), rate, 1e-9);
        EXPECT_EQ(m_settings.rate, m_player.rate());
    }
}

TEST_F(AudioControlsTest, VolumeStepsByTenAndTheSettingStaysOnThePlayersScale)
{
    struct Step {
        void (AudioControls::*command)();
        int volume;
    };
    const std::vector<Step> steps = {
        {&AudioControls::volumeUp, 60},   {&AudioControls::volumeUp, 70},     {&AudioControls::volumeUp, 80},
        {&AudioControls::volumeUp, 90},   {&AudioControls::volumeUp, 100},    {&AudioControls::volumeUp, 100},
        {&AudioControls::volumeDown, 90}, {&AudioControls::volumeNormal, 50},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        (m_controls.*steps[i].command)();
        EXPECT_EQ(m_player.volume(), steps[i].volume) << "step " << i;
        EXPECT_EQ(m_settings.volume, steps[i].volume) << "step " << i;
    }
    m_player.setVolume(5);  // changed outside the program
    m_controls.volumeDown();
    EXPECT_EQ(m_settings.volume, 0);
}

TEST_F(AudioControlsTest, WindMovesAThousandthOfTheFileAndKeepsThePlayState)
{
    struct Case {
        double position;
        bool playing;
        int direction;
        double expected;
    };
    const std::vector<Case> cases = {
        {100.0, false, +1, 103.6},   {100.0, false, -1, 96.4},
        {100.0, true, +1, 103.6},    {1.0, false, -1, 0.0},  // the player holds a target below 0 at 0
        {3599.0, false, +1, 3600.0},
    };
    for (const Case& c : cases) {
        load(c.position, c.playing);
        c.direction > 0 ? m_controls.windForward() : m_controls.windBackward();
        EXPECT_NEAR(m_player.position(), c.expected, 1e-9) << c.position << " " << c.direction;
        if (c.expected < 3600.0) {
            EXPECT_EQ(m_player.playState(), c.playing ? MediaPlayer::kPlaying : MediaPlayer::kPaused);
        }
    }
}

TEST_F(AudioControlsTest, WindingWithoutAFileOrAtMediaEndedMovesNothing)
{
    m_player.clearLog();
    m_controls.windForward();
    m_controls.windBackward();
    EXPECT_TRUE(m_player.log().empty());
    load(3600.0, true);
    m_player.setEndedState(MediaPlayer::kMediaEnded);
    m_player.clearLog();
    m_controls.windBackward();
    EXPECT_TRUE(m_player.log().empty());
    EXPECT_DOUBLE_EQ(m_player.position(), 3600.0);
}

}  // namespace
}  // namespace korvin
