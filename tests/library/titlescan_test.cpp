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

}  // namespace
}  // namespace korvin
