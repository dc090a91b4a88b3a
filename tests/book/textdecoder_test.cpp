// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textdecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace korvin {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(TextDecoder, ReadsCodePageZeroAsUtf8WhenItIsValid)
{
    EXPECT_EQ(decode("Grüße", 0), "Grüße");
    EXPECT_EQ(decode("plain", 0), "plain");
    EXPECT_EQ(decode("", 0), "");
}

TEST(TextDecoder, ReadsCodePageZeroAsWindows1252Otherwise)
{
    EXPECT_EQ(decode("Gr\xFC\xDF" "e", 0), "Grüße");
    EXPECT_EQ(decode("\x80 \x93x\x94", 0), "€ “x”");
    EXPECT_EQ(decode("\x81", 0), kFffd);  // one of the five bytes 1252 leaves out
}

TEST(TextDecoder, ReplacesMalformedUtf8)
{
    EXPECT_EQ(decode("a\xFF" "b", 65001), "a" + kFffd + "b");
    EXPECT_EQ(decode("a\xE2\x82", 65001), "a" + kFffd);  // a cut-off sequence is one character
    EXPECT_EQ(decode("\xC0\xAF", 65001), kFffd + kFffd);  // overlong
    EXPECT_EQ(decode("\xED\xA0\x80", 65001), kFffd + kFffd + kFffd);  // a surrogate
    EXPECT_EQ(decode("\xF4\x90\x80\x80", 65001), kFffd + kFffd + kFffd + kFffd);  // beyond U+10FFFF
    EXPECT_EQ(decode("€ \xF0\x9F\x98\x80", 65001), "€ \xF0\x9F\x98\x80");
}

TEST(TextDecoder, ConvertsTheBooksCodePage)
{
    EXPECT_EQ(decode("\x93Hi\x94", 1252), "“Hi”");
    EXPECT_EQ(decode("\xCF\xF0\xE8", 1251), "При");
    EXPECT_EQ(decode("\x93\xFA\x96\x7B", 932), "日本");
    EXPECT_EQ(decode("\xA4", 28605), "€");
    EXPECT_EQ(decode("+AGEAYgBj-", 65000), "abc");
}

TEST(TextDecoder, ReplacesBytesTheCodePageDoesNotKnow)
{
    EXPECT_EQ(decode("\x93\xFA\xFF\x96\x7B", 932), "日" + kFffd + "本");
    EXPECT_EQ(decode("x\x93", 932), "x" + kFffd);  // a lead byte cut off by the end
    EXPECT_EQ(decode("a\x81" "b", 1252), "a" + kFffd + "b");
}

TEST(TextDecoder, ReadsUnknownCodePagesLikeCodePageZero)
{
    EXPECT_EQ(decode("Gr\xFC\xDF" "e", 12345), "Grüße");
}

TEST(TextDecoder, ReusesOneConverterForManyTexts)
{
    TextDecoder decoder(932);
    EXPECT_EQ(decoder.decode("\x93\xFA"), "日");
    EXPECT_EQ(decoder.decode("\x93"), kFffd);
    EXPECT_EQ(decoder.decode("\x96\x7B"), "本");  // no state left from the cut text
    TextDecoder shifted(50220);
    EXPECT_EQ(shifted.decode("\x1B$B" "F|" "\x1B(B" "a"), "日a");
    EXPECT_EQ(shifted.decode("a"), "a");
}

TEST(TextDecoder, BoundsTheLengthAtACharacterBoundary)
{
    const std::string ascii(1'000'000, 'a');
    for (int codePage : {0, 65001, 1252, 1251}) {
        const std::string text = decode(ascii, codePage);
        EXPECT_EQ(text.size(), TextDecoder::kMaxBytes) << codePage;
    }
    // Two-byte results; three-byte results (the bound is no multiple of 3).
    const std::vector<std::pair<std::string, int>> wide{
        {std::string(100'000, '\xE4'), 1252}, {std::string(100'000, '\xE0'), 1251}, {std::string(100'000, '\x80'), 0}};
    for (const auto& [bytes, codePage] : wide) {
        const std::string text = decode(bytes, codePage);
        EXPECT_LE(text.size(), TextDecoder::kMaxBytes);
        EXPECT_GT(text.size(), TextDecoder::kMaxBytes - 3);
        EXPECT_TRUE(isValidUtf8(text)) << codePage;
    }
    std::string euro;
    for (int i = 0; i < 50'000; ++i)
        euro += "€";
    const std::string text = decode(euro, 65001);
    EXPECT_EQ(text.size() % 3, 0u);
    EXPECT_TRUE(isValidUtf8(text));
}

TEST(TextDecoder, AlwaysGivesValidUtf8)
{
    std::mt19937 random(11);
    for (int codePage : {0, 65001, 65000, 932, 50220, 1251, 1252, 1255, 10002, 20127, 50225, 51949}) {
        TextDecoder decoder(codePage);
        for (int round = 0; round < 200; ++round) {
            std::string bytes(random() % 64, '\0');
            for (char& c : bytes)
                c = static_cast<char>(random());
            ASSERT_TRUE(isValidUtf8(decoder.decode(bytes))) << codePage;
        }
    }
}

TEST(TextDecoder, ChecksUtf8ForWellFormedness)
{
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("long ascii text without anything special"));
    EXPECT_TRUE(isValidUtf8("äöü€\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("abcdefgh\xC3"));
    EXPECT_FALSE(isValidUtf8("\xE0\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\xF5\x80\x80\x80"));
}

}  // namespace
}  // namespace korvin
