// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlstyler.h"

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlstylesheet.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

struct Styled {
    explicit Styled(const char* markup, const char* css = "") : doc(HtmlDocument::fromUtf8(markup))
    {
        sheet.addRules(css);
    }
    HtmlStyle operator()(const char* id) const { return HtmlStyler(sheet).computeFromRoot(doc.elementById(id)); }

    HtmlDocument doc;
    HtmlStyleSheet sheet;
};

TEST(HtmlStyler, ParsesColours)
{
    EXPECT_EQ(HtmlStyler::parseColor("#ff8000"), 0xFF8000u);
    EXPECT_EQ(HtmlStyler::parseColor(" #F80 "), 0xFF8800u);
    EXPECT_EQ(HtmlStyler::parseColor("rgb(255, 0, 16)"), 0xFF0010u);
    EXPECT_EQ(HtmlStyler::parseColor("rgb(100%,0%,50%)"), 0xFF0080u);
    EXPECT_EQ(HtmlStyler::parseColor("Navy"), 0x000080u);
    EXPECT_EQ(HtmlStyler::parseColor("#ff80"), std::nullopt);
    EXPECT_EQ(HtmlStyler::parseColor("#gg0000"), std::nullopt);
    EXPECT_EQ(HtmlStyler::parseColor("chartreuse-ish"), std::nullopt);
    EXPECT_EQ(HtmlStyler::parseColor(""), std::nullopt);
}

TEST(HtmlStyler, GivesElementsTheirDefaults)
{
    const Styled style("<body><h1 id=h>x</h1><p id=p>y <b id=b>b <i id=i>i</i></b> <a id=a href=x>l</a>"
                       "<a id=n name=n>n</a><sup id=sup>2</sup></p><ol id=ol><li id=li>z</li></ol>"
                       "<pre id=pre>p</pre><table><tr id=tr><td id=td>c</td></tr></table>"
                       "<p id=c align=center>c</p><script id=s>x</script><font id=f color=red size=5>f</font>"
                       "<div id=hidden hidden>h</div></body>");
    EXPECT_EQ(style("h").display, HtmlDisplay::Block);
    EXPECT_TRUE(style("h").bold);
    EXPECT_FLOAT_EQ(style("h").fontScale, 2.0f);
    EXPECT_EQ(style("b").display, HtmlDisplay::Inline);
    EXPECT_TRUE(style("i").bold);
    EXPECT_TRUE(style("i").italic);
    EXPECT_EQ(style("a").color, 0x0000EEu);
    EXPECT_TRUE(style("a").underline);
    EXPECT_FALSE(style("n").underline);
    EXPECT_EQ(style("sup").verticalAlign, HtmlVerticalAlign::Super);
    EXPECT_EQ(style("li").display, HtmlDisplay::ListItem);
    EXPECT_EQ(style("li").listStyle, HtmlListStyle::Decimal);
    EXPECT_EQ(style("li").indent, 1);
    EXPECT_TRUE(style("pre").preformatted);
    EXPECT_TRUE(style("pre").monospace);
    EXPECT_EQ(style("tr").display, HtmlDisplay::TableRow);
    EXPECT_EQ(style("td").display, HtmlDisplay::TableCell);
    EXPECT_EQ(style("c").align, HtmlAlign::Center);
    EXPECT_EQ(style("s").display, HtmlDisplay::None);
    EXPECT_EQ(style("f").color, 0xFF0000u);
    EXPECT_FLOAT_EQ(style("f").fontScale, 1.5f);
    EXPECT_EQ(style("hidden").display, HtmlDisplay::None);
}

TEST(HtmlStyler, AppliesSheetsThenTheStyleAttribute)
{
    const Styled style(
        "<body><div id=d class=level><p id=p class=x>t <span id=s>s</span> <a id=a href=x>l</a></p>"
        "<span id=block class=page>1</span><p id=imp style=\"color: blue\">i</p>"
        "<ul id=ul class=plain><li id=li>x</li></ul></div></body>",
        "div.level { font-size: 80%; text-align: right } p.x { color: #333; font-weight: bold }\n"
        "span { font-style: italic; text-decoration: underline line-through } * a { color: #000; "
        "text-decoration: none } span.page { display: block } #imp { color: red !important }\n"
        "ul.plain li { list-style-type: none } p { font-size: 1.5em; vertical-align: super }");
    EXPECT_FLOAT_EQ(style("d").fontScale, 0.8f);
    EXPECT_FLOAT_EQ(style("p").fontScale, 1.2f);  // 1.5em of 80 %
    EXPECT_EQ(style("p").align, HtmlAlign::Right);
    EXPECT_EQ(style("s").color, 0x333333u);
    EXPECT_TRUE(style("s").bold);
    EXPECT_TRUE(style("s").italic);
    EXPECT_TRUE(style("s").underline);
    EXPECT_TRUE(style("s").strikeOut);
    EXPECT_EQ(style("a").color, 0x000000u);
    EXPECT_FALSE(style("a").underline);
    EXPECT_EQ(style("block").display, HtmlDisplay::Block);
    EXPECT_EQ(style("imp").color, 0xFF0000u);
    EXPECT_EQ(style("li").listStyle, HtmlListStyle::None);
    EXPECT_EQ(style("p").verticalAlign, HtmlVerticalAlign::Super);
}

TEST(HtmlStyler, PaintsColourOnlySpansOverTheirText)
{
    const Styled style(
        "<body><p id=p style=\"color: green\">"
        "<span id=bg style=\"BACKGROUND-COLOR: #ff8000\">a</span>"
        "<span id=fg style=\"COLOR: #00ff00\">b</span>"
        "<span id=bold style=\"FONT-WEIGHT: bold\">c</span>"
        "<span id=both style=\"color: red; font-style: italic\">d</span>"
        "<span id=styled class=x style=\"color: red\">e</span>"
        "<b id=notspan style=\"color: red\">f</b></p></body>",
        ".x { font-size: 100% }");
    EXPECT_EQ(style("bg").overlayBackground, 0xFF8000u);
    EXPECT_EQ(style("bg").color, 0x008000u);  // the text keeps the paragraph's colour
    EXPECT_EQ(style("fg").overlayColor, 0x00FF00u);
    EXPECT_FALSE(style("fg").overlayBackground.has_value());
    EXPECT_FALSE(style("bold").isOverlay());
    EXPECT_TRUE(style("bold").bold);
    EXPECT_FALSE(style("both").isOverlay());
    EXPECT_EQ(style("both").color, 0xFF0000u);
    EXPECT_FALSE(style("styled").isOverlay());
    EXPECT_FALSE(style("notspan").isOverlay());
}

}  // namespace
}  // namespace korvin
