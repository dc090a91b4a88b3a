// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program listening to a book: the real window (offscreen), the real
// libmpv player (ao=null), the real text view, on a book with real audio.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/maincontroller.h"
#include "desktop/html/htmltextview.h"
#include "desktop/window/desktopprogram.h"
#include "desktop/window/windowfixture.h"
#include "support/audiofiles.h"
#include "support/tempdir.h"
#include "support/testbook.h"
#include "ui/commandids.h"
#include "support/sourcepaths.h"

namespace korvin {
namespace {

using test::runUntil;

const std::string kHighlight = "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">";

class Listening : public ::testing::Test {
protected:
    Listening()
        : m_program(Folders{m_home.path().string(), korvin::test::sourceDir() + "/resources"})
    {
        m_program.start();
    }

    MainController& controller() { return m_program.controller(); }
    int selectedRow() { return controller().tables().phrases.selectedRow(); }

    // Opens `folder`, lets two phrases pass and checks that the player and the
    // text view follow the selected row.
    void listenToTwoPhrases(const std::string& folder, int timeoutMs)
    {
        m_program.openAtStart(folder);
        ASSERT_TRUE(controller().playback().bookOpen);
        const int first = selectedRow();
        ASSERT_GE(first, 0);
        ASSERT_TRUE(runUntil([&] { return selectedRow() >= first + 2; }, timeoutMs)) << "row " << selectedRow();
        const int row = selectedRow();
        EXPECT_EQ(m_program.player().playState(), MediaPlayer::kPlaying);
        const BookTable& phrases = controller().tables().phrases;
        EXPECT_GE(m_program.player().position() + 0.2, phrases.real(row, col::phrase::kPhrBeg));
        // The highlight follows 50 ms after the phrase starts.
        const std::string fragment = phrases.text(row, col::phrase::kDokFragment);
        ASSERT_TRUE(runUntil(
            [&] { return m_program.textView().elementInnerHtml(fragment).value_or("").rfind(kHighlight, 0) == 0; },
            2000))
            << m_program.textView().elementInnerHtml(fragment).value_or("<no element>");
        const std::string previous = phrases.text(row - 1, col::phrase::kDokFragment);
        if (previous != fragment) {
            EXPECT_EQ(m_program.textView().elementInnerHtml(previous).value_or("").find(kHighlight), std::string::npos);
        }
    }

    test::TempDir m_home;
    DesktopProgram m_program;
};

TEST_F(Listening, AGeneratedBookPlaysPhraseByPhraseWithTheTextFollowing)
{
    test::TestBook book;
    book.writeNcc(test::TestBook::Ncc()
                      .meta("dc:title", "Töne")
                      .meta("ncc:charset", "utf-8")
                      .heading(1, "Erster Teil", "a.smil#p1")
                      .heading(1, "Zweiter Teil", "b.smil#p4"));
    book.writeSmil("a.smil", test::TestBook::Smil()
                                 .par("p1", "text.html#t1", {{"a.wav", "0.000", "0.800"}})
                                 .par("p2", "text.html#t2", {{"a.wav", "0.800", "1.600"}})
                                 .par("p3", "text.html#t3", {{"a.wav", "1.600", "2.400"}}));
    book.writeSmil("b.smil", test::TestBook::Smil().par("p4", "text.html#t4", {{"b.wav", "0.000", "1.000"}}));
    book.writeHtml("text.html", {{"t1", "Eins"}, {"t2", "Zwei"}, {"t3", "Drei"}, {"t4", "Vier"}});
    test::writeToneWav(book.dir().path() / "a.wav", 2.6);
    test::writeToneWav(book.dir().path() / "b.wav", 1.2);

    listenToTwoPhrases(book.folder(), 10000);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(m_program.textView().elementInnerHtml("t3"), kHighlight + "Drei</SPAN>");
    EXPECT_EQ(m_program.textView().elementInnerHtml("t1"), "Eins");
}

TEST_F(Listening, TheSampleBookPlaysPhraseByPhraseWithTheTextFollowing)
{
    const std::string folder = korvin::test::sharedBooksDir() + "/dontworrybehappy/";
    if (!std::filesystem::exists(korvin::test::sharedBooksDir() + "/dontworrybehappy/ncc.html"))
        GTEST_SKIP() << "the sample books are not here";
    listenToTwoPhrases(folder, 20000);
}

// Each phrase in a WAV of its own, as synthetic-speech productions keep them,
// one clip a few milliseconds longer than its file: automatic playback reaches
// every phrase of every heading, in order, and starts the book again.
TEST_F(Listening, EveryPhraseOfABookWithOneFilePerPhraseIsReachedInOrder)
{
    test::TestBook book;
    test::TestBook::Ncc ncc;
    std::vector<std::pair<std::string, std::string>> paragraphs;
    for (int heading = 0; heading < 2; ++heading) {
        const std::string smil = "h" + std::to_string(heading) + ".smil";
        ncc.heading(1, "Teil " + std::to_string(heading + 1), smil + "#p" + std::to_string(heading * 3));
        test::TestBook::Smil pars;
        for (int i = heading * 3; i < heading * 3 + 3; ++i) {
            const std::string id = std::to_string(i);
            const std::string wav = "phrase" + id + ".wav";
            test::writeToneWav(book.dir().path() / wav, 0.4);
            pars.par("p" + id, "text.html#t" + id, {{wav, "0.000", i == 1 ? "0.404" : "0.400"}});
            paragraphs.emplace_back("t" + id, "Satz " + id);
        }
        book.writeSmil(smil, pars);
    }
    book.writeNcc(ncc);
    book.writeHtml("text.html", paragraphs);

    m_program.openAtStart(book.folder());
    controller().command(cmd::kAutoPlayback);
    ASSERT_TRUE(controller().settings().autoPlay);
    std::vector<int> rows{selectedRow()};
    ASSERT_TRUE(runUntil(
        [&] {
            if (selectedRow() != rows.back())
                rows.push_back(selectedRow());
            return rows.size() >= 7;
        },
        20000))
        << ::testing::PrintToString(rows);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 4, 5, 0}));
}

