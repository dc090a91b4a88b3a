// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/daisy3reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "book/phraselookup.h"
#include "support/tablecells.h"
#include "support/testbook.h"
#include "support/sourcepaths.h"

namespace korvin {
namespace {

using test::column;
using test::row;
using test::TestBook;
using test::treeItems;
using test::Texts;

struct Reading {
    BookTables tables;
    Daisy3Reader::Result result = Daisy3Reader::kFailed;
    BookInfo info;
    BookCredits credits;
    int codePage = 0;
    FeatureFlags features;
};

std::unique_ptr<Reading> read(const TestBook& book, const std::string& package = "book.opf")
{
    auto reading = std::make_unique<Reading>();
    Daisy3Reader reader(reading->tables, book.folder(), package, "von");
    NoProgress progress;
    reading->result = reader.read(progress);
    reading->info = reader.info();
    reading->credits = reader.credits();
    reading->codePage = reader.codePage();
    reading->features = reader.features();
    return reading;
}

// pars p1..pN in `file`, each with text t<i> in book.xml and 1 s of a.wav.
TestBook::Smil2 pars(int from, int to)
{
    TestBook::Smil2 smil;
    for (int i = from; i <= to; ++i) {
        const std::string n = std::to_string(i);
        smil.par("p" + n, "book.xml#t" + n, {{"a.wav", std::to_string(i - 1) + "s", std::to_string(i) + "s"}});
    }
    return smil;
}

TEST(Daisy3Reader, FillsTheTablesFromThePackageTheNavigationFileAndTheSmilFiles)
{
    TestBook book;
    book.writePackage(TestBook::Package()
                          .title("Das  Buch")
                          .identifier("id-1")
                          .date("2024-05-06")
                          .meta("dtb:totalTime", "0:00:05.5")
                          .smil("a.smil")
                          .smil("b.smil"));
    book.writeNcx(TestBook::Ncx()
                      .docTitle("Das Buch")
                      .navPoint(1, "  Eins\n ", "a.smil#p2")
                      .navPoint(2, "Zwei", "a.smil#p3")
                      .navPoint(1, "Drei", "b.smil#p4"));
    book.writeSmil2("a.smil", pars(1, 3));
    book.writeSmil2("b.smil", TestBook::Smil2().par("p4", "book.xml#t4", {{"b.wav", "0:00:00", "0:00:02.500"}}));
    const auto r = read(book);
    ASSERT_EQ(r->result, Daisy3Reader::kRead);
    const std::string doc = book.folder() + "book.xml";
    EXPECT_EQ(r->info, (BookInfo{"2024-05-06", "id-1", "Das Buch", "4", "00:00:05.500", ""}));
    EXPECT_EQ(r->codePage, 65001);
    EXPECT_EQ(r->features, (FeatureFlags{true, false, false, false, false, false, false, true}));
    // The audio before the first navPoint is the title heading's.
    EXPECT_EQ(row(r->tables.headings, 0), (Texts{"1", "Das Buch", "a.smil", "00:00:01", "00:00:00", "0"}));
    EXPECT_EQ(row(r->tables.headings, 1), (Texts{"1", "Eins", "a.smil", "00:00:01", "00:00:01", "1"}));
    EXPECT_EQ(row(r->tables.headings, 2), (Texts{"2", "Zwei", "a.smil", "00:00:01", "00:00:02", "2"}));
    EXPECT_EQ(row(r->tables.headings, 3), (Texts{"1", "Drei", "b.smil", "00:00:02.500", "00:00:03", "3"}));
    EXPECT_EQ(r->tables.headings.rowCount(), 4);
    EXPECT_EQ(row(r->tables.phrases, 0), (Texts{"0", "p1", doc, "t1", "txt_p1", "a.wav", "0.000", "1.000", ""}));
    EXPECT_EQ(row(r->tables.phrases, 2), (Texts{"2", "p3", doc, "t3", "txt_p3", "a.wav", "2.000", "3.000", ""}));
    EXPECT_EQ(row(r->tables.phrases, 3), (Texts{"3", "p4", doc, "t4", "txt_p4", "b.wav", "0.000", "2.500", ""}));
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kTreeId), (Texts{"0", "1", "2", "3"}));
    EXPECT_EQ(treeItems(r->tables.tree), (Texts{"0 0 Das Buch", "0 1 Eins", "1 2 Zwei", "0 3 Drei"}));
}

