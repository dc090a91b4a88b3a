// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/nccreader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "book/diskfilesource.h"
#include "support/tablecells.h"
#include "support/testbook.h"
#include "support/sourcepaths.h"

namespace korvin {
namespace {

using test::TestBook;
using test::column;
using test::row;
using test::Texts;
using test::treeItems;

class RecordingProgress : public ReadProgress {
public:
    void setRange(int minimum, int maximum) override
    {
        calls.push_back("range " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    void setPosition(int position) override { calls.push_back("position " + std::to_string(position)); }
    void setStatus(const std::string& text) override { calls.push_back("status " + text); }

    Texts calls;
};

struct Reading {
    BookTables tables;
    NccReader::Result result = NccReader::kFailed;
    BookInfo info;
    int codePage = 0;
    FeatureFlags features;
    BookCredits credits;
    Texts progress;
};

std::unique_ptr<Reading> read(const std::string& folder, NccReader::Texts texts = NccReader::Texts())
{
    auto reading = std::make_unique<Reading>();
    NccReader reader(reading->tables, folder, std::move(texts));
    RecordingProgress progress;
    reading->result = reader.read(progress);
    reading->info = reader.info();
    reading->codePage = reader.codePage();
    reading->features = reader.features();
    reading->credits = reader.credits();
    reading->progress = std::move(progress.calls);
    return reading;
}

std::unique_ptr<Reading> read(const TestBook& book)
{
    return read(book.folder());
}

TEST(NccReader, FillsHeadingsPagesGroupsAndTreeOfABook)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .meta("dc:title", "Das Buch")
                      .meta("ncc:tocItems", "4")
                      .page("i", "a.smil#p0")
                      .heading(1, "Eins", "a.smil#h1")
                      .page("1", "a.smil#p1", "front")
                      .heading(2, "Zwei", "b.smil#h2")
                      .group("Gruppe", "b.smil#g1"));
    const auto r = read(book);
    ASSERT_EQ(r->result, NccReader::kRead);
    EXPECT_EQ(row(r->tables.headings, 0), (Texts{"1", "Eins", "a.smil", "", "", "0"}));
    EXPECT_EQ(row(r->tables.headings, 1), (Texts{"2", "Zwei", "b.smil", "", "", "1"}));
    EXPECT_EQ(row(r->tables.pages, 0), (Texts{"i", "a.smil", "p0", ""}));  // before the first heading
    EXPECT_EQ(row(r->tables.pages, 1), (Texts{"1", "a.smil", "p1", "0"}));
    EXPECT_EQ(row(r->tables.groups, 0), (Texts{"Gruppe", "b.smil", "g1", "1"}));
    EXPECT_EQ(treeItems(r->tables.tree), (Texts{"0 0 Eins", "1 1 Zwei"}));
    EXPECT_TRUE(r->features.pages);
    EXPECT_TRUE(r->features.groups);
    EXPECT_FALSE(r->features.audio);
}

TEST(NccReader, TakesTheBookInformationAsWritten)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .meta("dc:identifier", "dc-id")
                      .meta("ncc:identifier", "ncc-id")  // the later one wins
                      .meta("dc:title", "Gr\xFC\xDF" "e")  // not converted
                      .meta("ncc:setInfo", "1 of 2")
                      .meta("ncc:tocItems", "12")
                      .meta("ncc:totalTime", "1:02:03")
                      .meta("ncc:charset", "windows-1252")
                      .headLine(R"(    <meta content="x" name="dc:creator" />)"));
    const auto r = read(book);
    EXPECT_EQ(r->info, (BookInfo{"00-00-0000", "ncc-id", "Gr\xFC\xDF" "e", "12", "1:02:03", "1 of 2"}));
    EXPECT_EQ(r->codePage, 1252);
}

