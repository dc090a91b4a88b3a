// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/nccheadings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/memoryfilesource.h"
#include "book/nccreader.h"
#include "book/textcase.h"

namespace korvin {
namespace {

std::vector<std::string> walk(const std::string& ncc)
{
    std::string keys;
    lowerCaseInto(ncc, keys);
    NccSmilNames names(ncc, keys);
    std::vector<std::string> found;
    while (const auto name = names.next())
        found.emplace_back(*name);
    return found;
}

// The SMIL column of the headings the reading itself makes.
std::vector<std::string> readHeadingSmils(const std::string& ncc)
{
    MemoryFileSource files;
    files.add("/book/ncc.html", ncc);
    BookTables tables;
    NccReader reader(tables, "/book/", NccReader::Texts(), files);
    NoProgress progress;
    EXPECT_EQ(reader.read(progress), NccReader::kRead);
    std::vector<std::string> smils;
    for (int row = 0; row < tables.headings.rowCount(); ++row)
        smils.push_back(tables.headings.text(row, col::heading::kSmil));
    return smils;
}

// The walk names the SMIL files of the headings the reading makes, in their
// order: the read-ahead reads exactly the files the reading asks for.
TEST(NccSmilNames, NamesTheSmilFilesOfTheHeadingsTheReadingMakes)
{
    const std::string head = "<html>\n<head>\n<meta name=\"ncc:tocItems\" content=\"3\" />\n</head>\n";
    const struct {
        const char* what;
        std::string ncc;
        std::vector<std::string> names;
    } cases[] = {
        {"headings of the body",
         head + "<body>\n<h1 class=\"title\"><a href=\"a.smil#x\">A</a></h1>\n<h2><a href=\"b.smil#y\">B</a></h2>\n</body>\n",
         {"a.smil", "b.smil"}},
        {"not before the body nor after it",
         "<h1><a href=\"head.smil#x\">H</a></h1>\n<body>\n<h1><a href=\"a.smil#x\">A</a></h1>\n</body>\n"
         "<h1><a href=\"after.smil#x\">Z</a></h1>\n",
         {"a.smil"}},
        {"one file named twice",
         "<body>\n<h1><a href=\"a.smil#1\">A</a></h1>\n<h2><a href=\"a.smil#2\">B</a></h2>\n",
         {"a.smil", "a.smil"}},
        {"a heading over several lines, its lines not read again",
         "<body>\n<h1><a href=\n\"a.smil#1\">A\n<h2><a href=\"b.smil#2\">B</a></h2>\n<h3><a href=\"c.smil#3\">C</a></h3>\n",
         {"a.smil", "c.smil"}},
        {"a heading to the end of the file", "<body>\n<h1><a href=\"a.smil#1\">A\nmore\n", {"a.smil"}},
        {"only the first <h of a line",
         "<body>\n<hr /><h1><a href=\"a.smil#1\">A</a></h1>\n<h1><a href=\"b.smil#1\">B</a></h1><hr />\n",
         {"b.smil"}},
        {"levels 1 to 6 only, no empty tags",
         "<body>\n<h7><a href=\"a.smil#1\">A</a></h7>\n<h1/>\n<h6><a href=\"b.smil#1\">B</a></h6>\n<h0>x</h0>\n",
         {"b.smil"}},
        {"capitals and CR LF", "<BODY>\r\n<H1 CLASS=\"x\"><a href=\"A.SMIL#1\">A</A></H1>\r\n<H2><A HREF=\"B.SMIL#1\">B</A></H2>\r\n",
         {"A.SMIL", ""}},
        {"a heading without a link", "<body>\n<h1>A</h1>\n<h2><a href=\"b.smil#1\">B</a></h2>\n", {"", "b.smil"}},
        {"body ended and begun again on one line",
         "<body>\n</body><body>\n<h1><a href=\"a.smil#1\">A</a></h1>\n<body></body>\n<h1><a href=\"b.smil\">B</a></h1>\n",
         {}},
        {"no body", "<html>\n<h1><a href=\"a.smil#1\">A</a></h1>\n", {}},
        {"nothing", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(walk(c.ncc), c.names);
        EXPECT_EQ(readHeadingSmils(c.ncc), c.names);
    }
}

}  // namespace
}  // namespace korvin
