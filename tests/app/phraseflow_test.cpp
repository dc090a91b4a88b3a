// SPDX-License-Identifier: GPL-3.0-or-later
// Playback follows the book's phrases, not its files: where a file ends, fails
// or carries more than one heading, and the commands around such places.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/settings.h"
#include "support/controllerharness.h"
#include "support/testbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TestBook;

// A phrase of a generated book: its clip (no file: without sound) and its class.
struct Phrase {
    Phrase(std::string audio = {}, std::string begin = {}, std::string end = {}, std::string systemRequired = {})
        : audio(std::move(audio))
        , begin(std::move(begin))
        , end(std::move(end))
        , systemRequired(std::move(systemRequired))
    {
    }
    std::string audio;
    std::string begin;
    std::string end;
    std::string systemRequired;
};
using Heading = std::vector<Phrase>;

struct Options {
    bool autoPlay = false;
    bool skipFootnotes = false;
};

class PhraseFlowTest : public ::testing::Test {
protected:
    // Writes heading i as "hi.smil" with pars "pi_j" over "t.html#xi_j" and opens the book.
    void open(const std::vector<Heading>& headings, Options options = {})
    {
        Settings settings;
        settings.autoPlay = options.autoPlay;
        settings.skipFootnotes = options.skipFootnotes;
        ASSERT_TRUE(SettingsFile(m_harness.home() + "/Settings.dl", Scrambler()).write(settings));
        m_harness.restart();
        TestBook::Ncc ncc;
        for (std::size_t i = 0; i < headings.size(); ++i) {
            const std::string name = "h" + std::to_string(i);
            ncc.heading(1, name, name + ".smil#p" + std::to_string(i) + "_0");
            TestBook::Smil smil;
            for (std::size_t j = 0; j < headings[i].size(); ++j) {
                const Phrase& phrase = headings[i][j];
                const std::string id = std::to_string(i) + "_" + std::to_string(j);
                std::vector<TestBook::Clip> clips;
                if (!phrase.audio.empty())
                    clips.push_back({phrase.audio, phrase.begin, phrase.end});
                smil.par("p" + id, "t.html#x" + id, clips, phrase.systemRequired);
            }
            m_book.writeSmil(name + ".smil", smil);
        }
        m_book.writeNcc(ncc);
        m_harness.openBook(m_book.folder());
    }
    void addFile(const std::string& name, double seconds) { m_harness.player.addFile(m_book.folder() + name, seconds); }
    MainController& controller() { return m_harness.controller(); }
    int row() { return m_harness.selectedPhrase(); }
    int heading() { return controller().tables().tree.selectedItem(); }
    std::vector<int> rowsDuring(int ms) { return m_harness.selectedRowsDuring(ms); }
    int calls(const std::string& prefix)
    {
        int count = 0;
        for (const std::string& call : m_harness.player.log())
            count += call.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }

    TestBook m_book;
    test::ControllerHarness m_harness;
};

// Each phrase in a file of its own, some a few milliseconds shorter than their
// clip (MP3 padding): every phrase of every heading is heard, in order, from a
// player that tells a file's end as media ended (libmpv's) or as stopped.
TEST_F(PhraseFlowTest, OneFilePerPhrasePlaysEveryPhraseOfEveryHeading)
{
    for (const auto& [name, seconds] : std::vector<std::pair<std::string, double>>{
             {"a0.mp3", 1.0}, {"a1.mp3", 0.996}, {"a2.mp3", 1.0}, {"b0.mp3", 0.99}, {"b1.mp3", 1.0}})
        addFile(name, seconds);
    const std::vector<Heading> book = {
        {{"a0.mp3", "0.000", "1.000"}, {"a1.mp3", "0.000", "1.000"}, {"a2.mp3", "0.000", "1.000"}},
        {{"b0.mp3", "0.000", "1.000"}, {"b1.mp3", "0.000", "1.000"}}};
    for (const int ended : {MediaPlayer::kMediaEnded, MediaPlayer::kStopped}) {
        SCOPED_TRACE(ended);
        m_harness.player.setEndedState(ended);
        open(book, {.autoPlay = true});
        EXPECT_EQ(rowsDuring(5600), (std::vector<int>{1, 2, 3, 4, 0}));
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);

        open(book, {.autoPlay = false});
        EXPECT_EQ(rowsDuring(4000), (std::vector<int>{1, 2, 0}));
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
        EXPECT_EQ(m_harness.player.url(), m_book.folder() + "a0.mp3");
        // Waiting there, the heading does not end again.
        EXPECT_TRUE(rowsDuring(1000).empty());
        controller().command(cmd::kPauseContinue);
        EXPECT_EQ(rowsDuring(1100), (std::vector<int>{1}));
    }
}

