// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvplayer.h"

#include "desktop/mpv/mpvlibrary.h"
#include "desktop/mpv/mpvtitlecue.h"
#include "hostilemedia.h"
#include "platform/mediaplayercontract.h"
#include "support/audiofiles.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace korvin::test {
namespace {

// Runs the Qt event loop (which delivers libmpv's events) until `condition`
// holds or `timeoutMs` of wall time have passed.
bool processEventsUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    // Wakes the loop every millisecond so that conditions on the position are seen.
    QTimer tick;
    tick.start(1);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class Mpv final : public PlayerHarness {
public:
    MediaPlayer& player() override { return m_player; }
    MpvPlayer& mpv() { return m_player; }
    const TempDir& folder() const { return m_folder; }

    bool supports(AudioFormat format) override
    {
        return format == AudioFormat::Wav || !lameProgram().empty();
    }

    std::string audioFile(AudioFormat format, double seconds) override
    {
        const auto stem = m_folder.path() / ("tone" + std::to_string(++m_files));
        const auto wav = stem.string() + ".wav";
        writeToneWav(wav, seconds);
        if (format == AudioFormat::Wav)
            return wav;
        const auto mp3 = stem.string() + ".mp3";
        return encodeMp3(wav, mp3) ? mp3 : std::string();
    }

    std::string missingFile() override { return (m_folder.path() / "missing.mp3").string(); }

    std::string corruptFile() override
    {
        std::mt19937 random(7);
        std::string noise(20000, '\0');
        for (char& byte : noise)
            byte = static_cast<char>(random() & 0xFF);
        return m_folder.write("corrupt.mp3", noise).string();
    }

    std::int64_t nowMs() override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void wait(int ms) override { processEventsUntil([] { return false; }, ms); }

    bool waitUntil(const std::function<bool()>& condition, int timeoutMs) override
    {
        return processEventsUntil(condition, timeoutMs);
    }

private:
    TempDir m_folder;  // outlives the player
    MpvLibrary m_library;
    MpvPlayer m_player{m_library};
    int m_files = 0;
};

INSTANTIATE_TEST_SUITE_P(Mpv, MediaPlayerContract,
                         ::testing::ValuesIn(contractCases([] { return std::make_unique<Mpv>(); })),
                         contractCaseName);

class MpvPlayerTest : public ::testing::Test {
protected:
    static constexpr int kTimeoutMs = 8000;

    MpvPlayer& player() { return m_mpv.mpv(); }
    std::string wav(double seconds) { return m_mpv.audioFile(AudioFormat::Wav, seconds); }
    bool waitUntil(const std::function<bool()>& condition) { return m_mpv.waitUntil(condition, kTimeoutMs); }
    bool isOpen() { return player().openState() == MediaPlayer::kOpenStateMediaOpen; }

    Mpv m_mpv;
};

TEST_F(MpvPlayerTest, StartsItsLibmpvInstance)
{
    EXPECT_TRUE(player().isAvailable());
}

// libmpv starts with the first file, not with the player: what was set before
// is handed over then, and what was not comes from libmpv's start (which the
// environment may change).
TEST(MpvPlayerStart, RateAndVolumeSetBeforeLibmpvStartsAreKept)
{
    struct Case {
        const char* name;
        const char* environment;  // added to KORVIN_MPV_OPTIONS
        double setRate;           // 0: not set
        int setVolume;            // -1: not set
        double rateBefore, rateAfter;
        int volumeBefore, volumeAfter;
    };
    const Case cases[] = {
        {"nothing set", "", 0, -1, 1.0, 1.0, 100, 100},
        {"both set", "", 1.5, 40, 1.5, 1.5, 40, 40},
        {"the environment's values", ",speed=1.25,volume=30", 0, -1, 1.0, 1.25, 100, 30},
        {"set values over the environment's", ",speed=1.25,volume=30", 1.0, 100, 1.0, 1.0, 100, 100},
        {"clamped before the start", "", 500.0, 250, 100.0, 100.0, 100, 100},
    };
    const char* saved = std::getenv("KORVIN_MPV_OPTIONS");
    const std::string before = saved ? saved : "ao=null";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::setenv("KORVIN_MPV_OPTIONS", (before + c.environment).c_str(), 1);
        TempDir folder;
        const std::string file = (folder.path() / "tone.wav").string();
        writeToneWav(file, 1.0);
        MpvLibrary library;
        MpvPlayer player(library);
        if (c.setRate > 0)
            player.setRate(c.setRate);
        if (c.setVolume >= 0)
            player.setVolume(c.setVolume);
        EXPECT_DOUBLE_EQ(player.rate(), c.rateBefore);
        EXPECT_EQ(player.volume(), c.volumeBefore);
        player.setUrl(file);  // libmpv starts here
        EXPECT_DOUBLE_EQ(player.rate(), c.rateAfter);
        EXPECT_EQ(player.volume(), c.volumeAfter);
        EXPECT_TRUE(processEventsUntil([&] { return player.openState() == MediaPlayer::kOpenStateMediaOpen; }, 8000));
    }
    ::setenv("KORVIN_MPV_OPTIONS", before.c_str(), 1);
}

