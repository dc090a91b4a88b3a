#include "app/optionchoices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/options.h"
#include "library/statefile.h"
#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::ControllerHarness;

class OptionChoicesTest : public ::testing::Test {
protected:
    void openBook()
    {
        test::writeSampleBook(m_book, m_harness);
        m_harness.openBook(m_book.folder());
    }
    MainController& controller() { return m_harness.controller(); }
    std::vector<std::string> optionLines()
    {
        std::vector<std::string> lines;
        for (const std::string& line : readTextLines(m_harness.home() + "/Optionen.dl").value_or(lines))
            lines.push_back(Scrambler().unscramble(line));
        return lines;
    }
    bool checked(int command) { return controller().menu().isChecked(command); }

    test::TestBook m_book;
    ControllerHarness m_harness;
};

TEST_F(OptionChoicesTest, OptionsStartOffAreKeptAtOnceInTheirOwnFileAndComeBackAfterARestart)
{
    controller().command(cmd::kRewindOnResume);  // no book: the Audio menu is grayed
    EXPECT_FALSE(controller().state().options.rewindOnResume);
    openBook();
    EXPECT_FALSE(checked(cmd::kRewindOnResume));
    EXPECT_FALSE(checked(cmd::kUpToTriple));
    EXPECT_TRUE(optionLines().empty());

    struct Step {
        int command;
        std::vector<std::string> lines;
    };
    for (const Step& step : {Step{cmd::kRewindOnResume, {"1", "0"}}, Step{cmd::kUpToTriple, {"1", "1"}},
                             Step{cmd::kRewindOnResume, {"0", "1"}}, Step{cmd::kRewindOnResume, {"1", "1"}}}) {
        controller().command(step.command);
        EXPECT_EQ(optionLines(), step.lines);
        EXPECT_EQ(checked(cmd::kRewindOnResume), step.lines[0] == "1");
        EXPECT_EQ(checked(cmd::kUpToTriple), step.lines[1] == "1");
    }

    controller().command(cmd::kExit);
    EXPECT_EQ(readTextLines(m_harness.home() + "/Settings.dl")->size(), 14u);
    m_harness.restart();
    EXPECT_EQ(controller().state().options, (Options{true, true}));
    EXPECT_TRUE(checked(cmd::kRewindOnResume));
    EXPECT_TRUE(checked(cmd::kUpToTriple));
}

// A speed beyond 0.6..2.0 stays only while "Bis dreifach" is on: read from the
// settings file without it, or when it is turned off.
TEST_F(OptionChoicesTest, WithoutUpToTripleTheSpeedComesBackToTheNearerEnd)
{
    struct Case {
        const char* what;
        const char* rate;
        std::string optionsFile;  // scrambled lines; empty: no file
        double expected;
    };
    const Scrambler scrambler;
    const std::string on = scrambler.scramble("0") + "\n" + scrambler.scramble("1");
    for (const Case& c : {
             Case{"no options file", "2.600000", "", 2.0},
             Case{"a damaged one", "2.600000", scrambler.scramble("0") + "\n", 2.0},
             Case{"a slow one", "0.500000", "", 0.6},
             Case{"one within", "1.400000", "", 1.4},
             Case{"the option on, slow", "0.500000", on, 0.5},
             Case{"the option on", "2.600000", on, 2.6},
         }) {
        SCOPED_TRACE(c.what);
        test::writeSettingsFile(m_harness.home(), {"50", c.rate, "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "", "0"});
        std::filesystem::remove(m_harness.home() + "/Optionen.dl");
        if (!c.optionsFile.empty()) {
            ASSERT_TRUE(writeFileAtomically(m_harness.home() + "/Optionen.dl", c.optionsFile));
        }
        m_harness.restart();
        EXPECT_NEAR(controller().settings().rate, c.expected, 1e-9);
        EXPECT_NEAR(m_harness.player.rate(), c.expected, 1e-9);
    }

    openBook();
    for (int step = 0; step < 3; ++step)
        controller().command(cmd::kSpeedFaster);
    EXPECT_NEAR(m_harness.player.rate(), 3.0, 1e-9);
    controller().command(cmd::kUpToTriple);
    EXPECT_NEAR(controller().settings().rate, 2.0, 1e-9);
    EXPECT_NEAR(m_harness.player.rate(), 2.0, 1e-9);
    controller().command(cmd::kSpeedFaster);
    EXPECT_NEAR(m_harness.player.rate(), 2.0, 1e-9);
}

}  // namespace
}  // namespace korvin
