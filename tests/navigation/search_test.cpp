// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/search.h"

#include <gtest/gtest.h>

#include "platform/controlids.h"
#include "support/controllerharness.h"
#include "support/tablecells.h"
#include "support/testbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;
using test::TestBook;
using test::Texts;

// A book of three headings over two text documents and the navigation file:
//
//   row heading  par  document#fragment  text
//   0   0        p1   text1.html#t1      "Vertrag am Anfang"       a.mp3 0–2
//   1   0        p2   text1.html#t2      "der vertrag, der VERTRAG" a.mp3 2–4
//   2   0        p3   text1.html#t3      "nichts"                  a.mp3 4–6
//   3   1        p4   text1.html#t4      "über den Vertrag"        b.mp3 0–2
//   4   2        p5   text2.html#t5      "ÜBER alles <&>"          c.mp3 0–2
//   5   2        p6   text2.html#t6      "kein Wort"               c.mp3 2–4
//   6   2        p7   ncc.html#n1        "Vertrag"                 c.mp3 4–6
//   7   2        p8   text1.html#t8      "Schluss: Vertrag"        c.mp3 6–8
//
// text1.html holds t1 to t4 and t8, in this order; row 7 is a second run of it.
class SearchTest : public ::testing::Test {
protected:
    SearchTest()
    {
        m_book.writeNcc(TestBook::Ncc()
                            .meta("dc:title", "Suchbuch")
                            .meta("ncc:charset", "utf-8")
                            .heading(1, "Der Vertrag", "a.smil#p1")
                            .heading(1, "Ein Kapitel", "b.smil#p4")
                            .heading(1, "Über Verträge", "c.smil#p5"));
        m_book.writeSmil("a.smil", TestBook::Smil()
                                       .par("p1", "text1.html#t1", {{"a.mp3", "0.000", "2.000"}})
                                       .par("p2", "text1.html#t2", {{"a.mp3", "2.000", "4.000"}})
                                       .par("p3", "text1.html#t3", {{"a.mp3", "4.000", "6.000"}}));
        m_book.writeSmil("b.smil", TestBook::Smil().par("p4", "text1.html#t4", {{"b.mp3", "0.000", "2.000"}}));
        m_book.writeSmil("c.smil", TestBook::Smil()
                                       .par("p5", "text2.html#t5", {{"c.mp3", "0.000", "2.000"}})
                                       .par("p6", "text2.html#t6", {{"c.mp3", "2.000", "4.000"}})
                                       .par("p7", "ncc.html#n1", {{"c.mp3", "4.000", "6.000"}})
                                       .par("p8", "text1.html#t8", {{"c.mp3", "6.000", "8.000"}}));
        const std::string folder = m_book.folder();
        for (const auto& [name, seconds] : {std::pair{"a.mp3", 6.5}, {"b.mp3", 2.5}, {"c.mp3", 8.5}})
            m_harness.player.addFile(folder + name, seconds);
        const std::vector<std::pair<std::string, std::string>> text1 = {
            {"t1", "Vertrag am Anfang"}, {"t2", "der vertrag, der VERTRAG"}, {"t3", "nichts"},
            {"t4", "über den Vertrag"}, {"t8", "Schluss: Vertrag"}};
        const std::vector<std::pair<std::string, std::string>> text2 = {{"t5", "ÜBER alles <&>"}, {"t6", "kein Wort"}};
        m_harness.textView.addDocument(folder + "text1.html", text1);
        m_harness.textView.addDocument(folder + "text2.html", text2);
        m_harness.textDocuments.add(folder + "text1.html", text1);
        m_harness.textDocuments.add(folder + "text2.html", text2);
        m_harness.textDocuments.add(folder + "ncc.html", {{"n1", "Vertrag"}});
        m_harness.openBook(folder);
        m_harness.advance(100);
    }

    MainController& controller() { return m_harness.controller(); }
    const MenuModel& menu() { return controller().menu(); }
    const BookTable& hits() { return controller().tables().searchHits; }

    // Runs a search command with `term` typed into the search dialog.
    void search(int command, const std::string& term)
    {
        m_harness.dialogs.searchTerm = term;
        m_harness.messageBoxes.shown.clear();
        controller().command(command);
    }
    std::string message() const
    {
        return m_harness.messageBoxes.shown.empty() ? "<none>" : m_harness.messageBoxes.shown.back().text;
    }

    ControllerHarness m_harness;
    TestBook m_book;
};

