// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/smilreader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "book/memoryfilesource.h"
#include "book/nccreader.h"
#include "support/tablecells.h"
#include "support/testbook.h"

namespace korvin {
namespace {

using test::TestBook;
using test::column;
using test::row;
using test::Texts;
using Clip = TestBook::Clip;

struct Reading {
    BookTables tables;
    FeatureFlags features;
};

// The SMIL reading runs inside the reading of the NCC: one heading per file.
std::unique_ptr<Reading> readWithSmils(TestBook& book, const std::vector<std::string>& smilNames)
{
    TestBook::Ncc ncc;
    for (const auto& name : smilNames)
        ncc.heading(1, name, name + "#x");
    book.writeNcc(ncc);
    auto reading = std::make_unique<Reading>();
    NccReader reader(reading->tables, book.folder());
    NoProgress progress;
    EXPECT_EQ(reader.read(progress), NccReader::kRead);
    reading->features = reader.features();
    return reading;
}

TEST(SmilReader, MakesOneRowPerParWithTextAndClip)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil()
                                 .timeInThisSmil("0:00:20")
                                 .par("p1", "kapitel.html#t1", {{"a.mp3", "12.345", "15.2"}})
                                 .par("p2", "kapitel.html#t2"));
    const auto r = readWithSmils(book, {"a.smil"});
    const std::string document = book.folder() + "kapitel.html";
    EXPECT_EQ(row(r->tables.phrases, 0), (Texts{"0", "p1", document, "t1", "txt_p1", "a.mp3", "12.345", "15.2", ""}));
    EXPECT_EQ(row(r->tables.phrases, 1), (Texts{"0", "p2", document, "t2", "txt_p2", "", "", "", ""}));
    EXPECT_EQ(r->tables.phrases.rowCount(), 2);
    EXPECT_TRUE(r->features.audio);
    EXPECT_TRUE(r->features.textDocuments);
}

TEST(SmilReader, GivesEveryFurtherClipOfAParItsOwnRow)
{
    TestBook book;
    book.writeSmil("a.smil",
                   TestBook::Smil().par("p1", "k.html#t1", {{"a.mp3", "0.0", "1.0"}, {"a.mp3", "1.0", "2.5"},
                                                            {"b.mp3", "0.0", "3.0"}}, "footnote-on"));
    const auto r = readWithSmils(book, {"a.smil"});
    ASSERT_EQ(r->tables.phrases.rowCount(), 3);
    const std::string document = book.folder() + "k.html";
    EXPECT_EQ(row(r->tables.phrases, 1), (Texts{"0", "p1", document, "t1", "txt_p1", "a.mp3", "1.0", "2.5", "footnote"}));
    EXPECT_EQ(row(r->tables.phrases, 2), (Texts{"0", "p1", document, "t1", "txt_p1", "b.mp3", "0.0", "3.0", "footnote"}));
}

TEST(SmilReader, TakesOnlyTheFirstClipOfAParOnOneLine)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil()
                                 .parOnOneLine("p1", "k.html#t1", {{"a.mp3", "0.0", "1.0"}, {"a.mp3", "1.0", "2.0"}},
                                               "sidebar-on")
                                 .parOnOneLine("p2", "k.html#t2", {{"a.mp3", "2.0", "3.0"}})
                                 .par("p3", "k.html#t3", {{"a.mp3", "3.0", "4.0"}}));
    const auto r = readWithSmils(book, {"a.smil"});
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kPhrEnd), (Texts{"1.0", "3.0", "4.0"}));
    // The closing tag is tested before the opening one, so a par on one line
    // keeps its own class, and the class stays until the next "</par>".
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kSkip), (Texts{"sidebar", "", ""}));
}

TEST(SmilReader, ResetsTheSkipClassAtTheEndOfAPar)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil()
                                 .par("p1", "k.html#1", {{"a.mp3", "0", "1"}}, "footnote-on")
                                 .par("p2", "k.html#2", {{"a.mp3", "1", "2"}})
                                 .par("p3", "k.html#3", {}, "sidebar-on prodnote-on")
                                 .par("p4", "k.html#4", {}, "pagenumber-on footnote-on"));
    const auto r = readWithSmils(book, {"a.smil"});
    // Of several class texts on one line the last in the order sidebar,
    // prodnote, footnote, pagenumber wins.
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kSkip), (Texts{"footnote", "", "prodnote", "pagenumber"}));
    EXPECT_TRUE(r->features.footnotes && r->features.sidebars && r->features.prodnotes && r->features.pageNumbers);
}

