// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/codepages.h"

#include <gtest/gtest.h>

namespace korvin {
namespace {

int fromCharset(std::string_view name)
{
    return codePageFromCharsetLine("<meta name=\"ncc:charset\" content=\"" + std::string(name) + "\" />");
}

TEST(CodePages, FindsTheCharsetWithoutRegardToLetterCase)
{
    EXPECT_EQ(fromCharset("ISO-8859-1"), 1252);
    EXPECT_EQ(fromCharset("UTF-8"), 65001);
    EXPECT_EQ(fromCharset("Windows-1250"), 1250);
    EXPECT_EQ(fromCharset("latin1"), 1252);
    EXPECT_EQ(fromCharset("Shift_JIS"), 932);
    EXPECT_EQ(fromCharset("koi8-r"), 1251);
    EXPECT_EQ(fromCharset("us-ascii"), 20127);
    EXPECT_EQ(fromCharset("euc-kr"), 51949);
}

TEST(CodePages, GivesTheLaterIsoLatinSetsTheirOwnRules)
{
    EXPECT_EQ(fromCharset("iso-8859-15"), 28605);
    EXPECT_EQ(fromCharset("iso-8859-13"), 1257);
    EXPECT_EQ(fromCharset("iso-8859-10"), 28594);
    // Another occurrence of plain Latin-1 in the same line still counts.
    EXPECT_EQ(fromCharset("iso-8859-15, iso-8859-1"), 1252);
}

TEST(CodePages, FollowsTheOrderOfPreference)
{
    EXPECT_EQ(fromCharset("big5"), 10002);
    EXPECT_EQ(fromCharset("windows-1254"), 28599);
    EXPECT_EQ(fromCharset("iso-8859-2 utf-8"), 65001);  // the earlier rule wins, not the earlier name
}

TEST(CodePages, SearchesTheWholeLine)
{
    EXPECT_EQ(codePageFromCharsetLine("<meta name=\"ncc:charset\" scheme=\"windows-1251\" content=\"x\" />"), 1251);
}

TEST(CodePages, GivesZeroForUnknownOrUnavailableCharsets)
{
    EXPECT_EQ(fromCharset("ebcdic-037"), 0);
    EXPECT_EQ(fromCharset(""), 0);
    EXPECT_EQ(codePageFromCharsetLine(""), 0);
    EXPECT_EQ(fromCharset("hz-gb-2312"), isCodePageAvailable(52936) ? 52936 : 0);
}

TEST(CodePages, MapsEveryCodePageOfTheTableToAConverterOfThisSystem)
{
    // glibc has every code page of the table except HZ; a misspelt iconv name
    // would make a whole charset silently fall back to code page 0.
    for (int codePage : {65001, 65000, 932, 50220, 51932, 936, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256,
                         1257, 10002, 20127, 20866, 20936, 28591, 28592, 28593, 28594, 28595, 28596, 28597, 28598,
                         28599, 28605, 50225, 51936, 51949}) {
        EXPECT_TRUE(isCodePageAvailable(codePage)) << codePage << " " << iconvName(codePage);
    }
    EXPECT_FALSE(isCodePageAvailable(0));
    EXPECT_FALSE(isCodePageAvailable(12345));
    EXPECT_EQ(iconvName(0), "");
}

}  // namespace
}  // namespace korvin