TEST_F(SearchTest, TheBookSearchFindsEveryOccurrenceInTheTextOncePerPhraseLine)
{
    search(cmd::kSearchBook, "VERTRAG");
    // The first phrase at position 0, two in one phrase, a heading of one
    // phrase, the last phrase of a document in its second run; not the
    // navigation file.
    EXPECT_EQ(message(), "Das Suchergebnis ist 5 .");
    EXPECT_EQ(m_harness.messageBoxes.shown.back().caption, "Information");
    EXPECT_EQ(m_harness.messageBoxes.shown.back().icon, MessageBoxes::Icon::kInformation);
    EXPECT_EQ(m_harness.searchResultList.lines(), (Texts{"Der Vertrag", "Der Vertrag", "Ein Kapitel", "Über Verträge"}));
    EXPECT_EQ(test::row(hits(), 1), (Texts{"0", "vertrag", "1", "t2"}));
    EXPECT_EQ(test::column(hits(), col::searchhit::kEventId), (Texts{"0", "1", "3", "7"}));
    EXPECT_EQ(m_harness.waitWindow.texts, (std::vector<std::string>{"Suche läuft. Bitte warten..."}));
    EXPECT_TRUE(m_harness.searchResultList.isEnabled());
    EXPECT_FALSE(menu().isGrayed(cmd::kSearchNext));
    EXPECT_TRUE(menu().isGrayed(cmd::kSearchPrevious));
    EXPECT_EQ(controller().state().searchTerm, "vertrag");
    EXPECT_FALSE(controller().state().textSearchMode);
    // The term is marked in the shown document's text.
    EXPECT_NE(m_harness.textView.bodyInnerHtml().value_or("").find(">Vertrag</SPAN> am Anfang"), std::string::npos);

    search(cmd::kSearchBook, "über");
    EXPECT_EQ(message(), "Das Suchergebnis ist 2 .");
    search(cmd::kSearchBook, "<&>");
    EXPECT_EQ(message(), "Das Suchergebnis ist 1 .");
    search(cmd::kSearchBook, "P1");  // an id, not a word of the text
    EXPECT_EQ(message(), "Das Suchergebnis ist 0 .");
    search(cmd::kSearchBook, std::string(1000, 'v'));
    EXPECT_EQ(message(), "Das Suchergebnis ist 0 .");
    EXPECT_FALSE(m_harness.searchResultList.isEnabled());
    EXPECT_TRUE(menu().isGrayed(cmd::kSearchNext));
}

TEST_F(SearchTest, TheTextSearchFindsTheCurrentHeadingsPhrasesOnly)
{
    search(cmd::kSearchText, "vertrag");
    EXPECT_EQ(message(), "Das Suchergebnis ist 3 .");
    EXPECT_EQ(m_harness.searchResultList.lines(), (Texts{"Der Vertrag", "Der Vertrag"}));
    EXPECT_TRUE(controller().state().textSearchMode);

    controller().tables().tree.select(1);  // a heading of a single phrase
    m_harness.advance(100);
    search(cmd::kSearchText, "Vertrag");
    EXPECT_EQ(message(), "Das Suchergebnis ist 1 .");
    EXPECT_EQ(test::column(hits(), col::searchhit::kEventId), (Texts{"3"}));

    search(cmd::kSearchBook, "vertrag");
    EXPECT_FALSE(controller().state().textSearchMode);
}

TEST_F(SearchTest, TheHeadingSearchListsTheTitlesThatHoldTheTerm)
{
    search(cmd::kSearchHeadings, "VERTR");
    EXPECT_EQ(message(), "Das Suchergebnis ist 2 .");
    EXPECT_EQ(m_harness.searchResultList.lines(), (Texts{"Der Vertrag", "Über Verträge"}));
    EXPECT_EQ(test::row(hits(), 1), (Texts{"2", "", "", ""}));
    EXPECT_TRUE(m_harness.waitWindow.texts.empty());

    controller().command(cmd::kEnglish);
    search(cmd::kSearchBook, "Wort");
    EXPECT_EQ(message(), "The search result is 1 .");
    EXPECT_EQ(m_harness.waitWindow.texts.back(), "Searching. Please wait...");
    EXPECT_EQ(m_harness.dialogs.searchDialogs.back().caption, "Search...");
    EXPECT_EQ(m_harness.dialogs.searchDialogs.back().prompt, "Please enter a search item...");
    EXPECT_EQ(m_harness.dialogs.searchDialogs.back().cancel, "Cancel");
}