// One file for two headings: the first ends at its last phrase's end; the
// second is heard once, highlighted, from its own start.
TEST_F(PhraseFlowTest, AHeadingEndsWhereTheNextHeadingsAudioBeginsInTheSameFile)
{
    addFile("book.mp3", 9.0);
    const std::vector<Heading> book = {{{"book.mp3", "0.000", "2.000"}, {"book.mp3", "2.000", "4.000"}},
                                       {{"book.mp3", "4.000", "6.000"}, {"book.mp3", "6.000", "8.000"}}};
    open(book, {.autoPlay = true});
    ASSERT_TRUE(m_harness.clock.advanceUntil([&] { return heading() == 1; }, 5000));
    EXPECT_EQ(row(), 2);
    EXPECT_LT(m_harness.clock.now(), 4200);
    EXPECT_NEAR(m_harness.player.position(), 4.0, 0.001);
    // The trailing second after the last heading's last phrase belongs to no
    // heading and plays to the end of the file; then the book starts again.
    EXPECT_EQ(rowsDuring(5500), (std::vector<int>{3, 0}));

    open(book, {.autoPlay = false});
    m_harness.advance(4150);
    EXPECT_EQ(row(), 0);
    EXPECT_EQ(heading(), 0);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 0.0);
}

// A heading whose audio file cannot be played: with automatic playback its
// phrases are passed over and the book goes on; without it the first one waits,
// highlighted, and the commands try the file again.
TEST_F(PhraseFlowTest, AudioThatCannotBePlayedIsPassedOverOrWaitedOn)
{
    for (const bool corrupt : {false, true}) {
        SCOPED_TRACE(corrupt ? "corrupt" : "missing");
        m_harness.player.removeFile(m_book.folder() + "a.mp3");
        if (corrupt)
            m_harness.player.addCorruptFile(m_book.folder() + "a.mp3");
        addFile("b.mp3", 2.0);
        const std::vector<Heading> book = {
            {{"a.mp3", "0.000", "1.000"}, {"a.mp3", "1.000", "2.000"}, {"a.mp3", "2.000", "3.000"}},
            {{"b.mp3", "0.000", "1.000"}, {"b.mp3", "1.000", "2.000"}}};
        open(book, {.autoPlay = true});
        ASSERT_TRUE(m_harness.clock.advanceUntil([&] { return heading() == 1; }, 1000));
        m_harness.advance(100);
        EXPECT_EQ(row(), 3);
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
        EXPECT_TRUE(m_harness.messageBoxes.shown.empty());

        open(book, {.autoPlay = false});
        m_harness.advance(3000);
        EXPECT_EQ(row(), 0);
        EXPECT_EQ(heading(), 0);
        EXPECT_EQ(controller().playback().currentFragmentId, "x0_0");
        m_harness.player.clearLog();
        controller().command(cmd::kPhraseForward);
        EXPECT_EQ(row(), 1);
        EXPECT_EQ(calls("setUrl"), 1);
        m_harness.advance(300);
        EXPECT_EQ(row(), 1);
        controller().command(cmd::kPhraseBack);
        EXPECT_EQ(row(), 0);
        EXPECT_EQ(calls("setUrl"), 2);
        m_harness.advance(300);
        // The disc is back: Space tries again and plays.
        addFile("a.mp3", 3.0);
        controller().command(cmd::kPauseContinue);
        m_harness.advance(300);
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
        EXPECT_EQ(row(), 0);
        EXPECT_TRUE(m_harness.messageBoxes.shown.empty());
    }
}

TEST_F(PhraseFlowTest, ABookWhoseAudioAllFailsGoesRoundOnceAndWaits)
{
    open({{{"a.mp3", "0.000", "1.000"}}, {{"b.mp3", "0.000", "1.000"}}}, {.autoPlay = true});
    m_harness.advance(3000);
    const int ticks = m_harness.timers.tickCount(PlaybackEngine::kPollTimer);
    EXPECT_EQ(heading(), 1);
    m_harness.player.clearLog();
    m_harness.advance(3000);
    EXPECT_EQ(heading(), 1);
    EXPECT_TRUE(m_harness.player.log().empty());
    EXPECT_GT(m_harness.timers.tickCount(PlaybackEngine::kPollTimer), ticks);
}