TEST(NccReader, NamesTheTitleAndEveryCreatorDecodedForPeople)
{
    struct Case {
        const char* name;
        TestBook::Ncc ncc;
        BookCredits credits;
    };
    const Case cases[] = {
        {"the charset named after them",
         TestBook::Ncc()
             .meta("dc:title", "Gr\xFC\xDF"
                               "e")
             .meta("dc:creator", "M\xFCller")
             .headLine(R"(<meta name="DC:Creator" content="Meier" />)")
             .meta("ncc:charset", "iso-8859-1"),
         {"Grüße", {"Müller", "Meier"}}},
        {"no creator", TestBook::Ncc().meta("dc:title", "Buch"), {"Buch", {}}},
        {"a creator in the body is text",
         TestBook::Ncc().bodyLine(R"(<meta name="dc:creator" content="X" />)"),
         {"", {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestBook book;
        book.writeNcc(c.ncc);
        const auto r = read(book);
        EXPECT_EQ(r->credits, c.credits);
    }
}

TEST(NccReader, TakesTheValueOfTheFirstAttributeAfterTheMetaName)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .headLine(R"(<meta content="2001-01-01" name="dc:date" />)")
                      .headLine(R"(<meta content="Titel" name="dc:title" scheme="Schema" />)"));
    const auto r = read(book);
    EXPECT_EQ(r->info.date, "00-00-0000");  // the empty value of the date, then its default
    EXPECT_EQ(r->info.title, "Schema");
}

TEST(NccReader, JoinsAHeadingWrittenOverSeveralLines)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .meta("ncc:tocItems", "2")
                      .bodyLine(R"(<h1 id="a"><a href="a.smil#x">)")
                      .bodyLine("Erster")
                      .bodyLine(R"( Teil</a></h1><span class="page-normal"><a href="a.smil#p">3</a></span>)")
                      .heading(1, "Zweiter", "b.smil#y"));
    const auto r = read(book);
    EXPECT_EQ(column(r->tables.headings, col::heading::kTitel), (Texts{"Erster Teil", "Zweiter"}));
    // The joined text is examined for a page, but not counted as a link again.
    EXPECT_EQ(row(r->tables.pages, 0), (Texts{"3", "a.smil", "p", "0"}));
    EXPECT_EQ(r->progress.back(), "status 2 von 2");
}

TEST(NccReader, EndsAHeadingAtTheEndOfTheFile)
{
    TestBook book;
    book.write("ncc.html", "<body>\n<h2><a href=\"a.smil#x\">Offen\nund weiter");
    const auto r = read(book);
    ASSERT_EQ(r->result, NccReader::kRead);
    EXPECT_EQ(row(r->tables.headings, 0), (Texts{"2", "Offenund weiter", "a.smil", "", "", "0"}));
}

TEST(NccReader, CorrectsAHeadingThatSkipsExactlyOneLevel)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .heading(3, "A", "a.smil#1")   // 1 + 2: drawn as level 2
                      .heading(1, "B", "a.smil#2")
                      .heading(4, "C", "a.smil#3")   // a larger jump stays
                      .heading(2, "D", "a.smil#4")
                      .heading(3, "E", "a.smil#5")
                      .heading(1, "F", "a.smil#6")
                      .heading(4, "G", "a.smil#7")   // under the last level-3 item, E
                      .heading(6, "H", "a.smil#8"));
    const auto r = read(book);
    EXPECT_EQ(column(r->tables.headings, col::heading::kEbene), (Texts{"2", "1", "4", "2", "3", "1", "4", "5"}));
    // C finds no level-3 item yet and goes to the top; G goes under E, the
    // last level-3 item, although F has begun a new branch since.
    EXPECT_EQ(treeItems(r->tables.tree), (Texts{"0 0 A", "0 1 B", "1 3 D", "2 4 E", "3 6 G", "4 7 H", "0 2 C",
                                                "0 5 F"}));
}

TEST(NccReader, KeepsTheTextOfAnInnerTagAsTitle)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .bodyLine(R"(<h1><a href="a.smil#x"><span class="b">Fett</span> Rest</a></h1>)")
                      .bodyLine(R"(<h1><a href="a.smil#x"><b>Fett</b> Rest</a></h1>)"));
    // An inner tag without attributes has no quote before its ">": no title.
    EXPECT_EQ(column(read(book)->tables.headings, col::heading::kTitel), (Texts{"Fett", ""}));
}

TEST(NccReader, ExaminesOnlyTheFirstHOfALine)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .bodyLine(R"(<hr /><h1><a href="a.smil#x">Versteckt</a></h1>)")
                      .bodyLine(R"(<h1/><h2><a href="a.smil#x">Auch</a></h2>)")
                      .bodyLine(R"(<h7><a href="a.smil#x">Sieben</a></h7>)")
                      .bodyLine("<h")
                      .heading(1, "Sichtbar", "a.smil#y"));
    EXPECT_EQ(column(read(book)->tables.headings, col::heading::kTitel), (Texts{"Sichtbar"}));
}

TEST(NccReader, GivesAHeadingWithoutLinkAnEmptyTitleAndNoSmilFile)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc().bodyLine(R"(<h1 id="a">Kein Link</h1>)"));
    const auto r = read(book);
    EXPECT_EQ(row(r->tables.headings, 0), (Texts{"1", "", "", "", "", "0"}));
    EXPECT_EQ(treeItems(r->tables.tree), (Texts{"0 0 "}));
}

