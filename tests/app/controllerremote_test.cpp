// SPDX-License-Identifier: GPL-3.0-or-later
// What a remote control (the desktop's sound menu, a headset, the media keys)
// sees of the player and how it drives it, on the sample book:
//   heading 0 "Eins" (h1): rows 0-2, a.mp3 0-6 s (the file lasts 6.5 s)
//   heading 1 "Zwei" (h2 under Eins): rows 3-5, b.mp3 0-5 s, row 4 a footnote
//   heading 2 "Drei" (h1): row 6 without sound, rows 7-8, c.mp3 0-4 s

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "library/settings.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using Action = RemoteControl::Action;
using Source = RemoteControl::Source;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

class ControllerRemoteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::writeSampleBook(m_book, m_harness);
        m_harness.openBook(m_book.folder());
        m_harness.advance(0);
    }
    MainController& controller() { return m_harness.controller(); }
    RemoteControl& remote() { return controller().remote(); }
    HeadingTree& tree() { return controller().tables().tree; }
    bool playing() { return m_harness.player.playState() == MediaPlayer::kPlaying; }
    void setPlaying(bool wanted)
    {
        if (playing() != wanted)
            controller().command(cmd::kPauseContinue);
    }
    // Starts heading `item` from its beginning, as choosing it in the tree does.
    void choose(HeadingTree::Item item)
    {
        if (tree().selectedItem() == item)
            tree().select(item == 0 ? 1 : 0);
        tree().select(item);
        m_harness.advance(0);
    }

    test::ControllerHarness m_harness;
    test::TestBook m_book;
};

TEST(ControllerRemote, WithoutABookNothingPlaysAndNothingMoves)
{
    test::ControllerHarness harness;
    RemoteControl& remote = harness.controller().remote();
    for (const Action action : {Action::kPlayPause, Action::kPlay, Action::kNext, Action::kPrevious})
        remote.act(action, Source::kDesktop, 0);
    remote.seekTo(1.0);
    remote.seekBy(1.0);
    NowPlaying stopped;
    stopped.volume = Settings::kDefaultVolume;
    EXPECT_EQ(remote.nowPlaying(), stopped);
    EXPECT_EQ(remote.position(), 0.0);
}

TEST_F(ControllerRemoteTest, DescribesTheSelectedHeadingOfTheBookAsATrack)
{
    struct Case {
        HeadingTree::Item item;
        const char* title;
        double duration;  // its clips together
        bool canGoNext;
        bool canGoPrevious;
    };
    const int serial = remote().nowPlaying().bookSerial;
    for (const Case& c :
         {Case{0, "Eins", 6.0, true, false}, Case{1, "Zwei", 5.0, true, true}, Case{2, "Drei", 4.0, false, true}}) {
        SCOPED_TRACE(c.title);
        choose(c.item);
        const NowPlaying now = remote().nowPlaying();
        EXPECT_EQ(now.status, NowPlaying::Status::kPlaying);
        EXPECT_EQ(now.heading, c.item);
        EXPECT_EQ(now.headingTitle, c.title);
        EXPECT_DOUBLE_EQ(now.headingDuration, c.duration);
        EXPECT_EQ(now.canGoNext, c.canGoNext);
        EXPECT_EQ(now.canGoPrevious, c.canGoPrevious);
        EXPECT_EQ(now.bookTitle, "Beispiel");
    }
    // The same book opened again is another book to a remote control.
    m_harness.openBook(m_book.folder());
    EXPECT_EQ(remote().nowPlaying().bookSerial, serial + 1);
}

TEST_F(ControllerRemoteTest, PlayPauseAndStopActAsSpaceDoes)
{
    struct Case {
        bool playingBefore;
        Action action;
        bool playingAfter;
    };
    const Case cases[] = {{true, Action::kPlayPause, false}, {false, Action::kPlayPause, true},
                          {true, Action::kPlay, true},       {false, Action::kPlay, true},
                          {true, Action::kPause, false},     {false, Action::kPause, false},
                          {true, Action::kStop, false},      {false, Action::kStop, false}};
    std::int64_t at = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.action) + 10 * c.playingBefore);
        setPlaying(c.playingBefore);
        remote().act(c.action, Source::kDesktop, at += 10'000);
        EXPECT_EQ(playing(), c.playingAfter);
    }
}

