// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controlids.h"
#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TestBook;
using test::ControllerHarness;

const std::string kHighlight = "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">";

class PlaybackTest : public ::testing::Test {
protected:
    void open()
    {
        test::writeSampleBook(m_book, m_harness);
        m_harness.openBook(m_book.folder());
    }
    std::string fragmentOf(int row) { return controller().tables().phrases.text(row, col::phrase::kDokFragment); }
    MainController& controller() { return m_harness.controller(); }

    TestBook m_book;
    ControllerHarness m_harness;
};

TEST_F(PlaybackTest, OpeningPlaysTheTitleCueThenTheBookFromItsFirstPhrase)
{
    open();
    ASSERT_TRUE(controller().playback().bookOpen);
    ASSERT_EQ(m_harness.titleCue.played.size(), 1u);
    EXPECT_EQ(m_harness.titleCue.played[0].first, m_book.folder() + "a.mp3");
    EXPECT_EQ(m_harness.titleCue.played[0].second, 2000);
    EXPECT_EQ(m_harness.selectedPhrase(), 0);
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "a.mp3");
    EXPECT_EQ(m_harness.textView.locationName(), m_book.folder() + "doc1.html");
    m_harness.advance(60);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t1"), kHighlight + "Eins</SPAN>");
    EXPECT_EQ(controller().tables().headings.selectionMark(), 0);
    EXPECT_EQ(controller().tables().tree.selectedItem(), 0);
}

TEST_F(PlaybackTest, WithAutomaticPlaybackThePhrasesFollowTheTableAndTheBookStartsAgain)
{
    open();
    controller().command(cmd::kAutoPlayback);
    ASSERT_TRUE(controller().settings().autoPlay);
    std::vector<int> rows;
    int last = m_harness.selectedPhrase();
    for (int ms = 0; ms < 17000; ms += 10) {
        m_harness.advance(10);
        const int row = m_harness.selectedPhrase();
        if (row == last)
            continue;
        rows.push_back(row);
        last = row;
        // The highlight follows 50 ms after each phrase start.
        m_harness.advance(60);
        ms += 60;
        EXPECT_EQ(m_harness.textView.elementInnerHtml(fragmentOf(row)).value_or("").rfind(kHighlight, 0), 0u)
            << "row " << row;
    }
    // Row 6 has no sound and passes straight on to row 7; after the last heading
    // the book begins again.
    ASSERT_GE(rows.size(), 8u);
    EXPECT_EQ(std::vector<int>(rows.begin(), rows.begin() + 8), (std::vector<int>{1, 2, 3, 4, 5, 7, 8, 0}));
    // The earlier highlights went back to the text as it was.
    EXPECT_EQ(m_harness.textView.locationName(), m_book.folder() + "doc1.html");
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t2").value_or(""), "Zwei");
}

TEST_F(PlaybackTest, WithoutAutomaticPlaybackAHeadingEndsOnItsFirstPhrasePaused)
{
    open();
    const std::vector<int> rows = m_harness.selectedRowsDuring(7000);
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 0.0);
    controller().command(cmd::kPauseContinue);
    m_harness.advance(500);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.selectedPhrase(), 0);
}

TEST_F(PlaybackTest, TheLastPhraseOfAHeadingRunsOnToTheEndOfItsFile)
{
    open();
    m_harness.advance(6200);  // past the last phrase's end (6.0), before the file's (6.5)
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_GE(m_harness.player.position(), 6.0);
}

TEST_F(PlaybackTest, PhraseForwardAndBackSeekWithinTheHeadingOnly)
{
    open();
    m_harness.advance(100);
    controller().command(cmd::kPhraseForward);
    EXPECT_EQ(m_harness.selectedPhrase(), 1);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 2.0);
    controller().command(cmd::kPhraseForward);
    controller().command(cmd::kPhraseForward);  // the last phrase of the heading: nothing
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
    EXPECT_TRUE(controller().playback().forceSeek);
    controller().command(cmd::kPhraseBack);
    EXPECT_EQ(m_harness.selectedPhrase(), 1);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 2.0);
    EXPECT_FALSE(controller().playback().forceSeek);
}