TEST(NccReader, NeedsTheBodyTagInItsExactForm)
{
    TestBook book;
    book.write("ncc.html", "<html><head>\n<meta name=\"dc:title\" content=\"T\" />\n</head>\n<body class=\"x\">\n"
                           "<h1><a href=\"a.smil#x\">Eins</a></h1>\n</html>\n");
    const auto r = read(book);
    EXPECT_EQ(r->result, NccReader::kRead);
    EXPECT_EQ(r->info.title, "T");
    EXPECT_EQ(r->tables.headings.rowCount(), 0);
}

TEST(NccReader, EndsTheHeadOnALineThatOpensAndClosesIt)
{
    TestBook book;
    book.write("ncc.html", "<head><meta name=\"dc:title\" content=\"T\" /></head>\n"
                           "<meta name=\"dc:date\" content=\"2020\" />\n");
    const auto r = read(book);
    EXPECT_EQ(r->info.title, "");
    EXPECT_EQ(r->info.date, "00-00-0000");
}

TEST(NccReader, DecodesTitlesAndGroupLabelsButNotPageLabels)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .meta("ncc:charset", "ISO-8859-1")
                      .heading(1, "\xC4rger", "a.smil#x")
                      .page("\xE4", "a.smil#p")
                      .group("Gr\xFC" "n", "a.smil#g"));
    const auto r = read(book);
    EXPECT_EQ(r->tables.headings.text(0, col::heading::kTitel), "Ärger");
    EXPECT_EQ(r->tables.tree.itemText(0), "Ärger");
    EXPECT_EQ(r->tables.groups.text(0, col::group::kGruppe), "Grün");
    EXPECT_EQ(r->tables.pages.text(0, col::page::kSeite), "\xE4");
}

TEST(NccReader, DecodesWithoutCharsetAsUtf8OrWindows1252)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc().meta("ncc:charset", "x-unknown").heading(1, "Grüße", "a.smil#x").heading(
        1, "Gr\xFC\xDF" "e", "a.smil#y"));
    const auto r = read(book);
    EXPECT_EQ(r->codePage, 0);
    EXPECT_EQ(column(r->tables.headings, col::heading::kTitel), (Texts{"Grüße", "Grüße"}));
}

TEST(NccReader, ReportsProgressByTocItemsAndLinks)
{
    // A link in the head comes before the toc items.
    TestBook book;
    book.write("ncc.html", TestBook::Ncc()
                               .headLine(R"(<link rel="x" /><a href="x.html">Link im Kopf</a>)")
                               .meta("ncc:tocItems", "3")
                               .heading(1, "Eins", "a.smil#1")
                               .page("1", "a.smil#p")
                               .text());
    const auto german = read(book);
    EXPECT_EQ(german->progress, (Texts{"position 1", "status 1 von 0", "range 0 3", "position 0",
                                       "status 1 Einträge von 3 gelesen...", "position 2", "status 2 von 3",
                                       "position 3", "status 3 von 3"}));
    const auto english = read(book.folder(), {200, "of"});
    EXPECT_EQ(english->progress, (Texts{"position 1", "status 1 of 0", "range 0 3", "position 0",
                                        "status 1 entries of 3 read...", "position 2", "status 2 of 3",
                                        "position 3", "status 3 of 3"}));
}

TEST(NccReader, LeavesTheRangeAloneWithoutTocItems)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc().heading(1, "Eins", "a.smil#1"));
    EXPECT_EQ(read(book)->progress, (Texts{"position 1", "status 1 von 0"}));
}

TEST(NccReader, FailsWithEmptyTablesWhenTheNccCannotBeOpened)
{
    TestBook book;
    BookTables tables;
    tables.headings.insertRow(0, "1");
    tables.phrases.insertRow(0, "0");
    tables.pages.insertRow(0, "1");
    tables.tree.insertItem("alt");
    tables.groups.insertRow(0, "bleibt");
    NccReader reader(tables, book.folder() + "missing/");
    RecordingProgress progress;
    EXPECT_EQ(reader.read(progress), NccReader::kFailed);
    EXPECT_EQ(tables.headings.rowCount(), 0);
    EXPECT_EQ(tables.phrases.rowCount(), 0);
    EXPECT_EQ(tables.pages.rowCount(), 0);
    EXPECT_EQ(tables.tree.count(), 0);
    EXPECT_EQ(tables.groups.rowCount(), 1);  // the window's reset empties it, not the reader
    EXPECT_TRUE(progress.calls.empty());
}

