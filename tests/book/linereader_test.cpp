// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/linereader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvin {
namespace {

std::vector<std::string> linesOf(std::string_view text)
{
    std::vector<std::string> lines;
    LineReader reader(text);
    while (const auto line = reader.next())
        lines.emplace_back(*line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, ReadsLfAndCrLfFilesTheSame)
{
    EXPECT_EQ(linesOf("a\nbb\n\nc\n"), (Lines{"a", "bb", "", "c"}));
    EXPECT_EQ(linesOf("a\r\nbb\r\n\r\nc\r\n"), (Lines{"a", "bb", "", "c"}));
}

TEST(LineReader, RemovesOneCarriageReturnBeforeTheLineEnd)
{
    EXPECT_EQ(linesOf("a\r\r\nb\rc\n\r"), (Lines{"a\r", "b\rc", ""}));
}

TEST(LineReader, CountsALastLineWithoutLineEnd)
{
    EXPECT_EQ(linesOf("a\nlast"), (Lines{"a", "last"}));
    EXPECT_EQ(linesOf("only"), (Lines{"only"}));
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("\n"), (Lines{""}));
}

TEST(LineReader, KeepsNulBytesInTheirLine)
{
    const std::string text("a\0b\n\0\n", 6);
    EXPECT_EQ(linesOf(text), (Lines{std::string("a\0b", 3), std::string(1, '\0')}));
}

}  // namespace
}  // namespace korvin
