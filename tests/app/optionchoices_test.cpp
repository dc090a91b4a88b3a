// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/optionchoices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "library/statefile.h"
#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

TEST(OptionChoices, OptionsAreOffUntilTurnedOnAndAreKeptAtOnceInTheirOwnFile)
{
    test::ControllerHarness harness;
    test::TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    const auto lines = [&] {
        std::vector<std::string> plain;
        for (const std::string& line : readTextLines(harness.home() + "/Optionen.dl").value_or(plain))
            plain.push_back(Scrambler().unscramble(line));
        return plain;
    };
    const MenuModel& menu = harness.controller().menu();
    EXPECT_FALSE(menu.isChecked(cmd::kRewindOnResume) || menu.isChecked(cmd::kUpToTriple));
    harness.controller().command(cmd::kRewindOnResume);
    EXPECT_EQ(lines(), (std::vector<std::string>{"1", "0"}));
    harness.controller().command(cmd::kUpToTriple);
    EXPECT_EQ(lines(), (std::vector<std::string>{"1", "1"}));
    EXPECT_TRUE(menu.isChecked(cmd::kRewindOnResume) && menu.isChecked(cmd::kUpToTriple));

    harness.controller().command(cmd::kExit);
    EXPECT_EQ(readTextLines(harness.home() + "/Settings.dl")->size(), 14u);
    harness.restart();
    EXPECT_EQ(harness.controller().state().options, (Options{true, true}));
    EXPECT_TRUE(harness.controller().menu().isChecked(cmd::kUpToTriple));
}

// A speed beyond 0.6..2.0 stays only while "Bis dreifach" is on: read from the
// settings file without it, or when it is turned off.
TEST(OptionChoices, WithoutUpToTripleTheSpeedComesBackToTheNearerEnd)
{
    test::ControllerHarness harness;
    const Scrambler scrambler;
    const std::string on = scrambler.scramble("0") + "\n" + scrambler.scramble("1");
    for (const auto& [rate, options, expected] :
         {std::tuple{"2.600000", "", 2.0}, std::tuple{"0.500000", "", 0.6}, std::tuple{"1.400000", "", 1.4},
          std::tuple{"0.500000", "on", 0.5}, std::tuple{"2.600000", "on", 2.6}}) {
        SCOPED_TRACE(std::string(rate) + " " + options);
        test::writeSettingsFile(harness.home(), {"50", rate, "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "", "0"});
        std::filesystem::remove(harness.home() + "/Optionen.dl");
        if (std::string(options) == "on") {
            ASSERT_TRUE(writeFileAtomically(harness.home() + "/Optionen.dl", on));
        }
        harness.restart();
        EXPECT_NEAR(harness.controller().settings().rate, expected, 1e-9);
        EXPECT_NEAR(harness.player.rate(), expected, 1e-9);
    }
    test::TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    for (int command : {cmd::kSpeedFaster, cmd::kSpeedFaster, cmd::kSpeedFaster, cmd::kUpToTriple})
        harness.controller().command(command);
    EXPECT_NEAR(harness.controller().settings().rate, 2.0, 1e-9);
    EXPECT_NEAR(harness.player.rate(), 2.0, 1e-9);
}

}  // namespace
}  // namespace korvin
