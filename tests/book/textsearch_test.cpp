// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textsearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "book/textcase.h"

namespace korvin {
namespace {

TEST(TextSearch, FindsWhatStringViewFindFinds)
{
    std::mt19937 random(5);
    for (int round = 0; round < 200'000; ++round) {
        std::string text(random() % 14, ' ');
        for (char& c : text)
            c = "ab<"[random() % 3];
        const std::string_view view = text;
        const std::size_t from = random() % 16;
        ASSERT_EQ(findText(view, "a", from), view.find("a", from)) << text << " " << from;
        ASSERT_EQ(findText(view, "ab", from), view.find("ab", from)) << text << " " << from;
        ASSERT_EQ(findText(view, "<ab<", from), view.find("<ab<", from)) << text << " " << from;
        ASSERT_EQ(findTextBy<2>(view, "<ab<", from), view.find("<ab<", from)) << text << " " << from;
        ASSERT_EQ(findTextBy<0>(view, "ab", from), view.find("ab", from)) << text << " " << from;
    }
}

// Without their case: the answers the search gives in the lower-cased text,
// Latin-1 capitals in UTF-8 (C3 80) and bytes beside the letters included.
TEST(TextSearch, FindsWithoutCaseWhatTheLowerCasedTextShows)
{
    std::mt19937 random(7);
    const std::string alphabet[] = {"-", "o", "O", "n", "N", "p", "P", "a", "r", "R", "@", "[", "`", "{", "\xC3", "\x80", "\x8F"};
    for (int round = 0; round < 100'000; ++round) {
        std::string text;
        for (std::size_t i = random() % 10; i > 0; --i)
            text += alphabet[random() % std::size(alphabet)];
        const std::string lower = lowerCase(text);
        const std::size_t from = random() % 12;
        ASSERT_EQ(findTextIgnoringCase(text, "-on", from), findText(lower, "-on", from)) << text << " " << from;
        ASSERT_EQ(hasTextAtIgnoringCase(text, from, "par"), hasTextAt(lower, from, "par")) << text << " " << from;
        ASSERT_EQ(hasTextAtIgnoringCase(text, from, "/p"), hasTextAt(lower, from, "/p")) << text << " " << from;
    }
}

TEST(TextSearch, TellsWhetherATextStandsAtAPlace)
{
    EXPECT_TRUE(hasTextAt("<par id", 1, "par"));
    EXPECT_FALSE(hasTextAt("<pa", 1, "par"));
    EXPECT_FALSE(hasTextAt("<par", 5, "par"));
    EXPECT_TRUE(containsText("x</h1>", "</h"));
    EXPECT_FALSE(containsText("", "</h"));
}

}  // namespace
}  // namespace korvin
