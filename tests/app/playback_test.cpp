#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/samplebook.h"
#include "app/windowharness.h"
#include "library/scrambler.h"
#include "library/statefile.h"
#include "platform/controlids.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::TestBook;
using test::WindowHarness;

const std::string kHighlight = "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">";

class PlaybackTest : public ::testing::Test {
protected:
    void open()
    {
        test::writeSampleBook(m_book, m_harness);
        m_harness.openBook(m_book.folder());
    }
    std::string fragmentOf(int row) { return window().tables().phrases.text(row, col::kDokFragment); }
    MainWindow& window() { return m_harness.window(); }

    TestBook m_book;
    WindowHarness m_harness;
};

TEST_F(PlaybackTest, OpeningPlaysTheTitleCueThenTheBookFromItsFirstPhrase)
{
    open();
    ASSERT_TRUE(window().playback().bookOpen);
    ASSERT_EQ(m_harness.titleCue.played.size(), 1u);
    EXPECT_EQ(m_harness.titleCue.played[0].first, m_book.folder() + "a.mp3");
    EXPECT_EQ(m_harness.titleCue.played[0].second, 2000);
    EXPECT_EQ(m_harness.selectedPhrase(), 0);
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "a.mp3");
    EXPECT_EQ(m_harness.textView.locationName(), m_book.folder() + "doc1.html");
    m_harness.advance(60);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t1"), kHighlight + "Eins</SPAN>");
    EXPECT_EQ(window().tables().headings.selectionMark(), 0);
    EXPECT_EQ(window().tables().tree.selectedItem(), 0);
}

TEST_F(PlaybackTest, WithAutomaticPlaybackThePhrasesFollowTheTableAndTheBookStartsAgain)
{
    open();
    window().command(cmd::kAutoPlayback);
    ASSERT_TRUE(window().playback().autoPlay);
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
    window().command(cmd::kPauseContinue);
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
    window().command(cmd::kPhraseForward);
    EXPECT_EQ(m_harness.selectedPhrase(), 1);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 2.0);
    window().command(cmd::kPhraseForward);
    window().command(cmd::kPhraseForward);  // the last phrase of the heading: nothing
    EXPECT_EQ(m_harness.selectedPhrase(), 2);
    EXPECT_TRUE(window().playback().forceSeek);
    window().command(cmd::kPhraseBack);
    EXPECT_EQ(m_harness.selectedPhrase(), 1);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), 2.0);
    EXPECT_FALSE(window().playback().forceSeek);
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
    window().command(cmd::kPauseContinue);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    const double at = m_harness.player.position();
    m_harness.advance(1000);
    EXPECT_DOUBLE_EQ(m_harness.player.position(), at);
    window().command(cmd::kPauseContinue);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
}

TEST_F(PlaybackTest, AMenuPausesWhileOpenAndPlayEvenAfterAPauseWhenItCloses)
{
    open();
    m_harness.advance(100);
    window().menuSelect(false);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPaused);
    window().menuSelect(true);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    window().command(cmd::kPauseContinue);
    window().menuSelect(false);
    window().menuSelect(true);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
}

TEST_F(PlaybackTest, ThePageTableFollowsPlaybackWithoutJumping)
{
    open();
    EXPECT_EQ(window().tables().pages.selectionMark(), 0);
    EXPECT_FALSE(window().menu().isGrayed(cmd::kPageNext));
    EXPECT_TRUE(window().menu().isGrayed(cmd::kPagePrevious));
    window().tables().tree.select(1);  // "Zwei"
    window().command(cmd::kPhraseForward);  // row 4, where page 2 begins
    EXPECT_EQ(m_harness.selectedPhrase(), 4);
    EXPECT_EQ(window().tables().pages.selectionMark(), 1);
    EXPECT_EQ(window().tables().pages.rowState(1), BookTable::kSelectedFocused);
    EXPECT_TRUE(window().menu().isGrayed(cmd::kPageNext));
    EXPECT_FALSE(window().menu().isGrayed(cmd::kPagePrevious));
}