TEST_F(SearchTest, NextAndPreviousJumpToThePhraseThatHoldsTheHitAndGrayAtTheEnds)
{
    search(cmd::kSearchBook, "vertrag");
    controller().command(cmd::kPhraseForward);  // away from the first hit
    m_harness.advance(100);
    struct Step {
        int command;
        int line;
        int phrase;
        double position;
        bool nextGrayed;
        bool previousGrayed;
    };
    const Step steps[] = {
        {cmd::kSearchNext, 0, 0, 0.0, false, true},     {cmd::kSearchNext, 1, 1, 2.0, false, false},
        {cmd::kSearchNext, 2, 3, 0.0, false, false},    {cmd::kSearchNext, 3, 7, 6.0, true, false},
        {cmd::kSearchNext, 3, 7, 6.0, true, false},     {cmd::kSearchPrevious, 2, 3, 0.0, false, false},
        {cmd::kSearchPrevious, 1, 1, 2.0, false, false}, {cmd::kSearchPrevious, 0, 0, 0.0, false, true},
    };
    for (const Step& step : steps) {
        m_harness.windowView.focus = 0;
        controller().command(step.command);
        m_harness.advance(10);
        EXPECT_EQ(m_harness.searchResultList.currentIndex(), step.line) << step.line;
        EXPECT_EQ(m_harness.selectedPhrase(), step.phrase) << step.line;
        EXPECT_NEAR(m_harness.player.position(), step.position + 0.01, 0.02) << step.line;
        EXPECT_EQ(menu().isGrayed(cmd::kSearchNext), step.nextGrayed) << step.line;
        EXPECT_EQ(menu().isGrayed(cmd::kSearchPrevious), step.previousGrayed) << step.line;
    }
    // Choosing a line jumps as well and gives the focus to the tree.
    m_harness.searchResultList.setCurrentIndex(3);
    controller().notify(control::kSearchResultList, notify::kSelectionChanged);
    EXPECT_EQ(m_harness.selectedPhrase(), 7);
    EXPECT_EQ(m_harness.windowView.focus, control::kHeadingTree);
}

TEST_F(SearchTest, AHitInThePhraseBeingPlayedStartsItAgainAndASingleHitGraysBothMoves)
{
    search(cmd::kSearchHeadings, "kapitel");
    controller().command(cmd::kSearchNext);
    EXPECT_TRUE(menu().isGrayed(cmd::kSearchNext));
    EXPECT_TRUE(menu().isGrayed(cmd::kSearchPrevious));
    EXPECT_EQ(m_harness.selectedPhrase(), 3);

    search(cmd::kSearchText, "über");
    m_harness.advance(1500);
    controller().command(cmd::kSearchNext);
    m_harness.advance(10);
    EXPECT_EQ(m_harness.selectedPhrase(), 3);
    EXPECT_NEAR(m_harness.player.position(), 0.01, 0.02);
}

TEST_F(SearchTest, CancelKeepsTheHitsATooShortTermClearsThemAndEveryPathPlaysOn)
{
    search(cmd::kSearchBook, "vertrag");
    int pausedWhileAsked = 0;
    m_harness.dialogs.whileAskingSearchTerm = [&] {
        pausedWhileAsked += m_harness.player.playState() == MediaPlayer::kPaused;
    };
    ASSERT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);
    m_harness.dialogs.searchTerm.reset();
    controller().command(cmd::kSearchHeadings);
    controller().command(cmd::kSearchText);
    EXPECT_EQ(m_harness.searchResultList.lines().size(), 4u);
    EXPECT_FALSE(menu().isGrayed(cmd::kSearchNext));
    EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying);

    // One character, of one byte or two: cleared, nothing searched.
    for (const char* term : {"x", "ü"}) {
        search(cmd::kSearchBook, term);
        EXPECT_TRUE(m_harness.searchResultList.lines().empty()) << term;
        EXPECT_TRUE(menu().isGrayed(cmd::kSearchNext)) << term;
        EXPECT_TRUE(m_harness.messageBoxes.shown.empty()) << term;
        EXPECT_EQ(m_harness.player.playState(), MediaPlayer::kPlaying) << term;
    }
    EXPECT_EQ(pausedWhileAsked, 4);
}

// The text search's mode would have the first heading chosen empty the list
// of a later heading search: R has to reach every heading it lists.
TEST_F(SearchTest, AHeadingSearchAfterATextSearchInThisOrAnotherBookKeepsItsHits)
{
    for (const bool reopened : {false, true}) {
        SCOPED_TRACE(reopened ? "the book opened again" : "the same book");
        controller().tables().tree.select(0);
        search(cmd::kSearchText, "vertrag");
        ASSERT_TRUE(controller().state().textSearchMode);
        if (reopened) {
            m_harness.openBook(m_book.folder());
            EXPECT_FALSE(controller().state().textSearchMode);
        }
        search(cmd::kSearchHeadings, "vertr");
        EXPECT_FALSE(controller().state().textSearchMode);
        for (const int heading : {0, 2}) {
            controller().command(cmd::kSearchNext);
            EXPECT_EQ(controller().tree().selectedItem(), heading);
            EXPECT_EQ(m_harness.searchResultList.count(), 2);
        }
    }
}

TEST_F(SearchTest, OpeningAnotherBookEmptiesTheResults)
{
    search(cmd::kSearchBook, "vertrag");
    m_harness.dialogs.nccFile.reset();
    controller().command(cmd::kOpen);
    EXPECT_TRUE(m_harness.searchResultList.lines().empty());
    EXPECT_EQ(hits().rowCount(), 0);
    EXPECT_TRUE(controller().state().searchTerm.empty());
    EXPECT_FALSE(m_harness.searchResultList.isEnabled());
}

}  // namespace
}  // namespace korvin