TEST(SmilReader, SetsTheTextDocumentFlagOnlyForOtherDocumentsThanTheNcc)
{
    TestBook lower, upper, chapter;
    lower.writeSmil("a.smil", TestBook::Smil().par("p1", "ncc.html#x"));
    upper.writeSmil("a.smil", TestBook::Smil().par("p1", "NCC.HTML#x"));
    chapter.writeSmil("a.smil", TestBook::Smil().par("p1", "chapter1.html#x"));
    EXPECT_FALSE(readWithSmils(lower, {"a.smil"})->features.textDocuments);
    EXPECT_FALSE(readWithSmils(upper, {"a.smil"})->features.textDocuments);
    EXPECT_TRUE(readWithSmils(chapter, {"a.smil"})->features.textDocuments);
}

TEST(SmilReader, PadsShortTimesWithOneZero)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil().timeInThisSmil("0:01:05").totalElapsedTime("0:00:00"));
    book.writeSmil("b.smil", TestBook::Smil()
                                 .headLine(R"(<meta name="time-in-this-smil" content="0:01:05.250" />)")
                                 .headLine(R"(<meta name="total-elapsed-time" content="5" />)"));
    const auto r = readWithSmils(book, {"a.smil", "b.smil"});
    EXPECT_EQ(column(r->tables.headings, col::heading::kZeit), (Texts{"00:01:05", "0:01:05.250"}));
    EXPECT_EQ(column(r->tables.headings, col::heading::kZeitVerg), (Texts{"00:00:00", "05"}));
}

TEST(SmilReader, ComputesElapsedTimesFromThePreviousHeadings)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil().timeInThisSmil("0:00:30"));
    book.writeSmil("b.smil", TestBook::Smil().timeInThisSmil("0:01:00.500"));
    // c.smil is missing: no times of its own, 0 seconds for the next.
    book.writeSmil("d.smil", TestBook::Smil().timeInThisSmil("0:00:10").totalElapsedTime("1:00:00"));
    book.writeSmil("e.smil", TestBook::Smil().timeInThisSmil("0:00:10"));
    const auto r = readWithSmils(book, {"a.smil", "b.smil", "c.smil", "d.smil", "e.smil"});
    EXPECT_EQ(column(r->tables.headings, col::heading::kZeit),
              (Texts{"00:00:30", "0:01:00.500", "", "00:00:10", "00:00:10"}));
    // The sum grows only by the time of the heading before a computed one: b's
    // time is never added (c has no file, d brings its own elapsed time).
    EXPECT_EQ(column(r->tables.headings, col::heading::kZeitVerg),
              (Texts{"00:00:00", "00:00:30", "", "01:00:00", "00:00:40"}));
    EXPECT_EQ(r->tables.tree.count(), 5);
}

TEST(SmilReader, CarriesTheTimeTextOverToAFileWithoutOne)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil());
    book.writeSmil("b.smil", TestBook::Smil().timeInThisSmil("0:00:07"));
    book.writeSmil("c.smil", TestBook::Smil());
    const auto r = readWithSmils(book, {"a.smil", "b.smil", "c.smil"});
    EXPECT_EQ(column(r->tables.headings, col::heading::kZeit), (Texts{"", "00:00:07", "00:00:07"}));
}