TEST_F(PlaybackTest, ConsecutivePhrasesPlayOnWithoutASeek)
{
    open();
    m_harness.player.clearLog();
    m_harness.advance(2150);  // row 0 ends at 2.000, row 1 begins at 2.000
    EXPECT_EQ(m_harness.selectedPhrase(), 1);
    for (const std::string& call : m_harness.player.log())
        EXPECT_EQ(call.rfind("setPosition", 0), std::string::npos) << call;
}

TEST_F(PlaybackTest, PauseContinueTogglesThePlayer)
{
    open();
    m_harness.advance(100);
    controller().command(cmd::kPauseContinue);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    const double at = m_harness.player.position();
    m_harness.advance(1000);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), at);
    controller().command(cmd::kPauseContinue);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
}

TEST_F(PlaybackTest, AMenuPausesWhileOpenAndPlayEvenAfterAPauseWhenItCloses)
{
    open();
    m_harness.advance(100);
    controller().menuSelect(false);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    controller().menuSelect(true);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    controller().command(cmd::kPauseContinue);
    controller().menuSelect(false);
    controller().menuSelect(true);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
}

TEST_F(PlaybackTest, ThePageTableFollowsPlaybackWithoutJumping)
{
    open();
    EXPECT_EQ(controller().tables().pages.selectionMark(), 0);
    EXPECT_FALSE(controller().menu().isGrayed(cmd::kPageNext));
    EXPECT_TRUE(controller().menu().isGrayed(cmd::kPagePrevious));
    controller().tables().tree.select(1);  // "Zwei"
    controller().command(cmd::kPhraseForward);  // row 4, where page 2 begins
    EXPECT_EQ(m_harness.selectedPhrase(), 4);
    EXPECT_EQ(controller().tables().pages.selectionMark(), 1);
    EXPECT_EQ(controller().tables().pages.rowState(1), BookTable::kSelectedFocused);
    EXPECT_TRUE(controller().menu().isGrayed(cmd::kPageNext));
    EXPECT_FALSE(controller().menu().isGrayed(cmd::kPagePrevious));
}

TEST_F(PlaybackTest, SelectingAPageRowJumpsToTheHeadingAndPhraseWhereItBegins)
{
    open();
    BookTable& pages = controller().tables().pages;
    pages.setSelectionMark(1);
    pages.setRowState(1, BookTable::kSelected);
    EXPECT_EQ(controller().tables().tree.selectedItem(), 1);
    EXPECT_EQ(controller().tables().headings.selectionMark(), 1);
    EXPECT_EQ(m_harness.selectedPhrase(), 4);
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "b.mp3");
}

TEST_F(PlaybackTest, AHeadingThatBeginsWithAPhraseWithoutSoundPlaysFromTheNextPhrase)
{
    open();
    controller().tables().tree.select(2);  // "Drei"
    EXPECT_EQ(m_harness.selectedPhrase(), 7);
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "c.mp3");
    EXPECT_EQ(controller().tables().headings.selectionMark(), 2);
}

TEST_F(PlaybackTest, FollowingALinkToASmilFilePlaysTheHeadingAndPhraseItNames)
{
    open();
    m_harness.textView.activateLink(m_book.folder() + "b.smil#p6");
    EXPECT_EQ(m_harness.textView.locationName(), m_book.folder() + "doc2.html");  // the smil was not shown
    EXPECT_EQ(controller().tables().tree.selectedItem(), 1);
    EXPECT_EQ(m_harness.selectedPhrase(), 5);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 3.0);

    m_harness.textView.activateLink(m_book.folder() + "notes.html#n1");
    EXPECT_EQ(m_harness.textView.locationName(), m_book.folder() + "notes.html");  // not intercepted
    EXPECT_EQ(m_harness.selectedPhrase(), 5);
}

