// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/dumpbook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/fakearchives.h"
#include "support/testbook.h"

namespace korvin {
namespace {

using test::TestBook;

TEST(DumpBook, PrintsTheTablesOfABookInTheirOrder)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc()
                      .meta("dc:date", "2024-01-02")
                      .meta("dc:identifier", "id\\1")
                      .meta("dc:title", "Titel")
                      .meta("ncc:tocItems", "3")
                      .meta("ncc:totalTime", "0:01:00")
                      .meta("ncc:setInfo", "1 of 1")
                      .meta("ncc:charset", "utf-8")
                      .heading(1, "Eins\tmit Tab", "a.smil#h1")
                      .page("1", "a.smil#p1")
                      .heading(2, "Zwei", "b.smil#h2")
                      .group("Gruppe", "a.smil#g"));
    book.writeSmil("a.smil", TestBook::Smil()
                                 .timeInThisSmil("0:00:30")
                                 .par("p1", "k.html#t1", {{"a.mp3", "0.000", "1.500"}}, "footnote-on")
                                 .bodyLine("<par id=\"c\rr\">")
                                 .bodyLine(R"(<text src="ncc.html#x" id="t2" />)")
                                 .bodyLine("</par>"));
    std::ostringstream out, err;
    ASSERT_EQ(dumpBook(book.folder() + "ncc.html", out, err, "unused"), 0);
    const std::string f = book.folder();
    EXPECT_EQ(out.str(), "[book]\n"
                         "date=2024-01-02\n"
                         "identifier=id\\\\1\n"
                         "title=Titel\n"
                         "tocitems=3\n"
                         "totaltime=0:01:00\n"
                         "setinfo=1 of 1\n"
                         "codepage=65001\n"
                         "features=11110001\n"
                         "[headings]\n"
                         "1\tEins\\tmit Tab\ta.smil\t00:00:30\t00:00:00\t0\n"
                         "2\tZwei\tb.smil\t\t\t1\n"
                         "[phrases]\n"
                         "0\tp1\t" + f + "k.html\tt1\ttxt_p1\ta.mp3\t0.000\t1.500\tfootnote\n"
                         "0\tc\\rr\t" + f + "ncc.html\tx\tt2\t\t\t\t\n"
                         "[pages]\n"
                         "1\ta.smil\tp1\t0\n"
                         "[groups]\n"
                         "Gruppe\ta.smil\tg\t1\n"
                         "[tree]\n"
                         "0\t0\tEins\\tmit Tab\n"
                         "1\t1\tZwei\n");
    EXPECT_EQ(err.str(), "");
}

TEST(DumpBook, ReportsAnNccThatCannotBeOpened)
{
    TestBook book;
    std::ostringstream out, err;
    EXPECT_EQ(dumpBook(book.folder() + "missing", out, err, "Could not open ncc.html!"), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Could not open ncc.html!\n");
}

TEST(DumpBook, ReadsAZippedBookAndSaysWhyAZipFileIsRefused)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc().meta("dc:title", "Gezippt").heading(1, "Eins", "a.smil#p1"));
    book.writeSmil("a.smil", TestBook::Smil().par("p1", "text.html#t1", {{"a.mp3", "0.000", "1.000"}}));
    book.write("Buch.zip", "");
    book.write("bomb.zip", "");
    test::FakeBookArchives archives(book.folder() + "cache");
    archives.addFiles(book.folder() + "Buch.zip",
                      {{"Buch/ncc.html", book.dir().read("ncc.html")}, {"Buch/a.smil", book.dir().read("a.smil")}});
    archives.refuse(book.folder() + "bomb.zip", BookArchives::Fault::kTooLarge);
    const DumpFailureTexts texts{"no book", [](BookLocator::Fault fault) {
                                     return fault == BookLocator::Fault::kZipTooLarge ? "a bomb" : "other";
                                 }};

