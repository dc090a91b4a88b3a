// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/acceleratortable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "embedded.h"
#include "ui/commandids.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin {
namespace {

constexpr int kNone = Accelerator::kNone;
constexpr int kShift = Accelerator::kShift;
constexpr int kCtrl = Accelerator::kCtrl;
constexpr int kAlt = Accelerator::kAlt;

TEST(AcceleratorTable, SpaceAndCtrlSpaceBothPauseAndGroupKeysReachTheirInertCommands)
{
    const auto table = builtInAccelerators();
    int lines = 0;
    forEachTableLine(resources::acceleratorTable(), [&](std::string_view) { ++lines; });
    EXPECT_EQ(table.size(), static_cast<std::size_t>(lines));  // no key is lost
    EXPECT_EQ(commandForKey(table, Accelerator::kSpace, kNone), cmd::kPauseContinue);
    EXPECT_EQ(commandForKey(table, Accelerator::kSpace, kCtrl), cmd::kPauseContinue);
    EXPECT_EQ(commandForKey(table, 'G', kNone), cmd::kGroupNext);
    EXPECT_EQ(commandForKey(table, 'G', kShift), cmd::kGroupPrevious);
    EXPECT_EQ(commandForKey(table, Accelerator::kF4, kAlt), cmd::kExit);
    EXPECT_EQ(commandForKey(table, 'M', kCtrl), cmd::kBookmarkSet);
    EXPECT_EQ(commandForKey(table, 'M', kAlt), cmd::kBookmarkDelete);
    EXPECT_EQ(commandForKey(table, 'X', kNone), 0);
    EXPECT_EQ(commandForKey(table, 'P', kCtrl), 0);  // modifiers must match exactly
}

// The digit keys are read like the letters; the menu's shortcuts (the test
// below) check every new key.
TEST(AcceleratorTable, DigitsSendTheirCommandsWithAndWithoutShift)
{
    const auto table = builtInAccelerators();
    EXPECT_EQ(commandForKey(table, '1', kNone), cmd::kLevelNext1);
    EXPECT_EQ(commandForKey(table, '6', kShift), cmd::kLevelPrevious6);
    EXPECT_EQ(commandForKey(table, '7', kNone), 0);
    EXPECT_EQ(parseAcceleratorTable("9\tShift\t5\n10\t-\t6\n"), (std::vector<Accelerator>{{'9', kShift, 5}}));
}

// Each shortcut a menu item shows must be the key that sends its command, in
// both languages' spellings of the modifiers.
TEST(AcceleratorTable, EveryShortcutShownInTheMenuSendsThatItemsCommand)
{
    const auto table = builtInAccelerators();
    const std::map<std::string, int> modifierNames = {
        {"Strg", kCtrl}, {"Ctrl", kCtrl}, {"Umsch", kShift}, {"Shift", kShift}, {"Alt", kAlt}};
    int checked = 0;
    MenuModel::builtIn().forEach([&](const MenuModel::Path&, const MenuItem& item) {
        std::string shortcut = item.shortcut();
        if (shortcut.empty() || item.command == cmd::kHelp)
            return;
        int modifiers = kNone;
        for (std::size_t plus; (plus = shortcut.find('+')) != std::string::npos;) {
            modifiers |= modifierNames.at(shortcut.substr(0, plus));
            shortcut.erase(0, plus + 1);
        }
        int key = 0;
        if (shortcut == "Leer" || shortcut == "Space")
            key = Accelerator::kSpace;
        else if (shortcut == "F4")
            key = Accelerator::kF4;
        else
            key = shortcut.at(0);
        EXPECT_EQ(commandForKey(table, key, modifiers), item.command) << item.text;
        ++checked;
    });
    EXPECT_GE(checked, 30);
}

}  // namespace
}  // namespace korvin