// The footnote the listener asked to skip is the rest of the heading: the
// heading ends with the phrase before it.
TEST_F(PhraseFlowTest, AHeadingWhoseRemainingPhrasesAreSkippedEndsAtTheCurrentPhrase)
{
    addFile("a.mp3", 6.0);
    addFile("b.mp3", 2.0);
    const std::vector<Heading> book = {{{"a.mp3", "0.000", "2.000"},
                                        {"a.mp3", "2.000", "4.000", "footnote-on"},
                                        {"a.mp3", "4.000", "6.000", "footnote-on"}},
                                       {{"b.mp3", "0.000", "2.000"}}};
    open(book, {.autoPlay = true, .skipFootnotes = true});
    ASSERT_TRUE(m_harness.clock.advanceUntil([&] { return heading() == 1; }, 6000));
    EXPECT_LT(m_harness.clock.now(), 2200);
    EXPECT_EQ(row(), 3);

    open(book, {.autoPlay = false, .skipFootnotes = true});
    m_harness.advance(2150);
    EXPECT_EQ(row(), 0);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 0.0);
}

TEST_F(PhraseFlowTest, PhraseBackGoesPastSkippedAndSilentPhrasesToThePreviousPlayedOne)
{
    addFile("a.mp3", 8.0);
    open({{{"a.mp3", "0.000", "2.000"},
           {"a.mp3", "2.000", "4.000", "footnote-on"},
           {},
           {"a.mp3", "4.000", "6.000"},
           {"a.mp3", "6.000", "8.000"}}},
         {.skipFootnotes = true});
    m_harness.advance(100);
    controller().command(cmd::kPhraseForward);
    EXPECT_EQ(row(), 3);
    controller().command(cmd::kPhraseBack);
    EXPECT_EQ(row(), 0);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 0.0);
    controller().command(cmd::kPhraseBack);  // nothing before the first
    EXPECT_EQ(row(), 0);
}

