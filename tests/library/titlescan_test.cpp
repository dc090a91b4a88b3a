// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/titlescan.h"

#include <gtest/gtest.h>

#include "support/fakearchives.h"
#include "support/tempdir.h"

namespace korvin {
namespace {

TEST(TitleScan, TakesTheFirstHeadingAsTheReaderDoes)
{
    const struct {
        const char* ncc;
        std::optional<std::string> title;
    } cases[] = {
        {"<html><head>\n<title>Not this</title></head><body>\n<h1 id=\"a\"><a href=\"a.smil#p\">Erster Teil</a></h1>\n"
         "<h1><a href=\"b.smil#p\">Zweiter</a></h1>\n",
         "Erster Teil"},
        {"<body>\n<hr />\n<H2 class=\"x\"><A HREF=\"a.smil#p\">\nÜber\nall</A>\n</H2>\n", "Überall"},
        {"<body>\n<h1><a href=\"a.smil#p\"></a></h1>\n", ""},
        {"<meta name=\"ncc:charset\" content=\"windows-1252\" />\n<h1><a href=\"a.smil\">K\xf6ln</a></h1>\n", "Köln"},
        {"<body>\n<p>no heading at all</p>\n", ""},
        {"<body>\n<h1><a href=\"a.smil#p\">never ends\nand on\n", "never endsand on"},
    };
    for (const auto& c : cases) {
        test::TempDir book;
        book.write("ncc.html", c.ncc);
        EXPECT_EQ(scanTitle(book.path().string(), test::FakeBookArchives()), c.title) << c.ncc;
    }
}

TEST(TitleScan, FindsTheFileInAnyCaseAndFailsWithoutIt)
{
    test::TempDir book;
    EXPECT_EQ(scanTitle(book.path().string(), test::FakeBookArchives()), std::nullopt);
    book.write("NCC.HTML", "<h1><a href=\"a.smil\">Groß</a></h1>");
    EXPECT_EQ(scanTitle(book.path().string(), test::FakeBookArchives()), "Groß");
}

TEST(TitleScan, TakesADaisy3BooksTitleFromItsPackageAndAZippedBooksFromTheArchive)
{
    test::TempDir disk;
    const std::string package = "<package><metadata><dc-metadata><dc:Creator>Wer</dc:Creator>"
                                "<dc:Title> Gro&#xDF;e  Reise </dc:Title></dc-metadata></metadata></package>";
    disk.write("d3/Buch.opf", package);
    disk.write("two/a.opf", package);
    disk.write("two/b.opf", package);
    const std::string d = disk.folder();
    test::FakeBookArchives archives(d + "cache");
    archives.addFiles(d + "a.zip", {{"x/Buch/buch.opf", package}});
    archives.addFiles(d + "b.zip", {{"NCC.HTML", "<h1><a href=\"a.smil\">Erstes</a></h1>"}});
    archives.addFiles(d + "none.zip", {{"Buch/text.html", ""}});
    archives.addFiles(d + "bad.zip", {{"Buch/book.opf", "<package><metadata/></package>"}});
    archives.refuse(d + "bomb.zip", BookArchives::Fault::kTooLarge);
    for (const char* zip : {"a.zip", "b.zip", "none.zip", "bad.zip", "bomb.zip"})
        disk.write(zip, "");
    const struct {
        std::string place;
        std::optional<std::string> title;
    } cases[] = {
        {d + "d3", "Große Reise"}, {d + "two", std::nullopt},  {d + "a.zip", "Große Reise"},
        {d + "b.zip", "Erstes"},   {d + "none.zip", std::nullopt}, {d + "bad.zip", ""},
        {d + "bomb.zip", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scanTitle(c.place, archives), c.title) << c.place;
    EXPECT_TRUE(archives.unpacked.empty());
}

}  // namespace
}  // namespace korvin