TEST_F(ControllerRemoteTest, NextAndPreviousGoWhereTheTreesArrowKeysGoAndStartTheHeading)
{
    struct Case {
        const char* name;
        HeadingTree::Item from;
        bool firstExpanded;  // the listener opened "Eins" in the tree
        Action action;
        HeadingTree::Item to;
    };
    const Case cases[] = {
        {"into the child", 0, true, Action::kNext, 1},
        {"out of the child", 1, true, Action::kNext, 2},
        {"past the last", 2, false, Action::kNext, 2},
        {"before the first", 0, true, Action::kPrevious, 0},
        {"up to the parent", 1, true, Action::kPrevious, 0},
        {"over a closed branch", 2, false, Action::kPrevious, 0},
        {"into an open branch", 2, true, Action::kPrevious, 1},
    };
    std::int64_t at = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        choose(c.from);
        setPlaying(false);
        tree().setExpanded(0, c.firstExpanded);
        remote().act(c.action, Source::kKeyboard, at += 10'000);
        m_harness.advance(0);
        EXPECT_EQ(tree().selectedItem(), c.to);
        EXPECT_EQ(playing(), c.to != c.from);
    }
}

TEST_F(ControllerRemoteTest, OnePressHeardAsAKeyAndFromTheDesktopActsOnce)
{
    constexpr std::int64_t kEcho = RemoteControl::kEchoMs;
    const Action toggle = Action::kPlayPause;
    struct Press {
        Action action;
        Source source;
        std::int64_t atMs;
    };
    struct Case {
        const char* name;
        std::vector<Press> presses;
        int toggles;
    };
    const Case cases[] = {
        {"key, then its echo", {{toggle, Source::kKeyboard, 0}, {toggle, Source::kDesktop, 90}}, 1},
        {"the echo first", {{toggle, Source::kDesktop, 0}, {toggle, Source::kKeyboard, 90}}, 1},
        {"too late for an echo", {{toggle, Source::kKeyboard, 0}, {toggle, Source::kDesktop, kEcho}}, 2},
        {"two presses of the key", {{toggle, Source::kKeyboard, 0}, {toggle, Source::kKeyboard, 90}}, 2},
        {"another action", {{toggle, Source::kKeyboard, 0}, {Action::kPlay, Source::kDesktop, 90}}, 2},
        {"a third press",
         {{toggle, Source::kKeyboard, 0}, {toggle, Source::kDesktop, 90}, {toggle, Source::kKeyboard, 180}},
         2},
    };
    std::int64_t base = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPlaying(true);
        base += 100'000;
        int toggles = 0;
        for (const Press& press : c.presses) {
            const bool before = playing();
            remote().act(press.action, press.source, base + press.atMs);
            toggles += playing() != before ? 1 : 0;
        }
        EXPECT_EQ(toggles, c.toggles);
    }
    choose(0);
    remote().act(Action::kNext, Source::kKeyboard, base + 100'000);
    remote().act(Action::kNext, Source::kDesktop, base + 100'050);
    EXPECT_EQ(tree().selectedItem(), 1);
}

TEST_F(ControllerRemoteTest, SeeksWithinTheHeadingByItsClipsAndTellsTheJump)
{
    struct Case {
        const char* name;
        HeadingTree::Item heading;
        bool skipFootnotes;
        bool relative;  // seekBy from the heading's start, else seekTo
        double seconds;
        int row;        // the phrase then; -1: nothing moved
        double inFile;  // the player's position in the phrase's file
        bool jump;
    };
    const Case cases[] = {
        {"into the second clip", 0, false, false, 3.0, 1, 3.0, true},
        {"into the last clip", 0, false, false, 5.5, 2, 5.5, true},
        {"at the end", 0, false, false, 6.0, -1, 0.0, false},
        {"before the start", 0, false, false, -1.0, -1, 0.0, false},
        {"not a number", 0, false, false, kNan, -1, 0.0, false},
        {"onto a footnote", 1, false, false, 2.0, 4, 2.0, true},
        {"onto a skipped footnote", 1, true, false, 2.0, 5, 3.0, true},
        {"past a phrase without sound", 2, false, false, 1.0, 7, 1.0, true},
        {"forward by", 0, false, true, 4.5, 2, 4.5, true},
        {"back before the start", 0, false, true, -30.0, 0, 0.0, false},
        {"by not a number", 0, false, true, kNan, -1, 0.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (controller().settings().skipFootnotes != c.skipFootnotes)
            controller().command(cmd::kSkipFootnotes);
        choose(c.heading);
        setPlaying(false);
        const int rowBefore = m_harness.selectedPhrase();
        const unsigned jumpsBefore = remote().jumps();
        c.relative ? remote().seekBy(c.seconds) : remote().seekTo(c.seconds);
        m_harness.advance(0);
        EXPECT_EQ(m_harness.selectedPhrase(), c.row < 0 ? rowBefore : c.row);
        EXPECT_DOUBLE_EQ(m_harness.player.position(), c.row < 0 ? 0.0 : c.inFile);
        EXPECT_FALSE(playing());
        EXPECT_EQ(remote().jumps() != jumpsBefore, c.jump);
    }
    // Past the end is Next, which starts the next heading.
    choose(1);
    remote().seekBy(5.0);
    EXPECT_EQ(tree().selectedItem(), 2);
    // a.mp3 plays on after the heading's last clip; that sound belongs to no
    // phrase, and playing on through phrases is no jump.
    choose(0);
    const unsigned jumps = remote().jumps();
    m_harness.selectedRowsDuring(6'300);
    ASSERT_GT(m_harness.player.position(), 6.1);
    EXPECT_DOUBLE_EQ(remote().position(), 6.0);
    EXPECT_EQ(remote().jumps(), jumps);
}

TEST_F(ControllerRemoteTest, RateAndVolumeGoWhereTheKeysPutThemAndIntoTheSettingsFile)
{
    struct Case {
        const char* name;
        bool upToTriple;  // the option "Bis dreifach"
        double rate;
        int volume;
        double keptRate;
        int keptVolume;
        bool paused;
    };
    const Case cases[] = {
        {"within the range", false, 1.5, 30, 1.5, 30, false},     {"too slow, too soft", false, 0.1, -5, 0.6, 0, false},
        {"too fast, too loud", false, 9.0, 150, 2.0, 100, false}, {"up to 3x: too slow", true, 0.1, 40, 0.5, 40, false},
        {"up to 3x: too fast", true, 9.0, 40, 3.0, 40, false},    {"not a number", true, kNan, 40, 3.0, 40, false},
        {"below zero", true, -1.0, 40, 3.0, 40, false},           {"zero pauses", true, 0.0, 40, 3.0, 40, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (controller().state().options.upToTriple != c.upToTriple)
            controller().command(cmd::kUpToTriple);
        setPlaying(true);
        remote().setRate(c.rate);
        remote().setVolume(c.volume);
        EXPECT_DOUBLE_EQ(m_harness.player.rate(), c.keptRate);
        EXPECT_DOUBLE_EQ(remote().nowPlaying().maximumRate, c.upToTriple ? 3.0 : 2.0);
        EXPECT_DOUBLE_EQ(remote().nowPlaying().minimumRate, c.upToTriple ? 0.5 : 0.6);
        EXPECT_EQ(remote().nowPlaying().volume, c.keptVolume);
        EXPECT_EQ(m_harness.player.volume(), c.keptVolume);
        EXPECT_EQ(playing(), !c.paused);
    }
    controller().command(cmd::kExit);
    const auto kept = SettingsFile(m_harness.home() + "/Settings.dl", Scrambler()).read();
    ASSERT_TRUE(kept);
    EXPECT_DOUBLE_EQ(kept->rate, 3.0);
    EXPECT_EQ(kept->volume, 40);
}

}  // namespace
}  // namespace korvin
