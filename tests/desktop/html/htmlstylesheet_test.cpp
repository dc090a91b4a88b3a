// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlstylesheet.h"

#include "desktop/html/htmldocument.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace korvin {
namespace {

// "property=value" of every declaration matching the element, weakest first.
std::vector<std::string> matched(const HtmlStyleSheet& sheet, const HtmlDocument& doc, const std::string& id)
{
    std::vector<const CssDeclaration*> declarations;
    sheet.matchingDeclarations(doc.elementById(id), declarations);
    std::vector<std::string> out;
    for (const CssDeclaration* declaration : declarations)
        out.push_back(declaration->property + "=" + declaration->value);
    return out;
}

using Strings = std::vector<std::string>;

TEST(HtmlStyleSheet, ParsesDeclarationsOfStyleAttributes)
{
    const auto declarations = HtmlStyleSheet::parseDeclarations(
        " BACKGROUND-COLOR: #ff8000 ;font-weight:bold; broken; color : rgb(1, 2, 3) !important;;x:;"
        "content: 'a;b'");
    ASSERT_EQ(declarations.size(), 4u);
    EXPECT_EQ(declarations[0].property, "background-color");
    EXPECT_EQ(declarations[0].value, "#ff8000");
    EXPECT_EQ(declarations[1].value, "bold");
    EXPECT_EQ(declarations[2].property, "color");
    EXPECT_EQ(declarations[2].value, "rgb(1, 2, 3)");
    EXPECT_TRUE(declarations[2].important);
    EXPECT_EQ(declarations[3].value, "'a;b'");
}

TEST(HtmlStyleSheet, MatchesSimpleAndDescendantSelectorsBySpecificity)
{
    const HtmlDocument doc = HtmlDocument::fromUtf8(
        "<body><div class=\"Sidebar note\" id=side><p id=p1 class=x>a <a id=l href=x>l</a> "
        "<a id=n name=n>n</a></p></div><p id=p2>b</p></body>");
    HtmlStyleSheet sheet;
    sheet.addRules(
        "/* comment */ p { color: red } .x { color: green } #P1 { color: blue }\n"
        "div.sidebar p { font-style: italic } p.x { font-weight: bold }\n"
        "* a { text-decoration: none } a:link { color: navy } a:hover { color: red }\n"
        "div > p { font-size: 90% } h1 + p { color: pink } p[lang] { color: pink }\n"
        "p, .note { display: block }");
    EXPECT_EQ(matched(sheet, doc, "p1"),
              (Strings{"color=red", "display=block", "font-size=90%", "color=green", "font-weight=bold",
                       "font-style=italic", "color=blue"}));
    EXPECT_EQ(matched(sheet, doc, "p2"), (Strings{"color=red", "display=block"}));
    EXPECT_EQ(matched(sheet, doc, "side"), (Strings{"display=block"}));
    EXPECT_EQ(matched(sheet, doc, "l"), (Strings{"text-decoration=none", "color=navy"}));
    EXPECT_EQ(matched(sheet, doc, "n"), (Strings{"text-decoration=none"}));
}

TEST(HtmlStyleSheet, MatchesAChildOnlyUnderItsParent)
{
    const HtmlDocument doc = HtmlDocument::fromUtf8(
        "<body><div id=d><p id=p><span id=s1>x</span></p><span id=s2>y</span></div></body>");
    const struct {
        const char* selector;
        const char* id;
        bool matches;
    } cases[] = {
        {"div > p", "p", true},          {"div>p", "p", true},
        {"div > span", "s1", false},     {"div > span", "s2", true},
        {"div span", "s1", true},        {"body > div > p > span", "s1", true},
        {"body > p", "p", false},        {"div > p span", "s1", true},
        {"body > span", "s2", false},    {"html > body div > span", "s2", true},
    };
    for (const auto& c : cases) {
        HtmlStyleSheet sheet;
        sheet.addRules(std::string(c.selector) + " { color: red }");
        EXPECT_EQ(!matched(sheet, doc, c.id).empty(), c.matches) << c.selector << " " << c.id;
    }
}

TEST(HtmlStyleSheet, PassesOverWhatItCannotUse)
{
    const HtmlDocument doc = HtmlDocument::fromUtf8("<body><p id=p>x</p></body>");
    HtmlStyleSheet sheet;
    sheet.addRules("@charset \"utf-8\"; @import url(other.css);\n"
                   "@media print { p { color: red } } @media screen, print { p { color: blue } }\n"
                   "@font-face { font-family: x; src: url(x.ttf) }\n"
                   "p { color: green; } } p { font-weight: bold } /* a stray brace spoils the next rule */ <!-- p { font-style: italic } -->\n"
                   "p { unclosed: yes");
    EXPECT_EQ(matched(sheet, doc, "p"),
              (Strings{"color=blue", "color=green", "font-style=italic", "unclosed=yes"}));
    HtmlStyleSheet empty;
    empty.addRules("");
    empty.addRules("}}}{{{");
    EXPECT_TRUE(matched(empty, doc, "p").empty());
}

TEST(HtmlStyleSheet, ReadsTheSheetsOfADocumentInOrder)
{
    test::TempDir dir;
    dir.write("css/book.css", "p { color: red }");
    dir.write("my sheet.css", "p { color: green }");
    const HtmlDocument doc = HtmlDocument::fromUtf8(
        "<html><head><link rel=stylesheet href=\"css\\book.css\">"
        "<style>p { color: blue }</style>"
        "<link rel=\"alternate stylesheet\" href=\"css/book.css\">"
        "<link rel=stylesheet href=\"missing.css\"><link rel=stylesheet media=print href=\"css/book.css\">"
        "<link rel=\"StyleSheet\" href=\"my%20sheet.css\"></head><body><p id=p>x</p></body></html>");
    HtmlStyleSheet sheet;
    sheet.addDocumentSheets(doc, dir.path());
    EXPECT_EQ(matched(sheet, doc, "p"), (Strings{"color=red", "color=blue", "color=green"}));
}

TEST(HtmlStyleSheet, PassesOverSheetsThatAreNoRegularFiles)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.css").c_str(), 0600), 0);
    dir.write("book.css", "p { color: red }");
    const HtmlDocument doc = HtmlDocument::fromUtf8(
        "<html><head><link rel=stylesheet href=\"pipe.css\"><link rel=stylesheet href=\"/dev/zero\">"
        "<link rel=stylesheet href=\"book.css\"></head><body><p id=p>x</p></body></html>");
    HtmlStyleSheet sheet;
    sheet.addDocumentSheets(doc, dir.path());  // returns: nothing waits for a writer
    EXPECT_EQ(matched(sheet, doc, "p"), (Strings{"color=red"}));
}

}  // namespace
}  // namespace korvin