TEST(Daisy3Reader, TakesTheLevelFromTheDepthOfTheNavPoint)
{
    const std::vector<int> depths{1, 2, 3, 4, 5, 6, 7, 8, 2};
    TestBook book;
    book.writePackage(TestBook::Package().smil("a.smil"));
    TestBook::Ncx ncx;
    for (std::size_t i = 0; i < depths.size(); ++i)
        ncx.navPoint(depths[i], "H" + std::to_string(i), "a.smil#p" + std::to_string(i + 1));
    book.writeNcx(ncx);
    book.writeSmil2("a.smil", pars(1, static_cast<int>(depths.size())));
    const auto r = read(book);
    EXPECT_EQ(column(r->tables.headings, col::heading::kEbene), (Texts{"1", "2", "3", "4", "5", "6", "6", "6", "2"}));
    EXPECT_EQ(treeItems(r->tables.tree), (Texts{"0 0 H0", "1 1 H1", "2 2 H2", "3 3 H3", "4 4 H4", "5 5 H5", "5 6 H6",
                                                "5 7 H7", "1 8 H8"}));
}

TEST(Daisy3Reader, ReadsTheClockValuesIntoSecondsOfThePhraseTable)
{
    const struct {
        const char* begin;
        const char* end;
        const char* phrBeg;
        const char* phrEnd;
    } cases[] = {
        {"0:00:05.621", "61250ms", "5.621", "61.250"},  // the forms themselves: ClockValue's test
        {"90", "91.0005", "90.000", "91.0005"},
        {"", "2s", "0.000", "2.000"},   // clipBegin missing: the file's start
        {"1s", "soon", "1.000", ""},    // no clock value: no end
    };
    TestBook::Smil2 smil;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string id = "p" + std::to_string(i);
        smil.bodyLine("<par id=\"" + id + "\"><audio src=\"a.wav\"" +
                      (*cases[i].begin ? std::string(" clipBegin=\"") + cases[i].begin + "\"" : "") + " clipEnd=\"" +
                      cases[i].end + "\"/></par>");
    }
    TestBook book;
    book.writePackage(TestBook::Package().smil("a.smil"));
    book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "a.smil"));
    book.writeSmil2("a.smil", smil);
    const auto r = read(book);
    ASSERT_EQ(r->tables.phrases.rowCount(), static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const int row = static_cast<int>(i);
        EXPECT_EQ(r->tables.phrases.text(row, col::phrase::kPhrBeg), cases[i].phrBeg) << cases[i].begin;
        EXPECT_EQ(r->tables.phrases.text(row, col::phrase::kPhrEnd), cases[i].phrEnd) << cases[i].end;
    }
}

