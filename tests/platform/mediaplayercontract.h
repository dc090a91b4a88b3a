// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every MediaPlayer must do for the code that drives it, as one suite that
// runs against each implementation. An implementation's test program provides a
// PlayerHarness (its files, and how time passes for it) and instantiates the
// suite:
//
//   INSTANTIATE_TEST_SUITE_P(Simulated, MediaPlayerContract,
//                            ::testing::ValuesIn(contractCases(makeHarness)), contractCaseName);
//
// Include this header in one source file per test program.

#include "platform/mediaplayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace korvin::test {

enum class AudioFormat { Wav, Mp3 };

class PlayerHarness {
public:
    virtual ~PlayerHarness() = default;
    virtual MediaPlayer& player() = 0;
    // Whether files of `format` can be made here (MP3 needs lame).
    virtual bool supports(AudioFormat format) = 0;
    // A file of `seconds` of sound.
    virtual std::string audioFile(AudioFormat format, double seconds) = 0;
    // A path where no file is.
    virtual std::string missingFile() = 0;
    // A file that exists but holds no audio the player can read.
    virtual std::string corruptFile() = 0;
    // The player's time in milliseconds (virtual or wall clock).
    virtual std::int64_t nowMs() = 0;
    // Lets `ms` of the player's time pass, delivering its events.
    virtual void wait(int ms) = 0;
    // Lets time pass until `condition` holds (checked about every millisecond)
    // or `timeoutMs` have passed; returns whether it holds.
    virtual bool waitUntil(const std::function<bool()>& condition, int timeoutMs) = 0;
};

struct PlayerContractCase {
    std::string name;
    std::function<std::unique_ptr<PlayerHarness>()> makeHarness;
    AudioFormat format;
};

// Names the case in test listings (instead of its bytes).
inline void PrintTo(const PlayerContractCase& contractCase, std::ostream* out)
{
    *out << contractCase.name;
}

inline std::vector<PlayerContractCase> contractCases(
    const std::function<std::unique_ptr<PlayerHarness>()>& makeHarness)
{
    return {{"Wav", makeHarness, AudioFormat::Wav}, {"Mp3", makeHarness, AudioFormat::Mp3}};
}

inline std::string contractCaseName(const ::testing::TestParamInfo<PlayerContractCase>& info)
{
    return info.param.name;
}

class MediaPlayerContract : public ::testing::TestWithParam<PlayerContractCase> {
protected:
    // Generous for a real player on a busy machine; a simulated one needs none.
    static constexpr int kLoadTimeoutMs = 8000;
    static constexpr int kSlackMs = 4000;
    static constexpr double kSeekTolerance = 0.020;
    // An MP3's length reads up to a few frames (of 26 ms at 22 kHz) long.
    static constexpr double kDurationTolerance = 0.1;

    void SetUp() override
    {
        m_harness = GetParam().makeHarness();
        if (!m_harness->supports(GetParam().format))
            GTEST_SKIP() << "this machine cannot make files of this format (lame missing)";
    }

    MediaPlayer& player() { return m_harness->player(); }
    PlayerHarness& harness() { return *m_harness; }
    std::string file(double seconds) { return m_harness->audioFile(GetParam().format, seconds); }

    bool isOpen() { return player().openState() == MediaPlayer::kOpenStateMediaOpen; }

    // Sets the URL and waits for the file to open; false when it does not.
    bool open(const std::string& path)
    {
        player().setUrl(path);
        return m_harness->waitUntil([this] { return isOpen(); }, kLoadTimeoutMs);
    }

    // Plays until the position has reached `seconds`.
    bool playTo(double seconds)
    {
        player().play();
        return m_harness->waitUntil([this, seconds] { return player().position() >= seconds; },
                                    static_cast<int>(seconds * 1000) + kSlackMs);
    }