TEST_F(PlaybackTest, SelectingAPageRowJumpsToTheHeadingAndPhraseWhereItBegins)
{
    open();
    BookTable& pages = window().tables().pages;
    pages.setSelectionMark(1);
    pages.setRowState(1, BookTable::kSelected);
    EXPECT_EQ(window().tables().tree.selectedItem(), 1);
    EXPECT_EQ(window().tables().headings.selectionMark(), 1);
    EXPECT_EQ(m_harness.selectedPhrase(), 4);
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "b.mp3");
}

TEST_F(PlaybackTest, AHeadingThatBeginsWithAPhraseWithoutSoundPlaysFromTheNextPhrase)
{
    open();
    window().tables().tree.select(2);  // "Drei"
    EXPECT_EQ(m_harness.selectedPhrase(), 7);
    EXPECT_EQ(m_harness.player.url(), m_book.folder() + "c.mp3");
    EXPECT_EQ(window().tables().headings.selectionMark(), 2);
}

TEST_F(PlaybackTest, FollowingALinkToASmilFilePlaysTheHeadingAndPhraseItNames)
{
    open();
    m_harness.textView.activateLink(m_book.folder() + "b.smil#p6");
    EXPECT_EQ(m_harness.textView.locationName(), m_book.folder() + "doc2.html");  // the smil was not shown
    EXPECT_EQ(window().tables().tree.selectedItem(), 1);
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
    window().command(cmd::kStyleBold);
    EXPECT_TRUE(window().textStyle().bold);
    EXPECT_FALSE(window().textStyle().background);
    EXPECT_TRUE(window().menu().isChecked(cmd::kStyleBold));
    EXPECT_FALSE(window().menu().isChecked(cmd::kStyleBackground));
    window().command(cmd::kPhraseForward);
    m_harness.advance(60);
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t1"), "Eins");
    EXPECT_EQ(m_harness.textView.elementInnerHtml("t2"), "<SPAN style=\"FONT-WEIGHT: bold\">Zwei</SPAN>");

    // The colour chooser pauses the book while it is open; cancelling keeps the style.
    int stateWhileChoosing = 0;
    m_harness.dialogs.whileChoosingColour = [&] { stateWhileChoosing = m_harness.player.playState(); };
    m_harness.dialogs.colour.reset();
    window().command(cmd::kStyleTextColour);
    EXPECT_EQ(stateWhileChoosing, MediaPlayer::kPaused);
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(m_harness.dialogs.colourInitials.back(), (Rgb{255, 255, 255}));
    EXPECT_TRUE(window().textStyle().bold);

    m_harness.dialogs.colour = Rgb{0x12, 0xab, 0};
    window().command(cmd::kStyleBackground);
    EXPECT_EQ(m_harness.dialogs.colourInitials.back(), (Rgb{255, 128, 0}));
    EXPECT_TRUE(window().textStyle().background);
    EXPECT_FALSE(window().textStyle().bold);
    EXPECT_EQ(window().textStyle().colour, "#12ab00");
}

TEST_F(PlaybackTest, SkippedFootnotesArePassedOverDuringPlayback)
{
    const Scrambler scrambler;
    std::string settings;
    for (const char* line : {"50", "1.0", "1", "0", "0", "0", "1", "1", "#ff8000", "0", "0", "0", "", "0"})
        settings += scrambler.scramble(line) + "\n";
    settings.pop_back();
    ASSERT_TRUE(writeFileAtomically(m_harness.home() + "/Settings.dl", settings));
    m_harness.restart();
    open();
    const std::vector<int> rows = m_harness.selectedRowsDuring(12500);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(std::vector<int>(rows.begin(), rows.begin() + 4), (std::vector<int>{1, 2, 3, 5}));
}

}  // namespace
}  // namespace korvin
