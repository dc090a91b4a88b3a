// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/headinglevels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/controllerharness.h"
#include "support/timedbook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

// The commands of the keys 1..6 stand in order, with and without Shift.
int levelCommand(int level)
{
    return level > 0 ? cmd::kLevelNext1 + level - 1 : cmd::kLevelPrevious1 - level - 1;
}

struct Step {
    int level;    // negative: with Shift, back
    int heading;  // -1: the message that there is none, the heading staying
};

// Opens a book of headings of `levels`, each with a file of its own, and
// presses the level keys of `steps` in turn.
void walk(const std::vector<int>& levels, const std::vector<std::vector<Step>>& stepsInGermanThenEnglish)
{
    test::ControllerHarness harness;
    test::TestBook book;
    std::vector<test::TimedHeading> headings;
    for (std::size_t i = 0; i < levels.size(); ++i)
        headings.push_back({levels[i], "H" + std::to_string(i), {{"h" + std::to_string(i) + ".mp3", 0, 30}}});
    test::openTimedBook(book, harness, headings);
    MainController& controller = harness.controller();
    int current = 0;
    const char* const none[] = {"Keine weitere Überschrift der Ebene ", "No further heading of level "};
    for (int language = 0; language < 2; ++language) {
        for (const Step& step : stepsInGermanThenEnglish[static_cast<std::size_t>(language)]) {
            const int level = std::abs(step.level);
            SCOPED_TRACE((step.level < 0 ? "Shift+" : "") + std::to_string(level));
            const std::size_t shown = harness.messageBoxes.shown.size();
            controller.command(levelCommand(step.level));
            harness.advance(0);
            if (step.heading >= 0)
                current = step.heading;
            ASSERT_EQ(harness.messageBoxes.shown.size(), shown + (step.heading < 0 ? 1 : 0));
            if (step.heading < 0) {
                EXPECT_EQ(harness.messageBoxes.shown.back().text, none[language] + std::to_string(level) + ".");
                EXPECT_EQ(harness.messageBoxes.shown.back().caption, "Information");
            }
            // Chosen as the tree chooses: it plays from its start; after the
            // message, the heading plays on.
            EXPECT_EQ(controller.tables().tree.selectedItem(), current);
            EXPECT_EQ(harness.player.url(), book.folder() + "h" + std::to_string(current) + ".mp3");
            EXPECT_EQ(harness.player.playState(), MediaPlayer::kPlaying);
        }
        controller.command(cmd::kEnglish);
    }
}

// The levels are the tables' (the tree's): the reader draws a heading that
// skips exactly one level one level higher, so the h3 after an h1 is a 2; a
// heading that skips more keeps its level.
TEST(HeadingLevels, TheLevelKeysWalkTheHeadingsOfTheirLevelAcrossGapsAndSayWhenThereIsNoneLeft)
{
    // h1 A, h2 A1, h3 A1a, h3 A1b, h1 B, h3 B-deep (a 2), h2 B1, h1 C, h4 C-deep
    const std::vector<Step> german = {{2, 1},  {2, 5},  {2, 6},  {2, -1},  {-3, 3}, {-3, 2}, {-3, -1}, {4, 8},
                                      {-1, 7}, {-1, 4}, {-1, 0}, {-1, -1}, {1, 4},  {3, -1}, {6, -1},  {-2, 1}};
    const std::vector<Step> english = {{5, -1}, {1, 4}, {1, 7}, {1, -1}};
    walk({1, 2, 3, 3, 1, 3, 2, 1, 4}, {german, english});
}

}  // namespace
}  // namespace korvin