TEST(Daisy3Reader, MakesARowOfEveryParInNestedSeqsAndOfEveryFurtherClip)
{
    TestBook book;
    book.writePackage(TestBook::Package().smil("a.smil"));
    book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "a.smil"));
    book.writeSmil2("a.smil", TestBook::Smil2()
                                  .par("p1", "book.xml#t1", {{"a.wav", "0s", "1s"}, {"b.wav", "0s", "2s"}})
                                  .seq("id=\"s1\"")
                                  .seq()
                                  .par("p2", "book.xml#t2")  // text only
                                  .endSeq()
                                  .par("p3", "", {{"a.wav", "1s", "2s"}})  // audio only
                                  .endSeq()
                                  .bodyLine("<audio id=\"lone\" src=\"c.wav\" clipBegin=\"0s\" clipEnd=\"3s\"/>"));
    const auto r = read(book);
    const std::string doc = book.folder() + "book.xml";
    const Texts expected[] = {
        {"0", "p1", doc, "t1", "txt_p1", "a.wav", "0.000", "1.000", ""},
        {"0", "p1", doc, "t1", "txt_p1", "b.wav", "0.000", "2.000", ""},
        {"0", "p2", doc, "t2", "txt_p2", "", "", "", ""},
        {"0", "p3", "", "", "", "a.wav", "1.000", "2.000", ""},
        {"0", "lone", "", "", "", "c.wav", "0.000", "3.000", ""},
    };
    ASSERT_EQ(r->tables.phrases.rowCount(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < r->tables.phrases.rowCount(); ++i)
        EXPECT_EQ(row(r->tables.phrases, i), expected[i]) << i;
    EXPECT_EQ(r->tables.headings.text(0, col::heading::kZeit), "00:00:07");
}

TEST(Daisy3Reader, MarksSkippableKindsWithTheSkipClassesOfTheToggles)
{
    TestBook book;
    book.writePackage(TestBook::Package().smil("a.smil"));
    book.writeNcx(TestBook::Ncx()
                      .customTest("pn", "PAGE_NUMBER")
                      .customTest("side", "OPTIONAL_SIDEBAR")
                      .customTest("odd", "LINE_NUMBER")
                      .customTest("pn", "NOTE")  // the first declaration of an id counts
                      .navPoint(1, "Eins", "a.smil"));
    book.writeSmil2("a.smil", TestBook::Smil2()
                                  .customTest("pn")
                                  .par("p1", "book.xml#t1", {}, "customTest=\"pn\"")
                                  .par("p2", "book.xml#t2", {}, "class=\"noteref\"")
                                  .seq("customTest=\"note\"")
                                  .par("p3", "book.xml#t3")                         // inherits the note
                                  .par("p4", "book.xml#t4", {}, "class=\"prodnote\"")  // its own mark wins
                                  .endSeq()
                                  .seq("class=\"sidebar\"")
                                  .par("p5", "book.xml#t5", {}, "customTest=\"annotation\"")
                                  .endSeq()
                                  .par("p6", "book.xml#t6", {}, "customTest=\"odd\"")
                                  .par("p7", "book.xml#t7", {}, "class=\"list\" customTest=\"unknown\""));
    const auto r = read(book);
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kSkip),
              (Texts{"pagenumber", "footnote", "footnote", "prodnote", "footnote", "pagenumber", ""}));
    // Declared in the navigation file (the sidebar), or met in a SMIL file.
    EXPECT_TRUE(r->features.pageNumbers);
    EXPECT_TRUE(r->features.footnotes);
    EXPECT_TRUE(r->features.prodnotes);
    EXPECT_TRUE(r->features.sidebars);
}