TEST(NccReader, FailsWhenTheNccIsAFolder)
{
    TestBook book;
    std::filesystem::create_directory(book.dir().path() / "ncc.html");
    EXPECT_EQ(read(book)->result, NccReader::kFailed);
}

TEST(NccReader, ReadsAnNccNamedInCapitals)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc().meta("dc:title", "Gross").heading(1, "Eins", "a.smil#1"), "NCC.HTML");
    const auto r = read(book);
    EXPECT_EQ(r->result, NccReader::kRead);
    EXPECT_EQ(r->info.title, "Gross");
}

TEST(NccReader, ReadsCrLfAndLfFilesAlike)
{
    const auto ncc = TestBook::Ncc()
                         .meta("dc:title", "Zeilen")
                         .heading(1, "Eins", "a.smil#1")
                         .bodyLine(R"(<h2><a href="a.smil#2">)")
                         .bodyLine(R"(Zwei</a></h2>)");
    const auto smil = TestBook::Smil().timeInThisSmil("0:00:05").par("1", "t.html#1", {{"a.mp3", "0.0", "1.5"}});
    TestBook lf, crlf;
    lf.writeNcc(ncc).writeSmil("a.smil", smil);
    crlf.writeNcc(ncc, "ncc.html", "\r\n").writeSmil("a.smil", smil, "\r\n");
    const auto a = read(lf), b = read(crlf);
    EXPECT_EQ(a->info, b->info);
    EXPECT_EQ(column(a->tables.headings, col::heading::kTitel), column(b->tables.headings, col::heading::kTitel));
    EXPECT_EQ(column(a->tables.headings, col::heading::kZeit), column(b->tables.headings, col::heading::kZeit));
    for (int c : {col::phrase::kParId, col::phrase::kDokFragment, col::phrase::kTextId, col::phrase::kAudio,
                  col::phrase::kPhrBeg, col::phrase::kPhrEnd})
        EXPECT_EQ(column(a->tables.phrases, c), column(b->tables.phrases, c));
    EXPECT_EQ(b->tables.phrases.text(1, col::phrase::kPhrEnd), "1.5");
}

TEST(NccReader, ReadsTheHeadAloneUpToItsEnd)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .meta("dc:identifier", "id")
                      .meta("dc:title", "Titel")
                      .meta("ncc:setInfo", "2 of 3")
                      .meta("ncc:tocItems", "9")
                      .meta("ncc:totalTime", "5:00:00")
                      .meta("ncc:charset", "utf-8")
                      .bodyLine(R"(<meta name="dc:date" content="im Rumpf" />)"));
    EXPECT_EQ(readHead(book.folder()), (BookInfo{"00-00-0000", "id", "Titel", "9", "5:00:00", "2 of 3"}));
    book.write("ncc.html", "<head>\n<meta name=\"dc:date\" content=\"1999\" /></head>\n");
    EXPECT_EQ(readHead(book.folder())->date, "00-00-0000");  // the closing line is not examined
    EXPECT_EQ(readHead(book.folder() + "missing/"), std::nullopt);
}

// Bad input: whatever the bytes, the reading ends, without fault, with the
// memory the input explains.

TEST(NccReader, ReadsEmptyTruncatedAndBinaryNccs)
{
    TestBook book;
    book.write("ncc.html", "");
    EXPECT_EQ(read(book)->result, NccReader::kRead);

    const std::string full = TestBook::Ncc().meta("dc:title", "T").heading(1, "Eins", "a.smil#1").heading(
        1, "Zwei", "a.smil#2").text();
    const std::string cut = full.substr(0, full.find("Zwei") + 2);
    book.write("ncc.html", cut);
    EXPECT_EQ(column(read(book)->tables.headings, col::heading::kTitel), (Texts{"Eins", "Zw"}));

    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        std::string bytes = "<body>\n<h1><a href=\"a.smil#\">";
        for (int i = 0; i < 4000; ++i)
            bytes += static_cast<char>(random() % 4 == 0 ? "<h1\n\"#>\0"[random() % 8] : random());
        book.write("ncc.html", bytes);
        book.write("a.smil", bytes);
        EXPECT_EQ(read(book)->result, NccReader::kRead);
    }
}

TEST(NccReader, KeepsNulBytesInTitles)
{
    TestBook book;
    book.write("ncc.html", std::string("<body>\n<h1><a href=\"a.smil#x\">A") + '\0' + "B</a></h1>\n");
    EXPECT_EQ(read(book)->tables.headings.text(0, col::heading::kTitel), std::string("A\0B", 3));
}

