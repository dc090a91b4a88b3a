// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textsearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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