    // Lets `ms` pass while checking that every position read lies in
    // [from - tolerance, from + elapsed x rate + lead]: nothing stale from before
    // a load or seek, no jump ahead.
    ::testing::AssertionResult positionsFollowOn(double from, double rate, int ms, double lead = 0.25)
    {
        const std::int64_t start = m_harness->nowMs();
        std::string fault;
        m_harness->waitUntil(
            [&] {
                const double elapsed = static_cast<double>(m_harness->nowMs() - start) / 1000.0;
                const double position = player().position();
                if (position < from - kSeekTolerance || position > from + elapsed * rate + lead) {
                    fault = "position " + std::to_string(position) + " after " + std::to_string(elapsed) +
                            " s, from " + std::to_string(from);
                    return true;
                }
                return elapsed * 1000 >= ms;
            },
            ms + kSlackMs);
        if (!fault.empty())
            return ::testing::AssertionFailure() << fault;
        return ::testing::AssertionSuccess();
    }

    // Loads `path`, expecting it to fail: one error event, one error counted, and
    // a player that still plays the next file.
    void expectLoadFails(const std::string& path)
    {
        int events = 0;
        int countSeen = -1;
        player().setErrorHandler([&] {
            ++events;
            countSeen = player().errorCount();
        });
        player().setUrl(path);
        player().setPosition(0.5);
        player().play();
        EXPECT_EQ(events, 0);  // never from inside the call
        ASSERT_TRUE(harness().waitUntil([&] { return events > 0; }, kLoadTimeoutMs));
        harness().wait(200);
        EXPECT_EQ(events, 1);
        EXPECT_EQ(countSeen, 1);
        EXPECT_EQ(player().errorCount(), 1);
        // How a failed file looks: closed, not playing, while the URL still names it.
        EXPECT_EQ(player().openState(), MediaPlayer::kOpenStateClosed);
        EXPECT_EQ(player().playState(), MediaPlayer::kUndefined);
        EXPECT_EQ(player().url(), path);
        player().play();
        harness().wait(100);
        EXPECT_EQ(player().playState(), MediaPlayer::kUndefined);

        // Set again, the file is tried again (and fails again), not taken as loaded.
        player().setUrl(path);
        ASSERT_TRUE(harness().waitUntil([&] { return events > 1; }, kLoadTimeoutMs));
        EXPECT_EQ(player().errorCount(), 2);
        EXPECT_EQ(player().openState(), MediaPlayer::kOpenStateClosed);
        player().setErrorHandler(nullptr);
        player().clearErrors();
        EXPECT_EQ(player().errorCount(), 0);

        ASSERT_TRUE(open(file(1.0)));
        EXPECT_TRUE(playTo(0.2));
        EXPECT_EQ(player().errorCount(), 0);
    }

private:
    std::unique_ptr<PlayerHarness> m_harness;
};

TEST_P(MediaPlayerContract, OpensAFilePausedAtItsStartAndReportsItsDuration)
{
    const std::string path = file(2.5);
    ASSERT_TRUE(open(path));
    EXPECT_EQ(player().url(), path);
    EXPECT_NEAR(player().duration(), 2.5, kDurationTolerance);
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);
    EXPECT_NEAR(player().position(), 0.0, kSeekTolerance);
    harness().wait(200);
    EXPECT_NEAR(player().position(), 0.0, kSeekTolerance);
}

TEST_P(MediaPlayerContract, PositionAndPlayRightAfterSetUrlActOnTheNewFile)
{
    ASSERT_TRUE(open(file(4.0)));
    player().setPosition(3.0);
    ASSERT_TRUE(playTo(3.1));

    const std::string next = file(3.0);
    player().setUrl(next);
    player().setPosition(1.0);
    player().play();
    // Asked for, reported at once: never the position of the file before.
    EXPECT_DOUBLE_EQ(player().position(), 1.0);
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    EXPECT_TRUE(positionsFollowOn(1.0, 1.0, 500));

    ASSERT_TRUE(harness().waitUntil([this] { return isOpen() && player().position() > 1.1; }, kLoadTimeoutMs));
    EXPECT_EQ(player().url(), next);
    EXPECT_NEAR(player().duration(), 3.0, kDurationTolerance);
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
}

TEST_P(MediaPlayerContract, ASeekLandsWithin20MillisecondsOfItsTarget)
{
    ASSERT_TRUE(open(file(4.0)));
    for (const double target : {1.234, 3.5, 0.01, 2.0, 0.0}) {
        player().setPosition(target);
        EXPECT_NEAR(player().position(), target, kSeekTolerance) << "asked " << target;
        harness().wait(150);
        EXPECT_NEAR(player().position(), target, kSeekTolerance) << "asked " << target;
    }
}