// The window starts loading libmpv in the background once it is active; a
// book the listener starts before that load ends must play all the same, from
// where it was asked to, and so must the title cue's range. Whether the load
// has ended by then or not, the outcome is the same.
TEST(MpvPlayerStart, WhatIsAskedForWhileLibmpvLoadsIsCarriedOut)
{
    for (const bool background : {false, true}) {
        SCOPED_TRACE(background ? "load begun in the background" : "load begun by the first file");
        TempDir folder;
        const std::string file = (folder.path() / "tone.wav").string();
        writeToneWav(file, 3.0);
        MpvLibrary library;
        if (background)
            library.loadInBackground();
        MpvPlayer player(library);
        MpvTitleCue cue(library);
        player.setUrl(file);
        player.setPosition(1.5);
        player.play();
        EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
        EXPECT_TRUE(processEventsUntil([&] { return !player.isSettling(); }, 8000));
        EXPECT_EQ(player.openState(), MediaPlayer::kOpenStateMediaOpen);
        EXPECT_EQ(player.errorCount(), 0);
        EXPECT_TRUE(processEventsUntil([&] { return player.position() > 1.6; }, 8000));
        EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
        cue.playRange(file, 50);  // returns once played, after the same load
    }
}

TEST_F(MpvPlayerTest, ReportsWhatWasAskedForUntilTheLoadHasLanded)
{
    player().setUrl(wav(3.0));
    player().setPosition(1.25);
    player().play();
    EXPECT_TRUE(player().isSettling());
    EXPECT_EQ(player().openState(), MpvPlayer::kOpenStateOpening);
    EXPECT_DOUBLE_EQ(player().position(), 1.25);
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    EXPECT_DOUBLE_EQ(player().duration(), 0.0);

    ASSERT_TRUE(waitUntil([this] { return !player().isSettling(); }));
    EXPECT_TRUE(isOpen());
    EXPECT_NEAR(player().position(), 1.25, 0.05);
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
}

TEST_F(MpvPlayerTest, TheLastPositionSetWhileLoadingWins)
{
    // As a bookmark jump does: the phrase start seeks, then the bookmark's own
    // position follows, after the load has been sent.
    player().setUrl(wav(4.0));
    player().setPosition(1.0);
    player().play();
    QCoreApplication::processEvents();  // the load leaves with start=1.0
    player().setPosition(2.5);
    std::vector<double> seen;
    ASSERT_TRUE(waitUntil([&] {
        seen.push_back(player().position());
        return !player().isSettling();
    }));
    for (const double position : seen)
        ASSERT_NEAR(position, 2.5, 0.02);
    EXPECT_TRUE(waitUntil([this] { return player().position() > 2.6; }));
    EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
}

TEST_F(MpvPlayerTest, SeeksInQuickSuccessionLandOnTheLast)
{
    player().setUrl(wav(4.0));
    ASSERT_TRUE(waitUntil([this] { return isOpen() && !player().isSettling(); }));
    for (const double target : {1.0, 3.0, 2.0, 0.5, 1.75})
        player().setPosition(target);
    std::vector<double> seen;
    ASSERT_TRUE(waitUntil([&] {
        seen.push_back(player().position());
        return !player().isSettling();
    }));
    for (const double position : seen)
        ASSERT_DOUBLE_EQ(position, 1.75);
    m_mpv.wait(100);
    EXPECT_NEAR(player().position(), 1.75, 0.02);
    EXPECT_EQ(player().playState(), MediaPlayer::kPaused);
}

TEST_F(MpvPlayerTest, ASecondUrlSetWhileTheFirstLoadsIsTheOneOpened)
{
    player().setUrl(wav(1.0));
    QCoreApplication::processEvents();  // the first load has left
    const std::string second = wav(2.0);
    player().setUrl(second);
    ASSERT_TRUE(waitUntil([this] { return isOpen() && !player().isSettling(); }));
    EXPECT_EQ(player().url(), second);
    EXPECT_NEAR(player().duration(), 2.0, 0.02);
    EXPECT_EQ(player().errorCount(), 0);
}

TEST_F(MpvPlayerTest, RaisesErrorsOnTheUiThreadFromTheEventLoop)
{
    QThread* handlerThread = nullptr;
    bool insideSetUrl = false;
    bool calledInsideSetUrl = false;
    player().setErrorHandler([&] {
        handlerThread = QThread::currentThread();
        calledInsideSetUrl = insideSetUrl;
    });
    insideSetUrl = true;
    player().setUrl(m_mpv.missingFile());
    insideSetUrl = false;
    ASSERT_TRUE(waitUntil([&] { return handlerThread != nullptr; }));
    EXPECT_EQ(handlerThread, QCoreApplication::instance()->thread());
    EXPECT_FALSE(calledInsideSetUrl);
}