TEST_F(PlaybackTest, StyleCommandsChooseHowTheNextHighlightLooks)
{
    open();
    m_harness.advance(60);
    controller().command(cmd::kStyleBold);
    EXPECT_TRUE(controller().textStyle().bold);
    EXPECT_FALSE(controller().textStyle().background);
    EXPECT_TRUE(controller().menu().isChecked(cmd::kStyleBold));
    EXPECT_FALSE(controller().menu().isChecked(cmd::kStyleBackground));
    controller().command(cmd::kPhraseForward);
    m_harness.advance(60);
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t1"), "Eins");
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t2"), "<SPAN style=\"FONT-WEIGHT: bold\">Zwei</SPAN>");

    // The colour chooser pauses the book while it is open; cancelling keeps the style.
    int stateWhileChoosing = 0;
    m_harness.dialogs.whileChoosingColour = [&] { stateWhileChoosing = m_harness.player.playState(); };
    m_harness.dialogs.colour.reset();
    controller().command(cmd::kStyleTextColour);
    EXPECT_EQ(stateWhileChoosing, MediaPlayer::kPaused);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.dialogs.colourInitials.back(), (Rgb{255, 255, 255}));
    EXPECT_TRUE(controller().textStyle().bold);

    m_harness.dialogs.colour = Rgb{0x12, 0xab, 0};
    controller().command(cmd::kStyleBackground);
    EXPECT_EQ(m_harness.dialogs.colourInitials.back(), (Rgb{255, 128, 0}));
    EXPECT_TRUE(controller().textStyle().background);
    EXPECT_FALSE(controller().textStyle().bold);
    EXPECT_EQ(controller().textStyle().colour, "#12ab00");
}

TEST_F(PlaybackTest, SkippedFootnotesArePassedOverDuringPlayback)
{
    test::writeSettingsFile(m_harness.home(),
                            {"50", "1.0", "1", "0", "0", "0", "1", "1", "#ff8000", "0", "0", "0", "", "0"});
    m_harness.restart();
    open();
    const std::vector<int> rows = m_harness.selectedRowsDuring(12500);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(std::vector<int>(rows.begin(), rows.begin() + 4), (std::vector<int>{1, 2, 3, 5}));
}

}  // namespace
}  // namespace korvin

