// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/phrasesearch.h"

#include <gtest/gtest.h>

#include "book/booktables.h"
#include "support/fakeplatform.h"

namespace korvin {
namespace {

using test::FakeTextDocuments;

// Rows of the phrase table: heading, document, fragment.
struct Row {
    std::string treeId;
    std::string document;
    std::string fragment;
};

void fill(BookTable& phrases, const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        const int index = phrases.insertRow(phrases.rowCount(), row.treeId);
        phrases.setText(index, col::phrase::kDokument, row.document);
        phrases.setText(index, col::phrase::kDokFragment, row.fragment);
    }
}

struct PlaceCase {
    const char* name;
    DocumentText document;
    std::vector<std::pair<int, std::string>> phrases;  // row, fragment
    std::string term;
    std::vector<PhraseHit> expected;
};

TEST(PlaceOccurrences, GivesEachOccurrenceToThePhraseWhoseFragmentBeginsLastAtOrBeforeIt)
{
    // "Vertrag am Anfang\nDer Vertrag und der Vertrag\nZuletzt ein Vertrag"
    const DocumentText three{"Vertrag am Anfang\nDer Vertrag und der Vertrag\nZuletzt ein Vertrag",
                             {{"p1", 0}, {"p2", 18}, {"p3", 46}}};
    const std::vector<PlaceCase> cases = {
        {"at position 0, twice in one phrase, in the last phrase", three, {{0, "p1"}, {1, "p2"}, {2, "p3"}},
         "vertrag", {{0, 1}, {1, 2}, {2, 1}}},
        {"a single phrase holds all", three, {{7, "p2"}}, "vertrag", {{7, 4}}},
        {"a fragment that is no id takes nothing", three, {{0, "p1"}, {1, "gone"}, {2, "p3"}}, "vertrag",
         {{0, 3}, {2, 1}}},
        {"rows of one fragment: the first takes them", three, {{0, "p1"}, {1, "p2"}, {2, "p2"}, {3, "p3"}},
         "vertrag", {{0, 1}, {1, 2}, {3, 1}}},
        {"text before the first fragment goes to the first phrase",
         {"Titel Vertrag\nText", {{"p1", 14}}}, {{4, "p1"}}, "vertrag", {{4, 1}}},
        {"an element that begins with another: the inner one takes it",
         {"Vertrag", {{"outer", 0}, {"inner", 0}}}, {{0, "outer"}, {1, "inner"}}, "vertrag", {{1, 1}}},
        {"the first of two elements with one id counts",
         {"eins\nzwei Wort", {{"a", 0}, {"b", 5}, {"a", 10}}}, {{0, "a"}, {1, "b"}}, "wort", {{1, 1}}},
        {"capitals of the text, umlauts too", {"ÜBER Über über", {{"p", 0}}}, {{0, "p"}}, "über", {{0, 3}}},
        {"occurrences may overlap", {"aaa", {{"p", 0}}}, {{0, "p"}}, "aa", {{0, 2}}},
        {"signs match as written", {"a < b & \"c\" *d*", {{"p", 0}}}, {{0, "p"}}, "& \"c\" *", {{0, 1}}},
        {"nothing found", three, {{0, "p1"}}, "frieden", {}},
        {"no fragment of the document", three, {{0, "x"}, {1, ""}}, "vertrag", {}},
    };
    for (const PlaceCase& c : cases) {
        DocumentText document = c.document;
        std::vector<PhraseFragment> phrases;
        for (const auto& [row, fragment] : c.phrases)
            phrases.push_back(PhraseFragment{row, fragment});
        EXPECT_EQ(placeOccurrences(document, c.term, phrases), c.expected) << c.name;
    }
}

class PhraseSearchTest : public ::testing::Test {
protected:
    PhraseSearchTest()
    {
        // Heading 0 reads a.html, heading 1 a.html and b.html, heading 2 the
        // navigation file, heading 3 a.html again.
        fill(m_tables.phrases, {{"0", "/b/a.html", "a1"},
                                {"0", "/b/a.html", "a2"},
                                {"1", "/b/a.html", "a3"},
                                {"1", "/b/B.HTML", "b1"},
                                {"1", "/b/B.HTML", "b2"},
                                {"2", "/b/ncc.html", "h1"},
                                {"3", "/b/a.html", "a4"},
                                {"3", "/b/gone.html", "g1"}});
        m_documents.add("/b/a.html", {{"a1", "Ein Wort"}, {"a2", "zwei Worte, WORT"}, {"a3", "kein"}, {"a4", "wort"}});
        m_documents.add("/b/b.html", {{"b1", "Wortlaut"}, {"b2", "nichts"}});
        m_documents.add("/b/ncc.html", {{"h1", "Wort"}});
    }

    PhraseSearch search()
    {
        // The letter-case search of the book's files.
        return PhraseSearch(m_tables.phrases, m_documents,
                            [](const std::string& path) { return path == "/b/B.HTML" ? "/b/b.html" : path; });
    }

    BookTables m_tables;
    FakeTextDocuments m_documents;
};

TEST_F(PhraseSearchTest, TheBookSearchReadsEveryDocumentOnceAndCountsEveryOccurrenceOnce)
{
    const PhraseHits hits = search().searchBook("wort");
    EXPECT_EQ(hits.phrases, (std::vector<PhraseHit>{{0, 1}, {1, 2}, {3, 1}, {6, 1}}));
    EXPECT_EQ(hits.occurrences, 5);
    // The navigation file is not searched; a missing document is passed over.
    EXPECT_EQ(m_documents.reads, (std::vector<std::string>{"/b/a.html", "/b/b.html", "/b/gone.html"}));
}

TEST_F(PhraseSearchTest, TheTextSearchCountsTheHeadingsPhrasesOnlyAndEndsTheirPartWhereTheNextHeadingBegins)
{
    EXPECT_EQ(search().searchDocument("/b/a.html", "0", "wort").phrases, (std::vector<PhraseHit>{{0, 1}, {1, 2}}));
    // "kein" in a3 alone: heading 1's text in a.html holds no "wort", though
    // heading 3's phrase follows it.
    EXPECT_EQ(search().searchDocument("/b/a.html", "1", "wort").occurrences, 0);
    EXPECT_EQ(search().searchDocument("/b/b.html", "1", "wort").phrases, (std::vector<PhraseHit>{{3, 1}}));
    // A heading of a single phrase.
    EXPECT_EQ(search().searchDocument("/b/a.html", "3", "wort").phrases, (std::vector<PhraseHit>{{6, 1}}));
    EXPECT_EQ(search().searchDocument("", "0", "wort").occurrences, 0);
}

TEST(SearchHeadings, FindsTheTermInTitlesWithoutRegardToCase)
{
    BookTables tables;
    for (const char* title : {"Über den Vertrag", "Anhang", "VERTRÄGE", "vertrag"}) {
        const int row = tables.headings.insertRow(tables.headings.rowCount(), "1");
        tables.headings.setText(row, col::heading::kTitel, title);
    }
    EXPECT_EQ(searchHeadings(tables.headings, "vertr"), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(searchHeadings(tables.headings, "über"), (std::vector<int>{0}));
    EXPECT_TRUE(searchHeadings(tables.headings, "").empty());
}

}  // namespace
}  // namespace korvin