TEST_P(MediaPlayerContract, ASeekWhilePlayingGoesOnFromTheTarget)
{
    ASSERT_TRUE(open(file(4.0)));
    ASSERT_TRUE(playTo(0.3));
    player().setPosition(2.5);
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    EXPECT_TRUE(positionsFollowOn(2.5, 1.0, 400));
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    EXPECT_GT(player().position(), 2.6);

    player().setPosition(0.5);  // backwards too
    EXPECT_TRUE(positionsFollowOn(0.5, 1.0, 300));
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
}

TEST_P(MediaPlayerContract, ASeekWhilePausedStaysPaused)
{
    ASSERT_TRUE(open(file(3.0)));
    player().setPosition(1.5);
    harness().wait(300);
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);
    EXPECT_NEAR(player().position(), 1.5, kSeekTolerance);

    ASSERT_TRUE(playTo(1.7));
    player().pause();
    player().setPosition(0.4);
    harness().wait(300);
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);
    EXPECT_NEAR(player().position(), 0.4, kSeekTolerance);
}

TEST_P(MediaPlayerContract, PauseKeepsThePositionAndPlayGoesOnFromIt)
{
    ASSERT_TRUE(open(file(3.0)));
    ASSERT_TRUE(playTo(0.5));
    player().pause();
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);
    harness().wait(50);
    const double paused = player().position();
    EXPECT_GE(paused, 0.5 - kSeekTolerance);
    harness().wait(400);
    EXPECT_NEAR(player().position(), paused, 0.005);
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);

    player().play();
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    EXPECT_TRUE(positionsFollowOn(paused, 1.0, 400));
    EXPECT_GT(player().position(), paused + 0.1);
}

// The end of a file reads as media ended (8) while the player stands there;
// moved away by a seek it reads as stopped (1). Either waits for play.
TEST_P(MediaPlayerContract, TheEndOfTheFileEndsThePlayerUntilPlay)
{
    ASSERT_TRUE(open(file(1.5)));
    const double length = player().duration();
    player().setPosition(0.9);
    player().play();
    ASSERT_TRUE(
        harness().waitUntil([this] { return player().playState() == MediaPlayer::kMediaEnded; }, 1500 + kSlackMs));
    EXPECT_NEAR(player().position(), length, 0.05);
    EXPECT_TRUE(isOpen());

    harness().wait(300);
    player().pause();
    EXPECT_EQ(player().playState(), MediaPlayer::kMediaEnded);
    EXPECT_NEAR(player().position(), length, 0.05);

    // A seek leaves it stopped; play then plays on from the new position.
    player().setPosition(0.8);
    EXPECT_EQ(player().playState(), MediaPlayer::kStopped);
    harness().wait(200);
    player().pause();
    EXPECT_EQ(player().playState(), MediaPlayer::kStopped);
    EXPECT_NEAR(player().position(), 0.8, kSeekTolerance);
    player().play();
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    EXPECT_TRUE(positionsFollowOn(0.8, 1.0, 300));
    ASSERT_TRUE(
        harness().waitUntil([this] { return player().playState() == MediaPlayer::kMediaEnded; }, 1500 + kSlackMs));
    EXPECT_NEAR(player().position(), length, 0.05);

    // Play at the very end has nothing left to play: ended again.
    player().play();
    EXPECT_TRUE(harness().waitUntil([this] { return player().playState() == MediaPlayer::kMediaEnded; }, kSlackMs));
    EXPECT_NEAR(player().position(), length, 0.05);
}

// A clip may begin past the real end of its file (a file cut short, an MP3
// whose length was only estimated): the player ends there as at any end.
TEST_P(MediaPlayerContract, ASeekPastTheEndEndsThePlayerAtTheEnd)
{
    ASSERT_TRUE(open(file(1.5)));
    const double length = player().duration();
    ASSERT_TRUE(playTo(0.2));
    player().setPosition(30.0);
    ASSERT_TRUE(harness().waitUntil([this] { return player().playState() == MediaPlayer::kMediaEnded; }, kSlackMs));
    harness().wait(200);
    EXPECT_EQ(player().playState(), MediaPlayer::kMediaEnded);
    EXPECT_NEAR(player().position(), length, 0.05);

    // Paused, it waits at the end; play then has nothing left to play.
    player().setPosition(0.5);
    ASSERT_TRUE(playTo(0.6));
    player().pause();
    player().setPosition(30.0);
    harness().wait(300);
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);
    EXPECT_NEAR(player().position(), length, 0.05);
    player().play();
    EXPECT_TRUE(harness().waitUntil([this] { return player().playState() == MediaPlayer::kMediaEnded; }, kSlackMs));
}

