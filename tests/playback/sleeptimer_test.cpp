#include "playback/sleeptimer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "library/resumefile.h"
#include "library/scrambler.h"
#include "library/settings.h"
#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TimedHeading;

constexpr int kSecond = 1000;
constexpr int kMinute = 60 * kSecond;

class SleepTimerTest : public ::testing::Test {
protected:
    void open(const std::vector<TimedHeading>& headings, bool autoPlay = false)
    {
        std::filesystem::remove(m_harness.home() + "/AResume.dl");
        test::openTimedBook(m_book, m_harness, headings, {.autoPlay = autoPlay});
        ASSERT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    }
    // A book of two long phrases and a short heading after them.
    void openLong()
    {
        open({{1, "Eins", {{"a.mp3", 0, 1000}, {"a.mp3", 1000, 2000}}}, {1, "Zwei", {{"b.mp3", 0, 30}}}});
    }
    MainController& controller() { return m_harness.controller(); }
    const Settings& settings() { return controller().settings(); }
    std::optional<ResumeRecord> saved()
    {
        return ResumeFile(m_harness.home() + "/AResume.dl", m_scrambler).find(controller().state().bookInfo);
    }
    std::optional<Settings> settingsFile()
    {
        return SettingsFile(m_harness.home() + "/Settings.dl", m_scrambler).read();
    }
    bool playing() { return m_harness.player.playState() == MediaPlayer::kPlaying; }

    Scrambler m_scrambler;
    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

// Fifteen minutes of playing, a fade of ten seconds, a pause; the place is
// saved as at exit and the player's volume is the listener's again.
TEST_F(SleepTimerTest, RunsOutFadesPausesSavesThePlaceAndRestoresTheVolume)
{
    openLong();
    controller().command(cmd::kSleepTimer15);
    EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimer15));
    EXPECT_FALSE(controller().menu().isChecked(cmd::kSleepTimerOff));
    struct Checkpoint {
        int at;  // milliseconds after the choice
        bool playing;
        int playerVolume;
    };
    int now = 0;
    for (const Checkpoint& c : {Checkpoint{15 * kMinute - 50, true, 50}, Checkpoint{15 * kMinute + 2550, true, 37},
                                Checkpoint{15 * kMinute + 5050, true, 25}, Checkpoint{15 * kMinute + 9950, true, 0},
                                Checkpoint{15 * kMinute + 10050, false, 50}}) {
        SCOPED_TRACE(c.at);
        m_harness.advance(c.at - now);
        now = c.at;
        EXPECT_EQ(playing(), c.playing);
        EXPECT_EQ(m_harness.player.volume(), c.playerVolume);
        // The poll never takes the faded volume for the listener's.
        EXPECT_EQ(settings().volume, 50);
    }
    EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimerOff));
    EXPECT_FALSE(controller().menu().isChecked(cmd::kSleepTimer15));
    EXPECT_TRUE(controller().playback().bookOpen);

    // Saved at that moment, before any exit: a night that ends otherwise loses nothing.
    const auto place = saved();
    ASSERT_TRUE(place);
    EXPECT_EQ(place->heading, "0");
    EXPECT_EQ(place->row, "0");
    EXPECT_EQ(place->position, "910.000");
    EXPECT_EQ(m_harness.lastBookFile(), m_book.folder());
    ASSERT_TRUE(settingsFile());
    EXPECT_EQ(settingsFile()->volume, 50);

    // It has run out: nothing more happens.
    m_harness.advance(20 * kMinute);
    EXPECT_FALSE(playing());
    EXPECT_EQ(m_harness.player.volume(), 50);
}

TEST_F(SleepTimerTest, OnlyTimeThatPlaysCounts)
{
    openLong();
    controller().command(cmd::kSleepTimer15);
    m_harness.advance(5 * kMinute);
    controller().command(cmd::kPauseContinue);
    m_harness.advance(30 * kMinute);
    controller().command(cmd::kPauseContinue);
    m_harness.advance(10 * kMinute);
    EXPECT_TRUE(playing());
    EXPECT_EQ(m_harness.player.volume(), 50);
    m_harness.advance(10 * kSecond + 50);
    EXPECT_FALSE(playing());
}