TEST(NccReader, ReadsAFiftyMegabyteLine)
{
    TestBook book;
    std::string line = "<body><h1><a href=\"a.smil#x\">";
    line.append(50u << 20, 'x');  // the heading never ends
    book.write("ncc.html", line);
    line = std::string();
    const auto r = read(book);
    EXPECT_EQ(r->tables.headings.rowCount(), 1);
    EXPECT_EQ(r->tables.headings.text(0, col::heading::kTitel).size(), TextDecoder::kMaxBytes);
}

TEST(NccReader, JoinsAHeadingThatNeverEndsInOnePass)
{
    TestBook book;
    std::string text = "<body>\n<h1><a href=\"a.smil#x\">T\n";
    for (int i = 0; i < 1'000'000; ++i)
        text += "<span>x</span> and <h on and on\n";  // 32 MB of lines, none with the end tag
    book.write("ncc.html", text);
    // Searching the whole joined text after every line would take hours here
    // (and the test run's time limit would end it).
    const auto r = read(book);
    EXPECT_EQ(r->tables.headings.rowCount(), 1);
    EXPECT_EQ(r->tables.headings.text(0, col::heading::kTitel).substr(0, 5), "T<spa");
}

// Facts checked by hand in the sample books, when they are there.

std::string sampleBook(const char* name)
{
    const std::string folder = korvin::test::sharedBooksDir() + "/" + name + "/";
    return std::filesystem::exists(folder + "ncc.html") ? folder : std::string();
}

TEST(NccReader, ReadsTheSampleBookWithAudioAndFullText)
{
    const std::string folder = sampleBook("dontworrybehappy");
    if (folder.empty())
        GTEST_SKIP() << "sample books not present";
    const auto r = read(folder);
    ASSERT_EQ(r->result, NccReader::kRead);
    EXPECT_EQ(r->info, (BookInfo{"2007-05-21", "F00000", "Don't Worry, Be Happy Lyrics", "9", "0:03:02", "1 of 1"}));
    EXPECT_EQ(r->codePage, 65001);
    EXPECT_EQ(r->tables.headings.rowCount(), 7);
    EXPECT_EQ(r->tables.phrases.rowCount(), 62);  // 61 pars, one of them with two clips
    EXPECT_EQ(row(r->tables.headings, 3), (Texts{"2", "Culmen interludiaris", "speechgen0004.smil", "00:00:22",
                                                 "00:01:35", "3"}));
    EXPECT_EQ(row(r->tables.phrases, 11), (Texts{"1", "forcelinkstruct64", folder + "content.html", "fn1",
                                                 "txtd13e24", "speechgen0007.mp3", "1.629", "11.237", "footnote"}));
    EXPECT_TRUE(r->features.audio && r->features.footnotes && r->features.textDocuments);
    EXPECT_FALSE(r->features.pages || r->features.groups);
}

TEST(NccReader, ReadsTheSampleBookWhoseHeadIsOneLine)
{
    const std::string folder = sampleBook("dontworrybehappy-nccOnly");
    if (folder.empty())
        GTEST_SKIP() << "sample books not present";
    const auto r = read(folder);
    EXPECT_EQ(r->info, (BookInfo{"00-00-0000", "", "", "", "", ""}));
    EXPECT_EQ(r->tables.headings.rowCount(), 7);
    EXPECT_EQ(r->tables.phrases.text(0, col::phrase::kDokument), folder + "ncc.html");
    EXPECT_FALSE(r->features.textDocuments);
}

TEST(NccReader, ReadsTheSampleTextBookWithPagesOnThreeLevels)
{
    const std::string folder = sampleBook("unicef-toolkit-a");
    if (folder.empty())
        GTEST_SKIP() << "sample books not present";
    const auto r = read(folder);
    EXPECT_EQ(r->info.tocItems, "75");
    EXPECT_EQ(r->tables.headings.rowCount(), 37);
    EXPECT_EQ(r->tables.pages.rowCount(), 38);
    EXPECT_EQ(r->tables.phrases.rowCount(), 611);
    EXPECT_EQ(r->tables.headings.text(16, col::heading::kTitel), "United Nations commitment to accessibility – UNDIS");
    EXPECT_EQ(row(r->tables.pages, 3), (Texts{"4", "d202_3.smil", "txt_36", "2"}));
    EXPECT_EQ(r->tables.tree.depth(10), 2);
    EXPECT_FALSE(r->features.audio);
    EXPECT_EQ(r->progress.back(), "status 75 von 75");
}

}  // namespace
}  // namespace korvin
