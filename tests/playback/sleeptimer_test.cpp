// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/sleeptimer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "library/resumefile.h"
#include "library/settings.h"
#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

constexpr int kSecond = 1000;
constexpr int kMinute = 60 * kSecond;

class SleepTimerTest : public ::testing::Test {
protected:
    void open(const std::vector<test::TimedHeading>& headings, bool autoPlay = false)
    {
        std::filesystem::remove(m_harness.home() + "/AResume.dl");
        test::openTimedBook(m_book, m_harness, headings, {.autoPlay = autoPlay});
    }
    void openLong() { open({{1, "Eins", {{"a.mp3", 0, 1500}, {"a.mp3", 1500, 3000}}}}); }
    MainController& controller() { return m_harness.controller(); }
    void choose(int command) { controller().command(command); }
    std::optional<ResumeRecord> saved()
    {
        return ResumeFile(m_harness.home() + "/AResume.dl", Scrambler()).find(controller().state().bookInfo);
    }
    int savedVolume() { return SettingsFile(m_harness.home() + "/Settings.dl", Scrambler()).read()->volume; }
    // The player's state and volume, and the listener's volume setting.
    void expect(bool playing, int playerVolume, int setting = 50)
    {
        EXPECT_EQ(m_harness.player.playState(), playing ? MediaPlayer::kPlaying : MediaPlayer::kPaused);
        EXPECT_EQ(m_harness.player.volume(), playerVolume);
        EXPECT_EQ(controller().settings().volume, setting);
    }

    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

TEST_F(SleepTimerTest, RunsOutFadesPausesSavesThePlaceAsAtExitAndGivesBackTheVolume)
{
    openLong();
    choose(cmd::kSleepTimer15);
    EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimer15));
    int now = 0;
    // The poll copies the player's volume into the setting; the faded one never.
    for (const auto& [at, playing, volume] :
         {std::tuple{15 * kMinute - 50, true, 50}, std::tuple{15 * kMinute + 2550, true, 37},
          std::tuple{15 * kMinute + 9950, true, 0}, std::tuple{15 * kMinute + 10050, false, 50}}) {
        m_harness.advance(at - now);
        now = at;
        expect(playing, volume);
    }
    EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimerOff));
    // Saved at once: a night that ends otherwise loses nothing.
    ASSERT_TRUE(saved());
    EXPECT_EQ(*saved(), (ResumeRecord{"0", "910.000", "0"}));
    EXPECT_EQ(m_harness.lastBookFile(), m_book.folder());
    EXPECT_EQ(savedVolume(), 50);
    m_harness.advance(20 * kMinute);
    expect(false, 50);
}

// Only playing counts; another choice replaces the timer, "Aus" ends a fade at
// once, and play commands leave it running.
TEST_F(SleepTimerTest, PausesHoldItAnotherChoiceReplacesItAndOffEndsAFade)
{
    openLong();
    choose(cmd::kSleepTimer15);
    m_harness.advance(5 * kMinute);
    choose(cmd::kPauseContinue);
    m_harness.advance(30 * kMinute);
    choose(cmd::kPauseContinue);
    m_harness.advance(9 * kMinute);
    expect(true, 50);
    choose(cmd::kSleepTimer30);
    m_harness.advance(16 * kMinute);
    expect(true, 50);
    choose(cmd::kSleepTimer15);
    m_harness.advance(15 * kMinute + 5 * kSecond + 50);
    expect(true, 25);
    choose(cmd::kPhraseBack);  // a seek of the engine keeps the fade
    expect(true, 25);
    choose(cmd::kSleepTimerOff);
    expect(true, 50);
    m_harness.advance(kMinute);
    expect(true, 50);
    EXPECT_FALSE(saved());
}

// The volume keys during the fade change the listener's own volume; an exit
// then keeps theirs, never the faded one; the next start has no timer.
TEST_F(SleepTimerTest, TheVolumeKeysDuringTheFadeAndAnExitKeepTheListenersOwnVolume)
{
    openLong();
    choose(cmd::kSleepTimer15);
    m_harness.advance(15 * kMinute + 5 * kSecond + 50);
    choose(cmd::kVolumeUp);
    expect(true, 30, 60);
    m_harness.advance(kSecond);
    expect(true, 24, 60);
    choose(cmd::kExit);
    EXPECT_EQ(savedVolume(), 60);
    m_harness.restart();
    EXPECT_EQ(m_harness.player.volume(), 60);
    EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimerOff));
}

// "Ende der Überschrift": the heading's last ten seconds fade; the book pauses
// where the engine goes at the heading's end, and that place is saved.
TEST_F(SleepTimerTest, AtTheEndOfTheHeadingTheBookPausesWhereItWouldGoOn)
{
    for (const auto& [autoPlay, place] :
         {std::pair{true, ResumeRecord{"1", "0.000", "2"}}, std::pair{false, ResumeRecord{"0", "0.000", "0"}}}) {
        SCOPED_TRACE(autoPlay);
        open({{1, "Eins", {{"a.mp3", 0, 15}, {"a.mp3", 15, 30}}}, {1, "Zwei", {{"b.mp3", 0, 30}}}}, autoPlay);
        choose(cmd::kSleepTimerEndOfHeading);
        m_harness.advance(19 * kSecond + 950);
        expect(true, 50);
        m_harness.advance(5 * kSecond);
        expect(true, 25);
        m_harness.advance(5 * kSecond + 500);
        expect(false, 50);
        EXPECT_EQ(controller().tables().tree.selectedItem(), autoPlay ? 1 : 0);
        EXPECT_EQ(saved(), place);
        EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimerOff));
    }
}

}  // namespace
}  // namespace korvin