TEST_F(SleepTimerTest, AnotherChoiceReplacesTheTimerAndOffEndsAFadeAtOnce)
{
    openLong();
    controller().command(cmd::kSleepTimer30);
    m_harness.advance(16 * kMinute);
    controller().command(cmd::kSleepTimer15);  // fifteen minutes from now, not from the first choice
    m_harness.advance(14 * kMinute);
    EXPECT_TRUE(playing());
    m_harness.advance(kMinute + 5 * kSecond + 50);
    EXPECT_EQ(m_harness.player.volume(), 25);
    // Play commands leave it running.
    controller().command(cmd::kPhraseForward);
    EXPECT_EQ(m_harness.player.volume(), 25);  // the phrase's seek keeps the fade
    m_harness.advance(kSecond);
    EXPECT_EQ(m_harness.player.volume(), 20);
    controller().command(cmd::kSleepTimerOff);
    EXPECT_EQ(m_harness.player.volume(), 50);
    EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimerOff));
    m_harness.advance(kMinute);
    EXPECT_TRUE(playing());
    EXPECT_EQ(m_harness.player.volume(), 50);
    EXPECT_FALSE(saved());
}

// The listener who turns it up while it fades turns up their own volume; it is
// theirs that comes back, and theirs that the settings file keeps.
TEST_F(SleepTimerTest, TheVolumeKeysDuringTheFadeChangeTheListenersOwnVolume)
{
    openLong();
    controller().command(cmd::kSleepTimer15);
    m_harness.advance(15 * kMinute + 5 * kSecond + 50);
    ASSERT_EQ(m_harness.player.volume(), 25);
    controller().command(cmd::kVolumeUp);
    EXPECT_EQ(settings().volume, 60);
    EXPECT_EQ(m_harness.player.volume(), 30);
    m_harness.advance(kSecond);
    EXPECT_EQ(settings().volume, 60);
    EXPECT_EQ(m_harness.player.volume(), 24);
    m_harness.advance(5 * kSecond);
    EXPECT_FALSE(playing());
    EXPECT_EQ(m_harness.player.volume(), 60);
    EXPECT_EQ(settingsFile()->volume, 60);
}

TEST_F(SleepTimerTest, AnExitDuringTheFadeKeepsTheListenersVolume)
{
    openLong();
    controller().command(cmd::kSleepTimer15);
    m_harness.advance(15 * kMinute + 8 * kSecond);
    ASSERT_LT(m_harness.player.volume(), 20);
    controller().command(cmd::kExit);
    ASSERT_TRUE(settingsFile());
    EXPECT_EQ(settingsFile()->volume, 50);
    m_harness.restart();
    EXPECT_EQ(m_harness.player.volume(), 50);
    EXPECT_TRUE(m_harness.controller().menu().isChecked(cmd::kSleepTimerOff));  // not kept across starts
}

// "Ende der Überschrift": the heading's last ten seconds fade; the book stops
// where the engine goes at the heading's end, and that place is saved.
TEST_F(SleepTimerTest, AtTheEndOfTheHeadingTheBookPausesWhereItWouldGoOn)
{
    const std::vector<TimedHeading> book = {{1, "Eins", {{"a.mp3", 0, 15}, {"a.mp3", 15, 30}}},
                                            {1, "Zwei", {{"b.mp3", 0, 30}}}};
    struct Case {
        bool autoPlay;
        int heading;
        const char* row;
    };
    for (const Case& c : {Case{true, 1, "2"}, Case{false, 0, "0"}}) {
        SCOPED_TRACE(c.autoPlay);
        open(book, c.autoPlay);
        controller().command(cmd::kSleepTimerEndOfHeading);
        m_harness.advance(19 * kSecond + 950);
        EXPECT_EQ(m_harness.player.volume(), 50);
        m_harness.advance(5 * kSecond);
        EXPECT_EQ(m_harness.player.volume(), 25);
        EXPECT_TRUE(playing());
        m_harness.advance(5 * kSecond + 500);
        EXPECT_FALSE(playing());
        EXPECT_EQ(controller().tables().tree.selectedItem(), c.heading);
        EXPECT_EQ(m_harness.player.volume(), 50);
        EXPECT_TRUE(controller().menu().isChecked(cmd::kSleepTimerOff));
        const auto place = saved();
        ASSERT_TRUE(place);
        EXPECT_EQ(place->heading, std::to_string(c.heading));
        EXPECT_EQ(place->row, c.row);
        EXPECT_EQ(place->position, "0.000");
        m_harness.advance(kMinute);
        EXPECT_FALSE(playing());
    }
}

}  // namespace
}  // namespace korvin