TEST_F(PhraseFlowTest, ABookOfOneHeadingStartsAgainAfterItsEndWithAutomaticPlayback)
{
    addFile("a.mp3", 2.0);
    open({{{"a.mp3", "0.500", "1.000"}, {"a.mp3", "1.000", "2.000"}}}, {.autoPlay = true});
    EXPECT_EQ(rowsDuring(2800), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
}

TEST_F(PhraseFlowTest, AHeadingSelectedAgainAfterOneWithoutPhrasesStartsPlaying)
{
    addFile("a.mp3", 4.0);
    TestBook::Ncc ncc;
    m_book.writeNcc(TestBook::Ncc().heading(1, "Eins", "h0.smil#p0_0").heading(1, "Fehlt", "missing.smil#p"));
    m_book.writeSmil("h0.smil", TestBook::Smil().par("p0_0", "t.html#x", {{"a.mp3", "0.000", "4.000"}}));
    m_harness.openBook(m_book.folder());
    m_harness.advance(500);
    controller().tables().tree.select(1);
    EXPECT_EQ(m_harness.player.url(), "");
    controller().tables().tree.select(0);
    m_harness.advance(300);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_NEAR(m_harness.player.position(), 0.3, 0.01);
}

// A heading back at its first phrase waits there without seeking every tick;
// its phrase begins inside a file that had played to its end.
TEST_F(PhraseFlowTest, AHeadingWaitingAtItsStartDoesNotStartItsPhraseAgainAndAgain)
{
    addFile("a.mp3", 3.0);
    open({{{"a.mp3", "1.000", "2.000"}, {"a.mp3", "2.000", "2.500"}}});
    m_harness.advance(2500);
    ASSERT_EQ(row(), 0);
    m_harness.player.clearLog();
    m_harness.advance(2000);
    EXPECT_TRUE(m_harness.player.log().empty());
    controller().command(cmd::kPauseContinue);
    m_harness.advance(500);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_NEAR(m_harness.player.position(), 1.5, 0.01);
}

// The desktop's menu closes before the chosen item's command arrives.
TEST_F(PhraseFlowTest, PauseContinueChosenFromTheMenuActsOnWhatWasHeardBeforeIt)
{
    addFile("a.mp3", 10.0);
    open({{{"a.mp3", "0.000", "10.000"}}});
    m_harness.advance(100);
    for (const bool playingBefore : {true, false, true}) {
        ASSERT_EQ(m_harness.player.playState() == MediaPlayer::kPlaying, playingBefore);
        controller().menuSelect(false);
        controller().menuSelect(false);  // into a submenu
        controller().menuSelect(true);
        controller().command(cmd::kPauseContinue);
        m_harness.advance(200);
        EXPECT_EQ(m_harness.player.playState(), playingBefore ? MediaPlayer::kPaused : MediaPlayer::kPlaying);
    }
    // Space after a menu closed without a choice toggles as always.
    controller().menuSelect(false);
    controller().menuSelect(true);
    m_harness.advance(200);
    controller().command(cmd::kPauseContinue);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
}

// Two SMIL files with the same par id: a link and a page that name the second
// file reach its phrase, and playback marks the page of the file it plays.
TEST_F(PhraseFlowTest, IdsAreMatchedWithinTheirSmilFile)
{
    addFile("a.mp3", 4.0);
    addFile("b.mp3", 4.0);
    m_book.writeNcc(TestBook::Ncc()
                        .heading(1, "Eins", "chap1.smil#par_1")
                        .page("1", "chap1.smil#par_12")
                        .heading(1, "Zwei", "chap2.smil#par_1")
                        .page("2", "chap2.smil#par_12"));
    for (const std::string name : {"chap1", "chap2"})
        m_book.writeSmil(
            name + ".smil",
            TestBook::Smil()
                .par("par_1", name + ".html#a", {{name == "chap1" ? "a.mp3" : "b.mp3", "0.000", "2.000"}})
                .par("par_12", name + ".html#b", {{name == "chap1" ? "a.mp3" : "b.mp3", "2.000", "4.000"}}));
    m_harness.openBook(m_book.folder());
    m_harness.textView.activateLink(m_book.folder() + "chap2.smil#par_12");
    EXPECT_EQ(heading(), 1);
    EXPECT_EQ(row(), 3);
    EXPECT_EQ(controller().tables().pages.selectionMark(), 1);

    BookTable& pages = controller().tables().pages;
    pages.setSelectionMark(0);
    pages.setRowState(0, BookTable::kSelected);
    EXPECT_EQ(heading(), 0);
    EXPECT_EQ(row(), 1);
    pages.setSelectionMark(1);
    pages.setRowState(1, BookTable::kSelected);
    EXPECT_EQ(row(), 3);
}

// The book's folder is no part of a link: "#" or ".smil" in its name changes nothing.
TEST_F(PhraseFlowTest, LinksAndDocumentsWorkInABookFolderWithHashOrSmilInItsName)
{
    for (const std::string folder : {"Book #1/", "Bücher.smil/"}) {
        SCOPED_TRACE(folder);
        const std::string path = m_book.folder() + folder;
        // Two books, not one found again in another folder: each starts at its beginning.
        m_book.writeNcc(
            TestBook::Ncc().meta("dc:title", folder).heading(1, "Eins", "a.smil#p1").heading(1, "Zwei", "b.smil#p1"),
            folder + "ncc.html");
        m_book.writeSmil(folder + "a.smil", TestBook::Smil().par("p1", "t.html#x1", {{"a.mp3", "0.000", "2.000"}}));
        m_book.writeSmil(folder + "b.smil", TestBook::Smil()
                                                .par("p1", "u.html#y1", {{"b.mp3", "0.000", "2.000"}})
                                                .par("p2", "u.html#y2", {{"b.mp3", "2.000", "4.000"}}));
        m_harness.player.addFile(path + "a.mp3", 2.0);
        m_harness.player.addFile(path + "b.mp3", 4.0);
        m_harness.textView.addDocument(path + "t.html", {{"x1", "Eins"}});
        m_harness.textView.addDocument(path + "u.html", {{"y1", "Zwei"}, {"y2", "Drei"}});
        m_harness.openBook(path);
        EXPECT_EQ(m_harness.textView.locationName(), path + "t.html");
        m_harness.textView.activateLink(path + "b.smil#p2");
        EXPECT_EQ(heading(), 1);
        EXPECT_EQ(row(), 2);
        EXPECT_EQ(m_harness.textView.locationName(), path + "u.html");
        m_harness.advance(60);
        EXPECT_NE(m_harness.textView.elementInnerHtml("y2").value_or(""), "Drei");  // highlighted
    }
}

}  // namespace
}  // namespace korvin