TEST_F(MpvPlayerTest, NeverPlaysWhatAPlaylistFilePointsTo)
{
    // A text file that libmpv would read as a playlist, naming a playable file.
    const std::string target = wav(3.0);
    const auto list = m_mpv.folder().write("list.mp3", "#EXTM3U\n" + target + "\n");
    int events = 0;
    player().setErrorHandler([&] { ++events; });
    player().setUrl(list.string());
    player().play();
    ASSERT_TRUE(waitUntil([&] { return events > 0; }));
    m_mpv.wait(400);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(player().errorCount(), 1);
    EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
    EXPECT_NE(player().playState(), MediaPlayer::kPlaying);
}

TEST_F(MpvPlayerTest, AFileNamingOtherMediaIsAnErrorAndNothingIsReached)
{
    LoopbackListener listener;
    ASSERT_TRUE(listener.isListening());
    int events = 0;
    player().setErrorHandler([&] { ++events; });
    for (const HostileMedium& medium : writeHostileMedia(m_mpv.folder(), listener.port(), wav(2.0))) {
        SCOPED_TRACE(medium.name);
        events = 0;
        player().clearErrors();
        player().setUrl(medium.path);
        player().play();
        EXPECT_TRUE(waitUntil([&] { return events > 0 || isOpen(); }));
        m_mpv.wait(300);
        EXPECT_EQ(listener.connectionsReceived(), 0);
        EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
        EXPECT_EQ(events, 1);
        EXPECT_EQ(player().errorCount(), 1);
    }
}

TEST_F(MpvPlayerTest, AFolderIsAnErrorNotAPlaylist)
{
    std::filesystem::create_directories(m_mpv.folder().path() / "folder");
    std::filesystem::copy_file(wav(1.0), m_mpv.folder().path() / "folder" / "a.wav");
    player().setUrl((m_mpv.folder().path() / "folder").string());
    ASSERT_TRUE(waitUntil([this] { return player().errorCount() > 0; }));
    m_mpv.wait(300);
    EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
}

TEST_F(MpvPlayerTest, ReadsARelativePathAsAFileEvenWhenItLooksLikeStandardInput)
{
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(m_mpv.folder().path());
    writeToneWav("-", 1.5);
    player().setUrl("-");
    const bool opened = waitUntil([this] { return isOpen() || player().errorCount() > 0; });
    std::filesystem::current_path(here);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(isOpen());
    EXPECT_NEAR(player().duration(), 1.5, 0.02);
}

TEST_F(MpvPlayerTest, UnloadingWhileALoadIsPendingLeavesNothingOpen)
{
    int events = 0;
    player().setErrorHandler([&] { ++events; });
    player().setUrl(wav(2.0));
    player().play();
    QCoreApplication::processEvents();
    player().setUrl("");
    m_mpv.wait(500);
    EXPECT_NE(player().openState(), MediaPlayer::kOpenStateMediaOpen);
    EXPECT_EQ(player().playState(), MediaPlayer::kUndefined);
    EXPECT_DOUBLE_EQ(player().position(), 0.0);
    EXPECT_EQ(events, 0);
}

// Without its length header libmpv can only estimate a VBR file's length from
// its first frames: here a loud second before long silence makes it far too short.
TEST_F(MpvPlayerTest, SeeksExactlyInAVariableBitrateMp3WithoutASeekTable)
{
    const auto folder = m_mpv.folder().path();
    std::vector<double> tones(30, 0.0);
    tones[0] = 440.0;
    writeToneSequenceWav(folder / "vbr.wav", tones, 1.0);
    if (!encodeVbrMp3WithoutSeekTable(folder / "vbr.wav", folder / "vbr.mp3"))
        GTEST_SKIP() << "lame is missing";
    player().setUrl((folder / "vbr.mp3").string());
    ASSERT_TRUE(waitUntil([this] { return isOpen(); }));
    player().play();
    for (const double target : {20.0, 8.5, 27.25}) {
        player().setPosition(target);
        const auto asked = std::chrono::steady_clock::now();
        ASSERT_TRUE(waitUntil([this] { return !player().isSettling(); })) << target;
        const double since = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        EXPECT_GE(player().position(), target - 0.05) << "libmpv estimates " << player().duration() << " s";
        EXPECT_LE(player().position(), target + since + 0.05);
        EXPECT_EQ(player().playState(), MediaPlayer::kPlaying);
    }
}

}  // namespace
}  // namespace korvin::test
