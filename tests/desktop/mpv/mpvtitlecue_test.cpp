// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvtitlecue.h"

#include "desktop/mpv/mpvlibrary.h"
#include "desktop/mpv/mpvplayer.h"
#include "hostilemedia.h"
#include "support/audiofiles.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <chrono>

namespace korvin::test {
namespace {

// Wall-clock seconds a call of the cue took.
template <typename Call>
double secondsOf(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class MpvTitleCueTest : public ::testing::Test {
protected:
    std::string wav(const std::string& name, double seconds)
    {
        const auto file = folder.path() / name;
        writeToneWav(file, seconds);
        return file.string();
    }

    TempDir folder;
    MpvLibrary library;
    MpvTitleCue cue{library};
};

TEST_F(MpvTitleCueTest, ReturnsWhenTheRangeHasBeenPlayed)
{
    const std::string file = wav("a.wav", 3.0);
    const double seconds = secondsOf([&] { cue.playRange(file, 1000); });
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 2.5);
}

TEST_F(MpvTitleCueTest, AFileShorterThanTheRangeEndsItEarly)
{
    const std::string file = wav("short.wav", 0.5);
    const double seconds = secondsOf([&] { cue.playRange(file, 4000); });
    EXPECT_GT(seconds, 0.35);
    EXPECT_LT(seconds, 2.0);
}

TEST_F(MpvTitleCueTest, PlaysAnMp3Range)
{
    if (lameProgram().empty())
        GTEST_SKIP() << "lame is not installed";
    const std::string file = wav("b.wav", 2.0);
    const std::string mp3 = (folder.path() / "b.mp3").string();
    ASSERT_TRUE(encodeMp3(file, mp3));
    const double seconds = secondsOf([&] { cue.playRange(mp3, 700); });
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 2.2);
}

TEST_F(MpvTitleCueTest, ReturnsAtOnceForAMissingOrCorruptFile)
{
    const std::string corrupt = folder.write("corrupt.mp3", std::string(5000, '\x5A')).string();
    // Half the range: a loaded machine may be slow to give up, but a cue that
    // waited for the range would take all five seconds.
    EXPECT_LT(secondsOf([&] { cue.playRange((folder.path() / "missing.mp3").string(), 5000); }), 2.5);
    EXPECT_LT(secondsOf([&] { cue.playRange(corrupt, 5000); }), 2.5);
}

TEST_F(MpvTitleCueTest, ReturnsAtOnceForAnEmptyRangeOrPath)
{
    const std::string file = wav("a.wav", 2.0);
    EXPECT_LT(secondsOf([&] { cue.playRange(file, 0); }), 0.2);
    EXPECT_LT(secondsOf([&] { cue.playRange(file, -5); }), 0.2);
    EXPECT_LT(secondsOf([&] { cue.playRange("", 1000); }), 0.2);
}

TEST_F(MpvTitleCueTest, LeavesTheMainPlayerAsItWas)
{
    MpvPlayer player(library);
    player.setUrl(wav("book.wav", 3.0));
    player.setPosition(1.0);
    const QDeadlineTimer deadline(8000);
    while (player.openState() != MediaPlayer::kOpenStateMediaOpen || player.isSettling()) {
        ASSERT_FALSE(deadline.hasExpired());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    cue.playRange(wav("cue.wav", 1.0), 400);
    QCoreApplication::processEvents();

    EXPECT_EQ(player.openState(), MediaPlayer::kOpenStateMediaOpen);
    EXPECT_EQ(player.playState(), MediaPlayer::kPaused);
    EXPECT_NEAR(player.position(), 1.0, 0.02);
    EXPECT_EQ(player.errorCount(), 0);
}

TEST_F(MpvTitleCueTest, AFileNamingOtherMediaEndsTheCueAtOnceAndNothingIsReached)
{
    LoopbackListener listener;
    ASSERT_TRUE(listener.isListening());
    for (const HostileMedium& medium : writeHostileMedia(folder, listener.port(), wav("local.wav", 3.0))) {
        SCOPED_TRACE(medium.name);
        // Following the reference would play the local file's three seconds.
        EXPECT_LT(secondsOf([&] { cue.playRange(medium.path, 3000); }), 2.0);
        EXPECT_EQ(listener.connectionsReceived(), 0);
    }
}

}  // namespace
}  // namespace korvin::test
