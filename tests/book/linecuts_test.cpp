// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/linecuts.h"

#include <gtest/gtest.h>

#include "book/textcase.h"

namespace korvin {
namespace {

TEST(LineCuts, TakesTheMetaValueOfTheFirstAttributeAfterThePosition)
{
    const std::string_view line = R"(<meta name="dc:title" content="Der Titel" />)";
    EXPECT_EQ(metaValue(line, line.find("dc:title")), "Der Titel");
    const std::string_view before = R"(<meta content="Titel" name="dc:title" />)";
    EXPECT_EQ(metaValue(before, before.find("dc:title")), "");
    const std::string_view open = R"(<meta name="dc:title" content="no end)";
    EXPECT_EQ(metaValue(open, open.find("dc:title")), "no end");
}

TEST(LineCuts, CutsFileFragmentAndLabelOfALink)
{
    const std::string_view line = R"(<span class="page-normal" id="p7"><a href="b.smil#par_9">17</a></span>)";
    const std::size_t at = line.find("class=");
    EXPECT_EQ(linkFileName(line, at), "b.smil");
    EXPECT_EQ(linkFragment(line, at), "par_9");
    EXPECT_EQ(linkLabel(line, at), "17");
}

TEST(LineCuts, RunsAFileNameWithoutNumberSignToTheEndOfTheLine)
{
    const std::string_view line = R"(<h1><a href="b.smil">T</a></h1>)";
    EXPECT_EQ(linkFileName(line, 0), R"(b.smil">T</a></h1>)");
    EXPECT_EQ(linkFragment(line, 0), "");
    EXPECT_EQ(linkFileName("<h1 no link>", 0), "");
    EXPECT_EQ(linkFileName("<a href", 0), "");
}

TEST(LineCuts, CutsTheTitleAfterTheLinkTagUpToTheFirstEndTag)
{
    const auto title = [](std::string_view line) { return std::string(headingTitle(line, lowerCase(line))); };
    EXPECT_EQ(title(R"(<h1 id="x"><a href="a.smil#1">Kapitel 1</a></h1>)"), "Kapitel 1");
    EXPECT_EQ(title(R"(<h1 id="x"><A HREF="a.smil#1"><span class="x">Fett</span> und mehr</A></h1>)"), "Fett");
    EXPECT_EQ(title(R"(<h1 id="x"><a href="a.smil#1"><b>Fett</b></a></h1>)"), "");
    EXPECT_EQ(title(R"(<h1 id="x">Ohne Link</h1>)"), "");
    EXPECT_EQ(title(R"(<h1 id="x"><a href="a.smil#1">Offen)"), "Offen");
    EXPECT_EQ(title(R"(<h1 id="x"><a href="a.smil#1">)"), "");
}

TEST(LineCuts, CutsAtAFixedDistanceFromAnAttributeName)
{
    const std::string_view line = R"(<audio src="a.mp3" clip-begin="npt=12.345s" clip-end="npt=15.2s" />)";
    EXPECT_EQ(cutAfter(line, 0, "clip-begin", 16, 's'), "12.345");
    EXPECT_EQ(cutAfter(line, 0, "clip-end", 14, 's'), "15.2");
    EXPECT_EQ(cutAfter(line, 0, "src=", 5, '"'), "a.mp3");
    EXPECT_EQ(cutAfter(line, 0, "id=", 4, '"'), "");
    EXPECT_EQ(cutAfter("x clip-end", 0, "clip-end", 14, 's'), "");  // the line ends before the value
}

}  // namespace
}  // namespace korvin