    std::ostringstream out, err;
    ASSERT_EQ(dumpBook(book.folder() + "Buch.zip", out, err, archives, texts), 0);
    EXPECT_NE(out.str().find("title=Gezippt\n"), std::string::npos);
    EXPECT_NE(out.str().find("\t" + archives.unpackFolder(0) + "Buch/text.html\t"), std::string::npos);
    EXPECT_TRUE(archives.unpacked.empty());

    const struct {
        std::string argument;
        std::string message;
    } failures[] = {{book.folder() + "bomb.zip", "a bomb\n"}, {book.folder() + "missing/", "no book\n"}};
    for (const auto& c : failures) {
        std::ostringstream none, message;
        EXPECT_EQ(dumpBook(c.argument, none, message, archives, texts), 2) << c.argument;
        EXPECT_EQ(message.str(), c.message) << c.argument;
    }
}

TEST(DumpBook, DerivesTheBookFolderFromAFolderOrItsNcc)
{
    TestBook book;
    book.write("NCC.HTML", "x");
    std::filesystem::create_directory(book.dir().path() / "ncc.html.d");
    const std::string f = book.folder();
    EXPECT_EQ(bookFolderFromArgument(f), f);
    EXPECT_EQ(bookFolderFromArgument(f.substr(0, f.size() - 1)), f);
    EXPECT_EQ(bookFolderFromArgument(f + "NCC.HTML"), f);
    EXPECT_EQ(bookFolderFromArgument(f + "ncc.html"), f);  // need not exist in that case
    EXPECT_EQ(bookFolderFromArgument(f + "Ncc.Html"), f);
    EXPECT_EQ(bookFolderFromArgument(f + "ncc.html.d"), f + "ncc.html.d/");
    EXPECT_EQ(bookFolderFromArgument("ncc.html"), "./");
    EXPECT_EQ(bookFolderFromArgument("somewhere/else"), "somewhere/else/");
}

TEST(DumpBook, ReadsABookGivenByItsNccInCapitals)
{
    TestBook book;
    book.writeNcc(TestBook::Ncc().meta("dc:title", "Gross"), "NCC.HTML");
    std::ostringstream out, err;
    EXPECT_EQ(dumpBook(book.folder() + "NCC.HTML", out, err, "unused"), 0);
    EXPECT_NE(out.str().find("title=Gross\n"), std::string::npos);
}

TEST(DumpBook, PrintsADaisy3BookGivenByItsFolderOrItsPackageFile)
{
    TestBook book;
    book.writePackage(TestBook::Package().title("Drei").smil("a.smil"), "Book.OPF");
    book.writeNcx(TestBook::Ncx().navPoint(1, "Eins", "a.smil"));
    book.writeSmil2("a.smil", TestBook::Smil2().par("p1", "", {{"a.wav", "0s", "1.5s"}}));
    const std::string f = book.folder();
    EXPECT_EQ(bookFolderFromArgument(f + "Book.OPF"), f);
    for (const std::string& argument : {f, f + "Book.OPF"}) {
        std::ostringstream out, err;
        ASSERT_EQ(dumpBook(argument, out, err, "unused"), 0) << argument;
        EXPECT_EQ(out.str(), "[book]\n"
                             "date=00-00-0000\n"
                             "identifier=\n"
                             "title=Drei\n"
                             "tocitems=1\n"
                             "totaltime=00:00:01.500\n"
                             "setinfo=\n"
                             "codepage=65001\n"
                             "features=10000000\n"
                             "[headings]\n"
                             "1\tEins\ta.smil\t00:00:01.500\t00:00:00\t0\n"
                             "[phrases]\n"
                             "0\tp1\t\t\t\ta.wav\t0.000\t1.500\t\n"
                             "[pages]\n"
                             "[groups]\n"
                             "[tree]\n"
                             "0\t0\tEins\n")
            << argument;
    }
    std::ostringstream out, err;
    EXPECT_EQ(dumpBook(f + "missing.opf", out, err, "Could not open the book!"), 2);
    EXPECT_EQ(err.str(), "Could not open the book!\n");
}

}  // namespace
}  // namespace korvin