// Without automatic playback a heading ends where its file ends (libmpv tells
// it as media ended): back at its first phrase, paused there until Space.
TEST_F(Listening, AHeadingWhoseFileEndsWaitsPausedAtItsFirstPhrase)
{
    test::TestBook book;
    book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#p1").heading(1, "Zwei", "b.smil#p3"));
    book.writeSmil("a.smil", test::TestBook::Smil()
                                 .par("p1", "text.html#t1", {{"a.wav", "0.200", "0.600"}})
                                 .par("p2", "text.html#t2", {{"a.wav", "0.600", "1.000"}}));
    book.writeSmil("b.smil", test::TestBook::Smil().par("p3", "text.html#t3", {{"b.wav", "0.000", "1.000"}}));
    book.writeHtml("text.html", {{"t1", "Eins"}, {"t2", "Zwei"}, {"t3", "Drei"}});
    test::writeToneWav(book.dir().path() / "a.wav", 1.2);
    test::writeToneWav(book.dir().path() / "b.wav", 1.0);

    m_program.openAtStart(book.folder());
    ASSERT_FALSE(controller().settings().autoPlay);
    std::vector<int> rows{selectedRow()};
    const MediaPlayer& player = m_program.player();
    ASSERT_TRUE(runUntil(
        [&] {
            if (selectedRow() != rows.back())
                rows.push_back(selectedRow());
            return rows.size() >= 3;
        },
        10000))
        << ::testing::PrintToString(rows) << " state " << player.playState();
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 0}));
    // Moved from the end to the phrase: stopped there, not playing.
    EXPECT_EQ(player.playState(), MediaPlayer::kStopped);
    EXPECT_NEAR(player.position(), 0.2, 0.03);
    EXPECT_EQ(controller().tables().tree.selectedItem(), 0);
    controller().command(cmd::kPauseContinue);
    EXPECT_TRUE(runUntil([&] { return selectedRow() == 1; }, 5000));
}

// A folder whose name holds "#", ends in ".smil" and has letters beyond ASCII:
// the documents load, a link to a SMIL file plays its phrase.
TEST_F(Listening, ABookInAFolderNamedWithHashSmilAndUmlautsShowsItsTextAndFollowsLinks)
{
    test::TestBook book;
    const std::string folder = book.folder() + "Bücher #1.smil/";
    book.writeNcc(test::TestBook::Ncc().heading(1, "Eins", "a.smil#p1").heading(1, "Zwei", "b.smil#p3"),
                  "Bücher #1.smil/ncc.html");
    book.writeSmil("Bücher #1.smil/a.smil", test::TestBook::Smil()
                                                .par("p1", "text.html#t1", {{"a.wav", "0.000", "1.000"}})
                                                .par("p2", "text.html#t2", {{"a.wav", "1.000", "2.000"}}));
    book.writeSmil("Bücher #1.smil/b.smil", test::TestBook::Smil()
                                                .par("p3", "text.html#t3", {{"b.wav", "0.000", "1.000"}})
                                                .par("p4", "text.html#t4", {{"b.wav", "1.000", "2.000"}}));
    book.write("Bücher #1.smil/text.html",
               "<html><body><p id=\"t1\">Eins <a href=\"b.smil#p4\">weiter</a></p><p id=\"t2\">Zwei</p>"
               "<p id=\"t3\">Drei</p><p id=\"t4\">Vier</p></body></html>");
    test::writeToneWav(std::filesystem::u8path(folder + "a.wav"), 2.0);
    test::writeToneWav(std::filesystem::u8path(folder + "b.wav"), 2.0);

    m_program.openAtStart(folder);
    ASSERT_TRUE(controller().playback().bookOpen);
    HtmlView& view = m_program.textView();
    ASSERT_TRUE(runUntil([&] { return view.elementInnerHtml("t1").value_or("").rfind(kHighlight, 0) == 0; }, 5000))
        << view.locationName();
    EXPECT_EQ(view.locationName(), folder + "text.html");

    dynamic_cast<HtmlTextView&>(view).activateLink("b.smil#p4");
    EXPECT_EQ(controller().tables().tree.selectedItem(), 1);
    EXPECT_EQ(selectedRow(), 3);
    ASSERT_TRUE(runUntil([&] { return m_program.player().position() > 1.1; }, 5000));
    EXPECT_EQ(m_program.player().url(), folder + "b.wav");
    EXPECT_EQ(view.locationName(), folder + "text.html");
}

}  // namespace
}  // namespace korvin
