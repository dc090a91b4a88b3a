// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/scrambler.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <string>

namespace korvin {
namespace {

std::u32string codePoints(const std::string& text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += code;
        i += length;
    }
    return out;
}

TEST(Scrambler, RoundTripKeepsTheLengthInCharacters)
{
    const Scrambler scrambler;
    for (const std::string& text : std::vector<std::string>{"abc", "", "/home/hörer/Bücher/Roman 1/", "Grüße, ÄÖÜ é ß!?",
                                   std::string(500, 'a'), "0:03:25 100.000000 #ff8000"}) {
        const std::string scrambled = scrambler.scramble(text);
        EXPECT_EQ(codePoints(scrambled).size(), codePoints(text).size()) << text;
        EXPECT_EQ(scrambler.unscramble(scrambled), text) << text;
    }
    EXPECT_EQ(scrambler.scramble(""), "");
    EXPECT_NE(scrambler.scramble("abc"), "abc");
}

TEST(Scrambler, CharactersOutsideTheTablesStayInPlace)
{
    const Scrambler scrambler;
    const std::string text = "a\\b\"c@[]{}~_^`|\tz€";
    const std::u32string in = codePoints(text);
    const std::u32string out = codePoints(scrambler.scramble(text));
    ASSERT_EQ(in.size(), out.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const bool outside = std::u32string(U"\\\"@[]{}~_^`|\t€").find(in[i]) != std::u32string::npos;
        EXPECT_EQ(out[i] == in[i], outside) << i;
    }
}

TEST(Scrambler, TheSameCharacterAtDifferentPositionsGivesDifferentCharacters)
{
    const Scrambler scrambler;
    const std::u32string out = codePoints(scrambler.scramble(std::string(45, 'e')));
    // The tables move two places against each other per position: 45 positions
    // of 91 never meet the same index twice.
    EXPECT_EQ(std::set<char32_t>(out.begin(), out.end()).size(), 45u);
}

TEST(Scrambler, InvalidUtf8BytesPassThroughAsCharactersOfTheirOwn)
{
    const Scrambler scrambler;
    const std::string text = std::string("ab\xff\xc3(cd\xe2\x82", 9);
    const std::string scrambled = scrambler.scramble(text);
    EXPECT_EQ(scrambled.size(), text.size());
    EXPECT_EQ(scrambled[2], '\xff');
    EXPECT_EQ(scrambler.unscramble(scrambled), text);
}

TEST(Scrambler, FollowsTheIndexRuleOfItsTables)
{
    const Scrambler scrambler(U"abcd", U"dcba");
    // Position 0: a (index 0) → d; position 1: a → index -2 = 2 → b; position 2:
    // a → index -4 = 0 → d.
    EXPECT_EQ(scrambler.scramble("aaa"), "dbd");
    EXPECT_EQ(scrambler.unscramble("dbd"), "aaa");
}

}  // namespace
}  // namespace korvin