// Pages and groups are found by the commands that jump to them, and a phrase
// finds its page, even when their phrase lies in a file other than the one
// its heading begins in.
TEST(Daisy3Reader, TiesPagesAndGroupsToThePhrasesTheCommandsFind)
{
    TestBook book;
    book.writePackage(TestBook::Package().smil("a.smil").smil("b.smil"));
    book.writeNcx(TestBook::Ncx()
                      .navPoint(1, "Eins", "a.smil#p2")
                      .navPoint(1, "Zwei", "b.smil#p5")
                      .page("i", "a.smil#p1", "front")
                      .page("1", "b.smil#s4")   // the seq around p4
                      .page("2", "b.smil#txt_p5")
                      .page("3", "gone.smil#x")
                      .navList("sidebar", "Kasten")
                      .navTarget("Kasten 1", "b.smil#p6")
                      .navList("note footnotes", "Fussnoten")
                      .navTarget("", "a.smil#p3")
                      .navTarget("Note 2", "b.smil#p4")
                      .navList("figure", "Bilder")
                      .navTarget("Bild 1", "a.smil#p1")
                      .navList("noteref", "Verweise")
                      .navTarget("Verweis 1", "a.smil#p1"));
    book.writeSmil2("a.smil", pars(1, 3));
    book.writeSmil2("b.smil", TestBook::Smil2()
                                  .seq("id=\"s4\"")
                                  .par("p4", "book.xml#t4")
                                  .endSeq()
                                  .par("p5", "book.xml#t5")
                                  .par("p6", "book.xml#t6"));
    const auto r = read(book);
    const BookTables& t = r->tables;
    EXPECT_EQ(row(t.pages, 0), (Texts{"i", "a.smil", "p1", "0"}));  // in the title heading
    EXPECT_EQ(row(t.pages, 1), (Texts{"1", "a.smil", "p4", "1"}));  // Eins goes on into b.smil
    EXPECT_EQ(row(t.pages, 2), (Texts{"2", "b.smil", "p5", "2"}));
    EXPECT_EQ(row(t.pages, 3), (Texts{"3", "gone.smil", "x", ""}));  // never met
    EXPECT_EQ(row(t.groups, 0), (Texts{"Fussnoten", "a.smil", "txt_p3", "1"}));  // labelled by its list
    EXPECT_EQ(row(t.groups, 1), (Texts{"Note 2", "a.smil", "txt_p4", "1"}));
    EXPECT_EQ(row(t.groups, 2), (Texts{"Kasten 1", "b.smil", "txt_p6", "2"}));
    EXPECT_EQ(t.groups.rowCount(), 3);
    EXPECT_TRUE(r->features.pages);
    EXPECT_TRUE(r->features.groups);
    EXPECT_EQ(r->info.tocItems, "10");

    const int pageRows[] = {0, 3, 4};
    for (int page = 0; page < 3; ++page) {
        const int phrase = pageRows[page];
        EXPECT_EQ(findPhraseRow(t, t.pages.text(page, col::page::kSmil), t.pages.text(page, col::page::kFragment)),
                  phrase)
            << page;
        EXPECT_EQ(findPageRowAt(t, phrase), page) << page;
    }
    const int groupRows[] = {2, 3, 5};
    for (int group = 0; group < 3; ++group)
        EXPECT_EQ(findTextIdRow(t, t.groups.text(group, col::group::kSmil), t.groups.text(group, col::group::kFragment)),
                  groupRows[group])
            << group;
}