namespace korvin {
namespace {

// Books of one heading built for a single case each.
class EngineCaseTest : public ::testing::Test {
protected:
    void openBook(const std::vector<test::TestBook::Clip>& clips, double seconds = 10.0)
    {
        test::TestBook::Smil smil;
        for (std::size_t i = 0; i < clips.size(); ++i)
            smil.par("p" + std::to_string(i), "t.html#x" + std::to_string(i), {clips[i]});
        m_book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#p0"));
        m_book.writeSmil("a.smil", smil);
        m_harness.player.addFile(m_book.folder() + "a.mp3", seconds);
        m_harness.openBook(m_book.folder());
    }
    MainController& controller() { return m_harness.controller(); }

    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

TEST_F(EngineCaseTest, BeginAndEndAreComparedAsTextsSo125After12500Seeks)
{
    openBook({{"a.mp3", "10.000", "12.500"}, {"a.mp3", "12.5", "14.000"}, {"a.mp3", "14.000", "15.000"}}, 20.0);
    m_harness.advance(100);
    m_harness.player.clearLog();
    m_harness.clock.advanceUntil([&] { return m_harness.selectedPhrase() == 1; }, 5000);
    EXPECT_EQ(m_harness.player.log(), (std::vector<std::string>{"setPosition 12.5", "setRate 1", "setVolume 50"}));
    m_harness.player.clearLog();
    m_harness.clock.advanceUntil([&] { return m_harness.selectedPhrase() == 2; }, 5000);
    EXPECT_TRUE(m_harness.player.log().empty());  // "14.000" follows "14.000"
}

TEST_F(EngineCaseTest, AHeadingOfOnePhraseEndsPausedOnItAndSpacePlaysItAgain)
{
    openBook({{"a.mp3", "0.000", "2.000"}}, 2.3);
    m_harness.advance(3000);
    EXPECT_EQ(m_harness.selectedPhrase(), 0);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 0.0);
    controller().command(cmd::kPauseContinue);
    m_harness.advance(500);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_NEAR(m_harness.player.position(), 0.5, 0.01);
}

TEST_F(EngineCaseTest, APhraseOfAnotherHeadingIsNeitherHeardNorHighlighted)
{
    test::TestBook::Smil a;
    a.par("p0", "t.html#x0", {{"a.mp3", "0.000", "1.000"}}).par("p1", "t.html#x1", {{"a.mp3", "1.000", "2.000"}});
    test::TestBook::Smil b;
    b.par("p2", "u.html#y0", {{"b.mp3", "0.000", "1.000"}});
    m_book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#p0").heading(1, "Zwei", "b.smil#p2"));
    m_book.writeSmil("a.smil", a);
    m_book.writeSmil("b.smil", b);
    m_harness.player.addFile(m_book.folder() + "a.mp3", 2.0);
    m_harness.player.addFile(m_book.folder() + "b.mp3", 1.0);
    m_harness.openBook(m_book.folder());
    m_harness.advance(100);
    m_harness.player.clearLog();
    BookTable& phrases = controller().tables().phrases;
    phrases.setSelectionMark(2);
    phrases.setRowState(2, BookTable::kSelected);
    EXPECT_TRUE(m_harness.player.log().empty());
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "a.mp3");
    EXPECT_EQ(controller().playback().currentFragmentId, "y0");
}

TEST_F(EngineCaseTest, APlayerVolumeChangedFromOutsideIsTakenOverWhilePlaying)
{
    openBook({{"a.mp3", "0.000", "5.000"}});
    m_harness.advance(100);
    m_harness.player.setVolume(35);
    m_harness.advance(150);
    EXPECT_EQ(controller().settings().volume, 35);
}

TEST_F(EngineCaseTest, AHeadingWithoutSoundStaysSilentOrIsPassedOverAtOnceWithAutomaticPlayback)
{
    m_book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#p0"));
    m_book.writeSmil("a.smil", test::TestBook::Smil()
                                   .par("p0", "t.html#x0")
                                   .par("p1", "t.html#x1")
                                   .par("p2", "t.html#x2"));
    m_harness.openBook(m_book.folder());
    EXPECT_EQ(m_harness.selectedPhrase(), 0);  // silent, with its text highlighted
    m_harness.advance(100);
    EXPECT_EQ(controller().playback().currentFragmentId, "x0");

    test::writeSettingsFile(m_harness.home(),
                            {"50", "1.0", "0", "0", "0", "0", "1", "1", "#ff8000", "0", "0", "0", "", "0"});
    m_harness.restart();
    m_harness.openBook(m_book.folder());
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
    m_harness.advance(2000);  // no file is open: the poll moves nothing on
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
    EXPECT_EQ(controller().tables().tree.selectedItem(), 0);
}

TEST_F(EngineCaseTest, ALongRunOfSkippedPhrasesIsPassedOverWithoutDeepNesting)
{
    test::writeSettingsFile(m_harness.home(),
                            {"50", "1.0", "1", "0", "0", "0", "0", "1", "#ff8000", "0", "0", "0", "", "0"});
    m_harness.restart();
    test::TestBook::Smil smil;
    smil.par("start", "t.html#s", {{"a.mp3", "0.000", "0.500"}});
    for (int i = 0; i < 20000; ++i)
        smil.par("f" + std::to_string(i), "t.html#f", {{"a.mp3", "0.500", "0.600"}}, "footnote-on");
    smil.par("end", "t.html#e", {{"a.mp3", "0.600", "1.000"}});
    m_book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#start"));
    m_book.writeSmil("a.smil", smil);
    m_harness.player.addFile(m_book.folder() + "a.mp3", 1.0);
    m_harness.openBook(m_book.folder());
    ASSERT_TRUE(m_harness.clock.advanceUntil([&] { return m_harness.selectedPhrase() == 20001; }, 2000));
}

TEST_F(EngineCaseTest, TheTitleCueIsHeardAloneAndTheBookGoesOnAfterIt)
{
    m_book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#p0").page("1", "a.smil#p1"));
    m_book.writeSmil("a.smil", test::TestBook::Smil()
                                   .par("p0", "t.html#x0", {{"a.mp3", "0.000", "1.000"}})
                                   .par("p1", "t.html#x1", {{"a.mp3", "1.000", "2.000"}}));
    m_harness.player.addFile(m_book.folder() + "a.mp3", 2.0);
    int stateDuringCue = -1;
    m_harness.titleCue.whilePlaying = [&] { stateDuringCue = m_harness.player.playState(); };
    m_harness.openBook(m_book.folder());
    // The first page's set-up started the book before the cue.
    EXPECT_NE(stateDuringCue, -1);
    EXPECT_NE(stateDuringCue, MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.selectedPhrase(), 0);
}

}  // namespace
}  // namespace korvin