// The tags of a line are found with one search through the file: each line
// must still see its own tags, all of them, and no other line's.
TEST(SmilReader, FindsTheTagsOfEveryLineWhereverTheyStand)
{
    const std::string audio = R"(<audio src="a.mp3" clip-begin="npt=1s" clip-end="npt=2s" />)";
    struct Case {
        const char* name;
        std::string body;        // after "<smil><body>\n"
        std::vector<Texts> rows;  // TreeID, par-id, Audio, PhrBeg, PhrEnd, Skip
    };
    const Case cases[] = {
        {"one tag a line", "<par id=\"p\">\n" + audio + "\n</par>\n", {{"0", "p", "a.mp3", "1", "2", ""}}},
        {"a par on one line", "<par id=\"p\" class=\"x\" system-required=\"sidebar-on\">" + audio + "</par>\n",
         {{"0", "p", "a.mp3", "1", "2", "sidebar"}}},
        {"crlf, blank lines and text without tags",
         "\r\n\r\ntext\r\n<par id=\"p\">\r\n\r\nmore text\r\n" + audio + "\r\n",
         {{"0", "p", "a.mp3", "1", "2", ""}}},
        {"a lone < at the end of a line", "<\npar id=\"p\">\n" + audio + " <\n", {}},
        {"a < at the end before CR", "<par id=\"p\"> <\r\n" + audio + "<\r\n", {{"0", "p", "a.mp3", "1", "2", ""}}},
        {"several pars on one line", "<par id=\"p\">" + audio + "<par id=\"q\">" + audio + "\n",
         {{"0", "p", "a.mp3", "1", "2", ""}}},
        {"the last line without its end", "<par id=\"p\" system-required=\"footnote-on\">\n" + audio,
         {{"0", "p", "a.mp3", "1", "2", "footnote"}}},
        {"no tag at all", "just text\nand more\n", {}},
        {"tags and classes in capitals",
         "<PAR id=\"p\" system-required=\"Sidebar-ON\">\n<Audio src=\"a.mp3\" clip-begin=\"npt=1s\" clip-end=\"npt=2s\" "
         "/>\n</Par>\n<pAr id=\"q\">\n" +
             audio + "\n",
         {{"0", "p", "a.mp3", "1", "2", "sidebar"}, {"0", "q", "a.mp3", "1", "2", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestBook book;
        book.write("a.smil", "<smil><body>\n" + c.body);
        const auto r = readWithSmils(book, {"a.smil"});
        std::vector<Texts> rows;
        for (int i = 0; i < r->tables.phrases.rowCount(); ++i) {
            const Texts all = row(r->tables.phrases, i);
            rows.push_back({all[0], all[1], all[5], all[6], all[7], all[8]});
        }
        EXPECT_EQ(rows, c.rows);
    }
}

// The name ends at the first "#" after "src=", the fragment begins after the
// first "#" of the tag, wherever each stands; the document follows every
// change of the name.
TEST(SmilReader, CutsATextsNameAndFragmentWhereverItsHashesStand)
{
    struct Case {
        const char* name;
        std::vector<std::string> texts;  // one par each
        std::vector<Texts> rows;         // the name in Dokument, Dok-Fragment, Text-ID
    };
    const Case cases[] = {
        {"name and fragment", {R"(<text src="k.html#t1" id="x1" />)"}, {{"k.html", "t1", "x1"}}},
        {"a hash before the name", {R"(<text id="a#b" src="k.html#t2" />)"}, {{"k.html", "b", "a#b"}}},
        {"no hash", {R"(<text src="k.html" id="t3" />)"}, {{R"(k.html" id="t3" />)", "", "t3"}}},
        {"only a fragment", {R"(<text src="#only" />)"}, {{"", "only", ""}}},
        {"nothing after src=", {"<text src="}, {{"", "", ""}}},
        {"two hashes", {R"(<text src="k.html#a#b" id="y" />)"}, {{"k.html", "a#b", "y"}}},
        {"the name changing",
         {R"(<text src="a.html#1" />)", R"(<text src="a.html#2" />)", R"(<text src="b.html#3" />)",
          R"(<text src="a.html#4" />)", R"(<text src="ab.html#5" />)"},
         {{"a.html", "1", ""}, {"a.html", "2", ""}, {"b.html", "3", ""}, {"a.html", "4", ""}, {"ab.html", "5", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestBook book;
        std::string body = "<smil><body>\n";
        for (const std::string& text : c.texts)
            body += "<par id=\"p\">\n" + text + "\n</par>\n";
        book.write("a.smil", body);
        const auto r = readWithSmils(book, {"a.smil"});
        std::vector<Texts> rows;
        for (int i = 0; i < r->tables.phrases.rowCount(); ++i) {
            const Texts all = row(r->tables.phrases, i);
            ASSERT_EQ(all[2].substr(0, book.folder().size()), book.folder());
            rows.push_back({all[2].substr(book.folder().size()), all[3], all[4]});
        }
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(SmilReader, CarriesLineStatesAndSkipClassOverToTheNextFile)
{
    TestBook book;
    book.write("a.smil", "<smil><head>\n</head><body>\n<par id=\"p1\" system-required=\"prodnote-on\">\n"
                         "<text src=\"k.html#1\" id=\"t1\" />\n");  // ends inside the par and the body
    book.write("b.smil", "<par id=\"p2\">\n<audio src=\"b.mp3\" clip-begin=\"npt=0s\" clip-end=\"npt=1s\" />\n");
    const auto r = readWithSmils(book, {"a.smil", "b.smil"});
    ASSERT_EQ(r->tables.phrases.rowCount(), 2);
    EXPECT_EQ(row(r->tables.phrases, 1), (Texts{"1", "p2", "", "", "", "b.mp3", "0", "1", "prodnote"}));
}

TEST(SmilReader, RepeatsTheLastParForAClipBeforeAnyParOfALaterFile)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil().par("p1", "k.html#1", {{"a.mp3", "0", "1"}}));
    book.writeSmil("b.smil", TestBook::Smil().bodyLine(R"(<audio src="b.mp3" clip-begin="npt=5s" clip-end="npt=6s" />)"));
    const auto r = readWithSmils(book, {"a.smil", "b.smil"});
    ASSERT_EQ(r->tables.phrases.rowCount(), 2);
    EXPECT_EQ(row(r->tables.phrases, 1), (Texts{"1", "p1", book.folder() + "k.html", "1", "txt_p1", "b.mp3", "5", "6", ""}));
}

TEST(SmilReader, IgnoresAClipBeforeTheFirstParOfTheBook)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil()
                                 .bodyLine(R"(<audio src="x.mp3" clip-begin="npt=0s" clip-end="npt=1s" />)")
                                 .par("p1", "k.html#1", {{"a.mp3", "0", "1"}}));
    const auto r = readWithSmils(book, {"a.smil"});
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kAudio), (Texts{"a.mp3"}));
    EXPECT_TRUE(r->features.audio);
}

TEST(SmilReader, LeavesMissingValuesEmpty)
{
    TestBook book;
    book.writeSmil("a.smil", TestBook::Smil()
                                 .bodyLine(R"(<par ID="P1">)")
                                 .bodyLine(R"(<text />)")
                                 .bodyLine(R"(<audio />)")
                                 .bodyLine("</par>"));
    const auto r = readWithSmils(book, {"a.smil"});
    EXPECT_EQ(row(r->tables.phrases, 0), (Texts{"0", "", book.folder(), "", "", "", "", "", ""}));
}

TEST(SmilReader, FindsASmilFileNamedInAnotherLetterCase)
{
    TestBook book;
    book.writeSmil("A.SMIL", TestBook::Smil().timeInThisSmil("0:00:01").par("p1", "k.html#1"));
    const auto r = readWithSmils(book, {"a.smil"});
    EXPECT_EQ(r->tables.phrases.rowCount(), 1);
    EXPECT_EQ(r->tables.headings.text(0, col::heading::kZeit), "00:00:01");
}

TEST(SmilReader, PassesOverASmilFileThatIsAFolder)
{
    TestBook book;
    std::filesystem::create_directory(book.dir().path() / "a.smil");
    book.writeSmil("b.smil", TestBook::Smil().timeInThisSmil("0:00:02").par("p1", "k.html#1"));
    const auto r = readWithSmils(book, {"a.smil", "b.smil"});
    EXPECT_EQ(column(r->tables.headings, col::heading::kZeit), (Texts{"", "00:00:02"}));
    EXPECT_EQ(column(r->tables.phrases, col::phrase::kTreeId), (Texts{"1"}));
}

TEST(SmilReader, ReadsBinaryAndHugeFilesWithoutFault)
{
    TestBook book;
    std::string binary;
    for (int i = 0; i < 100'000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    book.write("a.smil", "<body>\n" + binary);
    std::string huge = "<body><par id=\"";
    huge.append(50u << 20, 'p');  // one 50 MB line, its value never closed
    book.write("b.smil", huge);
    book.write("c.smil", std::string("<body>\n<par id=\"a") + '\0' + "b\">\n<audio src=\"x" + '\0' + ".mp3\" />\n");
    const auto r = readWithSmils(book, {"a.smil", "b.smil", "c.smil"});
    EXPECT_EQ(r->tables.headings.rowCount(), 3);
    const int last = r->tables.phrases.rowCount() - 1;
    EXPECT_EQ(r->tables.phrases.text(last, col::phrase::kParId), std::string("a\0b", 3));
    EXPECT_EQ(r->tables.phrases.text(last, col::phrase::kAudio), std::string("x\0.mp3", 6));
    EXPECT_EQ(r->tables.phrases.text(last - 1, col::phrase::kParId).size(), 50u << 20);
}

TEST(SmilReader, WritesNothingForAFileThatCannotBeOpened)
{
    BookTables tables;
    ReadingState state;
    MemoryFileSource files;
    const std::string folder = "/book/";
    tables.headings.insertRow(0, "1");
    SmilReader reader(tables, state, folder);
    EXPECT_FALSE(reader.read(files, "missing.smil"));
    EXPECT_EQ(tables.headings.text(0, col::heading::kZeitVerg), "");
    files.add("/book/a.smil", "<body>\n<par id=\"x\">\n");
    EXPECT_TRUE(reader.read(files, "a.smil"));
    EXPECT_EQ(tables.headings.text(0, col::heading::kZeitVerg), "00:00:00");
    EXPECT_EQ(tables.phrases.text(0, col::phrase::kParId), "x");
}

}  // namespace
}  // namespace korvin