// The audio before the first navPoint gets a heading of its own, named by the
// package's title; a book that begins at its first navPoint has none.
TEST(Daisy3Reader, GivesEachPhraseToTheHeadingItFollowsInTheSpine)
{
    const Texts allOfTheFirst{"0", "0", "0", "0", "0", "0"};
    const struct {
        const char* what;
        std::vector<std::string> targets;  // of the navPoints, all at depth 1, each named by its target
        bool titleHeading;
        Texts treeIds;  // of the phrases p1..p6 (a.smil: p1-p3, b.smil: p4-p6)
        Texts zeit;     // of the headings
    } cases[] = {
        {"begins at the first par", {"a.smil#p1"}, false, allOfTheFirst, {"00:00:06"}},
        {"begins at the file's start", {"a.smil"}, false, allOfTheFirst, {"00:00:06"}},
        {"begins at the seq around the first par", {"a.smil#mseq"}, false, allOfTheFirst, {"00:00:06"}},
        {"begins at the first par's text", {"a.smil#txt_p1"}, false, allOfTheFirst, {"00:00:06"}},
        {"a par before the first navPoint", {"a.smil#p2"}, true, {"0", "1", "1", "1", "1", "1"},
         {"00:00:01", "00:00:05"}},
        {"a file before the first navPoint", {"b.smil#p4"}, true, {"0", "0", "0", "1", "1", "1"},
         {"00:00:03", "00:00:03"}},
        {"no navPoint at all", {}, true, allOfTheFirst, {"00:00:06"}},
        {"a heading over two files", {"a.smil#p1", "b.smil#p5"}, false, {"0", "0", "0", "0", "1", "1"},
         {"00:00:04", "00:00:02"}},
        {"three headings in one file", {"a.smil#p1", "a.smil#p2", "a.smil#p3", "b.smil"}, false,
         {"0", "1", "2", "3", "3", "3"}, {"00:00:01", "00:00:01", "00:00:01", "00:00:03"}},
        {"a navPoint met after a later one has no phrases", {"a.smil#p1", "b.smil#p4", "a.smil#p2"}, false,
         {"0", "2", "2", "2", "2", "2"}, {"00:00:01", "", "00:00:05"}},
        {"the first of two headings at one phrase gets it", {"a.smil#p1", "a.smil#p1", "b.smil#p4"}, false,
         {"0", "0", "0", "2", "2", "2"}, {"00:00:03", "00:00:00", "00:00:03"}},
        {"a target that is not in its file", {"a.smil#p1", "a.smil#nothing", "b.smil#p4"}, false,
         {"0", "0", "0", "2", "2", "2"}, {"00:00:03", "", "00:00:03"}},
        {"a file that is not in the spine", {"a.smil#p1", "c.smil#p1", "b.smil#p4"}, false,
         {"0", "0", "0", "2", "2", "2"}, {"00:00:03", "", "00:00:03"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestBook book;
        book.writePackage(TestBook::Package().title("Titel").smil("a.smil").smil("b.smil"));
        TestBook::Ncx ncx;  // no docTitle: the package's title names the heading
        Texts titles = c.titleHeading ? Texts{"Titel"} : Texts{};
        for (const auto& target : c.targets) {
            ncx.navPoint(1, target, target);
            titles.push_back(target);
        }
        book.writeNcx(ncx);
        book.writeSmil2("a.smil", pars(1, 3));
        book.writeSmil2("b.smil", pars(4, 6));
        const auto r = read(book);
        EXPECT_EQ(column(r->tables.headings, col::heading::kTitel), titles);
        EXPECT_EQ(column(r->tables.phrases, col::phrase::kTreeId), c.treeIds);
        EXPECT_EQ(column(r->tables.headings, col::heading::kZeit), c.zeit);
    }
}

TEST(Daisy3Reader, PassesOverWhatIsMissing)
{
    {
        TestBook book;  // no package file: nothing is read, the tables are emptied
        Reading reading;
        reading.tables.headings.insertRow(0, "1");
        reading.tables.phrases.insertRow(0, "0");
        Daisy3Reader reader(reading.tables, book.folder(), "book.opf", "von");
        NoProgress progress;
        EXPECT_EQ(reader.read(progress), Daisy3Reader::kFailed);
        EXPECT_EQ(reading.tables.headings.rowCount() + reading.tables.phrases.rowCount(), 0);
    }
    {
        TestBook book;  // no navigation file, a SMIL file missing, one named twice
        book.writePackage(TestBook::Package()
                              .withoutNavigation()
                              .title("Nur Titel")
                              .smil("a.smil")
                              .smil("missing.smil")
                              .spine("smil-1"));
        book.writeSmil2("a.smil", pars(1, 2));
        const auto r = read(book);
        ASSERT_EQ(r->result, Daisy3Reader::kRead);
        EXPECT_EQ(row(r->tables.headings, 0), (Texts{"1", "Nur Titel", "a.smil", "00:00:02", "00:00:00", "0"}));
        EXPECT_EQ(r->tables.phrases.rowCount(), 2);
        EXPECT_EQ(r->info, (BookInfo{"00-00-0000", "", "Nur Titel", "1", "00:00:02", ""}));
    }
}

TEST(Daisy3Reader, TakesTheBookInformationThePackageNames)
{
    TestBook book;
    book.writePackage(TestBook::Package()
                          .metadataLine("<dc:identifier>first</dc:identifier>")
                          .identifier("  the-uid ")
                          .metadataLine("<dc:Identifier>later</dc:Identifier>")
                          .title("&lt;Buch&gt; &amp; &nbsp;Co &#x263A;")
                          .metadataLine("<dc:Creator>Anna  Alt</dc:Creator>")
                          .metadataLine("<dc:Creator>  </dc:Creator>")
                          .metadataLine("<dc:creator role=\"edt\">Bert &amp; Berta</dc:creator>")
                          .meta("dtb:totalTime", "2072.58s")
                          .smil("a.smil"));
    book.writeNcx(TestBook::Ncx().meta("dtb:uid", "ncx-uid").navPoint(1, "Eins", "a.smil"));
    book.writeSmil2("a.smil", pars(1, 1));
    const auto r = read(book);
    EXPECT_EQ(r->info.identifier, "the-uid");
    EXPECT_EQ(r->info.title, "<Buch> & &nbsp;Co \xE2\x98\xBA");  // no entity of the book expanded
    EXPECT_EQ(r->info.totalTime, "00:34:32.580");
    // What the desktop's "now playing" names: the title, and every creator that names someone.
    EXPECT_EQ(r->credits, (BookCredits{r->info.title, {"Anna Alt", "Bert & Berta"}}));
}

TEST(Daisy3Reader, ReadsHostileFilesAsFarAsTheyGo)
{
    const std::string laughs = "<!DOCTYPE package [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">"
                               "<!ENTITY c SYSTEM \"http://example.org/c\">]>";
    const std::string hugeId(1024 * 1024, 'x');
    TestBook book;
    book.writePackage(TestBook::Package()
                          .prologue(laughs)
                          .title("&b;&c;")
                          .smil("a.smil")
                          .smil("../outside.smil")
                          .smil("http://example.org/b.smil"));
    book.writeNcx(TestBook::Ncx()
                      .prologue("<!DOCTYPE ncx PUBLIC \"-//NISO//DTD ncx 2005-1//EN\" "
                                "\"http://www.daisy.org/z3986/2005/ncx-2005-1.dtd\">")
                      .navPoint(1, "Eins", "a.smil")
                      .navPoint(1, "Zwei", "a.smil#" + hugeId));
    book.writeSmil2("a.smil", TestBook::Smil2()
                                  .par("p1", "book.xml#t1", {{"../../etc/a.wav", "0s", "1s"}})
                                  .par(hugeId, "book.xml#t2", {{"http://example.org/a.mp3", "1s", "2s"}})
                                  .par("p3", "book.xml#t3", {{"a.wav", "2s", "3s"}})
                                  .bodyLine("<par id=\"p4\"><text src=\"book.xml#t4\"/>")  // never ends
                                  .bodyLine("<par id=\"p5\">"));
    const auto r = read(book);
    ASSERT_EQ(r->result, Daisy3Reader::kRead);
    EXPECT_EQ(r->info.title, "&b;&c;");
    EXPECT_EQ(column(r->tables.headings, col::heading::kTitel), (Texts{"Eins", "Zwei"}));
    // Audio that leaves the book is no audio; what the unterminated par held
    // before the file ended is lost with it.
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kAudio), (Texts{"", "", "a.wav"}));
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kTreeId), (Texts{"0", "1", "1"}));
    EXPECT_EQ(r->tables.phrases.text(1, col::phrase::kParId).size(), hugeId.size());
}