TEST_P(MediaPlayerContract, ThePositionGrowsAtTheRateSet)
{
    ASSERT_TRUE(open(file(6.0)));
    // 2.0 and 0.6 end the steps of the speed keys; 3.0 and 0.5 with "Bis dreifach".
    for (const double rate : {3.0, 2.0, 0.6, 0.5}) {
        player().setRate(rate);
        EXPECT_DOUBLE_EQ(player().rate(), rate);
        player().setPosition(0.0);
        ASSERT_TRUE(playTo(0.3)) << "rate " << rate;
        const std::int64_t startMs = harness().nowMs();
        const double startPosition = player().position();
        harness().wait(1000);
        const double seconds = static_cast<double>(harness().nowMs() - startMs) / 1000.0;
        const double played = player().position() - startPosition;
        EXPECT_NEAR(played / seconds, rate, rate * 0.15) << "rate " << rate;
        player().pause();
    }
}

TEST_P(MediaPlayerContract, RateAndVolumeHoldAcrossFiles)
{
    player().setRate(1.4);
    player().setVolume(30);
    ASSERT_TRUE(open(file(1.0)));
    EXPECT_DOUBLE_EQ(player().rate(), 1.4);
    EXPECT_EQ(player().volume(), 30);
    ASSERT_TRUE(open(file(1.2)));
    EXPECT_DOUBLE_EQ(player().rate(), 1.4);
    EXPECT_EQ(player().volume(), 30);
}

TEST_P(MediaPlayerContract, VolumeIsHeldToZeroToAHundred)
{
    player().setVolume(150);
    EXPECT_EQ(player().volume(), 100);
    player().setVolume(-20);
    EXPECT_EQ(player().volume(), 0);
    ASSERT_TRUE(open(file(1.0)));
    player().setVolume(37);
    EXPECT_EQ(player().volume(), 37);
    player().setVolume(110);
    EXPECT_EQ(player().volume(), 100);
}

TEST_P(MediaPlayerContract, ARateThatIsNotAPositiveNumberIsIgnored)
{
    player().setRate(1.6);
    for (const double bad : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()})
        player().setRate(bad);
    EXPECT_DOUBLE_EQ(player().rate(), 1.6);
}

TEST_P(MediaPlayerContract, APositionBeforeTheStartCountsAsTheStart)
{
    ASSERT_TRUE(open(file(2.0)));
    player().setPosition(1.0);
    harness().wait(100);
    player().setPosition(-3.0);
    harness().wait(150);
    EXPECT_NEAR(player().position(), 0.0, kSeekTolerance);
}

TEST_P(MediaPlayerContract, AnEmptyUrlUnloadsTheFile)
{
    ASSERT_TRUE(open(file(3.0)));
    ASSERT_TRUE(playTo(0.2));
    player().setUrl("");
    EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
    EXPECT_EQ(player().url(), "");
    EXPECT_NE(player().playState(), MediaPlayer::kPlaying);
    EXPECT_DOUBLE_EQ(player().duration(), 0.0);
    harness().wait(300);
    EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
    EXPECT_NE(player().playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(player().errorCount(), 0);

    // Play and seek with nothing loaded do nothing.
    player().play();
    player().setPosition(1.0);
    harness().wait(100);
    EXPECT_NE(player().playState(), MediaPlayer::kPlaying);
    EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
}

TEST_P(MediaPlayerContract, AMissingFileRaisesOneErrorAndCountsIt)
{
    expectLoadFails(harness().missingFile());
}

TEST_P(MediaPlayerContract, ACorruptFileRaisesOneErrorAndCountsIt)
{
    expectLoadFails(harness().corruptFile());
}

}  // namespace korvin::test
