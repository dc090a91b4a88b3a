// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textcase.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace korvin {
namespace {

// The rule written out byte by byte, to hold the fast version against.
std::string referenceLowerCase(const std::string& text)
{
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c + 32);
        if (i > 0 && static_cast<unsigned char>(text[i - 1]) == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97)
            out[i] = static_cast<char>(c + 0x20);
    }
    return out;
}

TEST(TextCase, LowerCasesAsciiLettersOnly)
{
    EXPECT_EQ(lowerCase("<H1 CLASS=\"Page\">@[`{Zz09"), "<h1 class=\"page\">@[`{zz09");
    EXPECT_EQ(lowerCase(""), "");
}

TEST(TextCase, LowerCasesTheLatin1CapitalsOfUtf8InPlace)
{
    EXPECT_EQ(lowerCase("ÄÖÜ Straße"), "äöü straße");
    EXPECT_EQ(lowerCase("\xC3\x80\xC3\x9E"), "\xC3\xA0\xC3\xBE");  // À Þ -> à þ
    EXPECT_EQ(lowerCase("\xC3\x97"), "\xC3\x97");                  // the multiplication sign stays
    EXPECT_EQ(lowerCase("\xC3\x9F"), "\xC3\x9F");                  // ß has no capital here
    EXPECT_EQ(lowerCase("\xC4\x80 \xD0\x90"), "\xC4\x80 \xD0\x90");  // Ā, Cyrillic А: outside Latin-1
}

TEST(TextCase, LeavesStrayBytesAndCutSequencesAlone)
{
    EXPECT_EQ(lowerCase("\x84\x80"), "\x84\x80");  // continuation bytes without a lead
    EXPECT_EQ(lowerCase("A\xC3"), "a\xC3");        // a lead byte at the very end
    EXPECT_EQ(lowerCase("\xC3\xC3\x84"), "\xC3\xC3\xA4");
    EXPECT_EQ(lowerCase(std::string("A\0B", 3)), std::string("a\0b", 3));
}

TEST(TextCase, AgreesWithTheRuleOnEveryPairOfBytes)
{
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string text{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(lowerCase(text), referenceLowerCase(text)) << a << " " << b;
        }
    }
}

TEST(TextCase, AgreesWithTheRuleOnLongMixedText)
{
    // Long enough for the vector loop, with lead bytes at every alignment.
    std::mt19937 random(7);
    const std::string alphabet = "AZaz<>\"=/ \xC3\x80\x84\x96\x97\x9E\x9F\xA4";
    for (int round = 0; round < 50; ++round) {
        std::string text(1 + random() % 3000, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        ASSERT_EQ(lowerCase(text), referenceLowerCase(text));
        std::string reused = "something longer than before, to be overwritten completely";
        lowerCaseInto(text, reused);
        ASSERT_EQ(reused, referenceLowerCase(text));
    }
}

}  // namespace
}  // namespace korvin