TEST(Daisy3Reader, DecodesReferencesInTheValuesOfEachSmilFileItHolds)
{
    TestBook book;
    book.writePackage(TestBook::Package().smil("a.smil").smil("b.smil").smil("c.smil"));
    book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "a.smil").navPoint(1, "Zwei", "b.smil#p&amp;2"));
    book.writeSmil2("a.smil", TestBook::Smil2().par("p1", "book.xml#t1", {{"a.wav", "0s", "1s"}}));
    book.writeSmil2("b.smil", TestBook::Smil2().par("p&amp;2", "book.xml#t&#50;", {{"b&amp;c.wav", "1s", "2s"}}));
    book.writeSmil2("c.smil", TestBook::Smil2().par("p3", "book.xml#t3", {{"a.wav", "2s", "3s"}}));
    const auto r = read(book);
    ASSERT_EQ(r->result, Daisy3Reader::kRead);
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kParId), (Texts{"p1", "p&2", "p3"}));
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kDokFragment), (Texts{"t1", "t2", "t3"}));
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kAudio), (Texts{"a.wav", "b&c.wav", "a.wav"}));
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kTreeId), (Texts{"0", "1", "1"}));
}

// `latin1` (bytes of ISO-8859-1) in UTF-16 with a byte order mark.
std::string utf16(std::string_view latin1, bool bigEndian)
{
    std::string text = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : latin1) {
        text += bigEndian ? '\0' : c;
        text += bigEndian ? c : '\0';
    }
    return text;
}

