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

using test::TimedHeading;

constexpr int kNext[] = {0, cmd::kLevelNext1, cmd::kLevelNext2, cmd::kLevelNext3,
                         cmd::kLevelNext4, cmd::kLevelNext5, cmd::kLevelNext6};
constexpr int kPrevious[] = {0, cmd::kLevelPrevious1, cmd::kLevelPrevious2, cmd::kLevelPrevious3,
                             cmd::kLevelPrevious4, cmd::kLevelPrevious5, cmd::kLevelPrevious6};

TEST(HeadingLevels, FindsTheNearestHeadingOfTheLevelInEitherDirection)
{
    BookTables tables;
    BookTable& headings = tables.headings;
    for (const char* level : {"1", "2", "3", "3", "1", "3", "2", "x"}) {
        const int row = headings.insertRow(headings.rowCount(), level);
        headings.setText(row, col::heading::kTreeId, std::to_string(row));
    }
    struct Case {
        int from;
        int level;
        int direction;
        int expected;
    };
    for (const Case& c : {Case{0, 2, +1, 1}, Case{1, 2, +1, 6}, Case{6, 2, +1, -1}, Case{-1, 1, +1, 0},
                          Case{0, 1, +1, 4}, Case{4, 1, +1, -1}, Case{7, 3, -1, 5}, Case{5, 3, -1, 3},
                          Case{0, 1, -1, -1}, Case{3, 4, +1, -1}, Case{8, 2, -1, 6}, Case{2, 0, +1, 7}}) {
        SCOPED_TRACE(std::to_string(c.from) + " level " + std::to_string(c.level));
        EXPECT_EQ(HeadingLevels::find(headings, c.from, c.level, c.direction), c.expected);
    }
}

class HeadingLevelsTest : public ::testing::Test {
protected:
    void open(const std::vector<int>& levels)
    {
        std::vector<TimedHeading> headings;
        for (std::size_t i = 0; i < levels.size(); ++i)
            headings.push_back({levels[i], "H" + std::to_string(i), {{"h" + std::to_string(i) + ".mp3", 0, 30}}});
        test::openTimedBook(m_book, m_harness, headings);
    }
    MainController& controller() { return m_harness.controller(); }
    int heading() { return controller().tables().tree.selectedItem(); }

    test::TestBook m_book;
    test::ControllerHarness m_harness;
};

// -1: the message that there is none, the heading staying as it was.
struct Step {
    int level;  // negative: Shift, back
    int heading;
};

void walk(test::ControllerHarness& harness, const std::vector<Step>& steps, const char* noFurther)
{
    MainController& controller = harness.controller();
    int current = controller.tables().tree.selectedItem();
    for (const Step& step : steps) {
        SCOPED_TRACE((step.level < 0 ? "Shift+" : "") + std::to_string(std::abs(step.level)));
        const std::size_t shown = harness.messageBoxes.shown.size();
        controller.command(step.level > 0 ? kNext[step.level] : kPrevious[-step.level]);
        harness.advance(0);
        if (step.heading < 0) {
            ASSERT_EQ(harness.messageBoxes.shown.size(), shown + 1);
            const auto& box = harness.messageBoxes.shown.back();
            EXPECT_EQ(box.text, std::string(noFurther) + std::to_string(std::abs(step.level)) + ".");
            EXPECT_EQ(box.caption, "Information");
            EXPECT_EQ(box.icon, MessageBoxes::Icon::kInformation);
        } else {
            EXPECT_EQ(harness.messageBoxes.shown.size(), shown);
            current = step.heading;
        }
        EXPECT_EQ(controller.tables().tree.selectedItem(), current);
        // The heading plays from its start as a chosen one does; after a
        // message, it plays on where it was.
        EXPECT_EQ(controller.tables().headings.selectionMark(), current);
        EXPECT_EQ(harness.player.url(), controller.playback().bookFolder + "h" + std::to_string(current) + ".mp3");
        EXPECT_EQ(harness.player.playState(), MediaPlayer::kPlaying);
    }
}

// The levels as the book's tables hold them: the reader draws a heading that
// skips exactly one level one level higher (an h3 right after an h1 is a 2);
// a heading that skips more keeps its level.
TEST_F(HeadingLevelsTest, TheLevelKeysWalkTheHeadingsOfTheirLevelAcrossGapsAndSayWhenThereIsNoneLeft)
{
    // NCC: h1 A, h2 A1, h3 A1a, h3 A1b, h1 B, h3 B-deep, h2 B1, h1 C, h4 C-deep
    open({1, 2, 3, 3, 1, 3, 2, 1, 4});
    ASSERT_EQ(controller().tables().headings.text(5, col::heading::kEbene), "2");
    ASSERT_EQ(controller().tables().headings.text(8, col::heading::kEbene), "4");
    walk(m_harness,
         {{2, 1}, {2, 5}, {2, 6}, {2, -1}, {-3, 3}, {-3, 2}, {-3, -1}, {4, 8}, {-1, 7}, {-1, 4}, {-1, 0}, {-1, -1},
          {1, 4}, {3, -1}, {5, -1}, {6, -1}, {-2, 1}},
         "Keine weitere Überschrift der Ebene ");
    controller().command(cmd::kEnglish);
    walk(m_harness, {{5, -1}, {1, 4}, {1, 7}, {1, -1}}, "No further heading of level ");
}

TEST_F(HeadingLevelsTest, InABookOfOneLevelOneWalksEveryHeading)
{
    open({1, 1, 1});
    walk(m_harness, {{1, 1}, {1, 2}, {1, -1}, {2, -1}, {-1, 1}, {-1, 0}, {-1, -1}},
         "Keine weitere Überschrift der Ebene ");
}

TEST(HeadingLevelsAlone, WithoutABookTheLevelKeysDoNothing)
{
    test::ControllerHarness harness;
    harness.controller().command(cmd::kLevelNext1);
    harness.controller().command(cmd::kLevelPrevious2);
    EXPECT_TRUE(harness.messageBoxes.shown.empty());
}

}  // namespace
}  // namespace korvin