TEST(Daisy3Reader, DecodesTheEncodingOfTheNavigationFile)
{
    const std::string body = "<ncx><docTitle><text>Gr\xFC\xDF" "e</text></docTitle><navMap/></ncx>";
    const struct {
        const char* what;
        std::string bytes;
        int codePage;
    } cases[] = {
        {"UTF-8", "<?xml version=\"1.0\"?><ncx><docTitle><text>Gr\xC3\xBC\xC3\x9F" "e</text></docTitle></ncx>", 65001},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF<ncx><docTitle><text>Gr\xC3\xBC\xC3\x9F" "e</text></docTitle></ncx>",
         65001},
        {"UTF-16, little endian", utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, false), 65001},
        {"UTF-16, big endian", utf16(body, true), 65001},
        {"ISO-8859-1", "<?xml version='1.0' encoding='ISO-8859-1'?>" + body, 1252},
        // The byte order mark tells how the file was written, whatever its declaration says.
        {"UTF-8 with a byte order mark, declared ISO-8859-1",
         "\xEF\xBB\xBF<?xml version='1.0' encoding='ISO-8859-1'?><ncx><docTitle><text>Gr\xC3\xBC\xC3\x9F"
         "e</text></docTitle></ncx>",
         65001},
        {"UTF-16 declared ISO-8859-1", utf16("<?xml version='1.0' encoding='ISO-8859-1'?>" + body, false), 65001},
    };
    for (const auto& c : cases) {
        TestBook book;
        book.writePackage(TestBook::Package().smil("a.smil"));
        book.write("book.ncx", c.bytes);
        book.writeSmil2("a.smil", pars(1, 1));
        const auto r = read(book);
        EXPECT_EQ(r->info.title, "Gr\xC3\xBC\xC3\x9F" "e") << c.what;
        EXPECT_EQ(r->codePage, c.codePage) << c.what;
    }
}

// Ids and file names with letters beyond ASCII, in a SMIL file and a
// navigation file each in its own encoding, meet as UTF-8.
TEST(Daisy3Reader, ConvertsTheIdsAndFileNamesOfEachEncodingToUtf8)
{
    const auto latin1 = [](std::string text) {
        const std::string utf8 = "encoding=\"utf-8\"";
        return text.replace(text.find(utf8), utf8.size(), "encoding=\"ISO-8859-1\"");
    };
    const auto smil = [](std::string_view u) {
        return TestBook::Smil2()
            .par("p1", "book.xml#t1", {{"a.wav", "0s", "1s"}})
            .par(std::string("K") + std::string(u), std::string("book.xml#t") + std::string(u),
                 {{std::string("Gr") + std::string(u) + "n.wav", "1s", "2s"}})
            .text();
    };
    const auto ncx = [](std::string_view u) {
        return TestBook::Ncx().navPoint(1, "Eins", "a.smil").navPoint(1, "Zwei", std::string("a.smil#K") + std::string(u)).text();
    };
    const std::string u8 = "\xC3\xBC";  // ü
    const std::string u1 = "\xFC";
    const struct {
        const char* what;
        std::string ncx;
        std::string smil;
    } cases[] = {
        {"both UTF-8", ncx(u8), smil(u8)},
        {"the SMIL file ISO-8859-1", ncx(u8), latin1(smil(u1))},
        {"both ISO-8859-1", latin1(ncx(u1)), latin1(smil(u1))},
        {"the SMIL file UTF-16", ncx(u8), utf16(smil(u1), false)},
    };
    for (const auto& c : cases) {
        TestBook book;
        book.writePackage(TestBook::Package().smil("a.smil"));
        book.write("book.ncx", c.ncx);
        book.write("a.smil", c.smil);
        const auto r = read(book);
        EXPECT_EQ(column(r->tables.phrases, col::phrase::kParId), (Texts{"p1", "K" + u8})) << c.what;
        EXPECT_EQ(column(r->tables.phrases, col::phrase::kDokFragment), (Texts{"t1", "t" + u8})) << c.what;
        EXPECT_EQ(column(r->tables.phrases, col::phrase::kAudio), (Texts{"a.wav", "Gr" + u8 + "n.wav"})) << c.what;
        EXPECT_EQ(column(r->tables.phrases, col::phrase::kTreeId), (Texts{"0", "1"})) << c.what;
    }
}

// The package names the SMIL file in its own encoding; the disk and the
// navigation file name it in UTF-8.
TEST(Daisy3Reader, FindsTheSmilFileALatin1PackageNames)
{
    const std::string u8 = "\xC3\xBC";
    std::string package = TestBook::Package().smil("K\xFC.smil").text();
    const std::string utf8 = "encoding=\"utf-8\"";
    package.replace(package.find(utf8), utf8.size(), "encoding=\"ISO-8859-1\"");
    TestBook book;
    book.write("book.opf", package);
    book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "K" + u8 + ".smil"));
    book.writeSmil2("K" + u8 + ".smil", pars(1, 2));
    const auto r = read(book);
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kParId), (Texts{"p1", "p2"}));
    EXPECT_EQ(column(r->tables.headings, col::heading::kSmil), (Texts{"K" + u8 + ".smil"}));
}

// A real book, when the sample books are there.
TEST(Daisy3Reader, ReadsTheSampleDaisy3Book)
{
    const std::string folder = korvin::test::sharedBooksDir() + "/mental_health-daisy3/";
    if (!std::filesystem::exists(folder + "speechgen.opf"))
        GTEST_SKIP() << "the sample books are not in " << folder;
    BookTables tables;
    Daisy3Reader reader(tables, folder, "speechgen.opf", "of");
    NoProgress progress;
    ASSERT_EQ(reader.read(progress), Daisy3Reader::kRead);
    EXPECT_EQ(reader.info().identifier, "AUTO-UID-5577942661191370766");
    EXPECT_EQ(reader.info().totalTime, "00:34:32.580");
    EXPECT_EQ(tables.headings.rowCount(), 15);  // the title heading and 14 navPoints
    EXPECT_EQ(row(tables.headings, 0), (Texts{"1",
                                              "FOR THE FAMILY: IMPORTANT THINGS TO DO WHEN SOMEONE YOU LOVE IS "
                                              "MENTALLY ILL",
                                              "speechgen0001.smil", "00:01:01.010", "00:00:00", "0"}));
    EXPECT_EQ(row(tables.headings, 14), (Texts{"1", "RECOMMENDED READING/WEB SITES", "speechgen0015.smil",
                                               "00:04:48.728", "00:29:43.852", "14"}));
    EXPECT_EQ(tables.phrases.rowCount(), 365);
    // The heading's phrases stand together, in the order of the headings.
    for (int row = 1; row < tables.phrases.rowCount(); ++row)
        EXPECT_LE(tables.phrases.integer(row - 1, col::phrase::kTreeId), tables.phrases.integer(row, col::phrase::kTreeId));
}

}  // namespace
}  // namespace korvin
