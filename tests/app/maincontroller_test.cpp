// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/controllerharness.h"
#include "support/samplebook.h"
#include "ui/acceleratortable.h"
#include "ui/commandids.h"
#include "ui/stringids.h"

namespace korvin {
namespace {

using test::ControllerHarness;

std::string startPage(const ControllerHarness& harness, const char* language)
{
    return harness.dataFolder() + "/documents/html/start_" + language + ".html";
}

TEST(MainController, StartsWithoutABookOnTheGermanStartPageWithKeysAndSoundSettings)
{
    ControllerHarness harness;
    MainController& controller = harness.controller();
    ASSERT_FALSE(harness.textView.navigations().empty());
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "de"));
    EXPECT_TRUE(controller.playback().startPage);
    // No settings file: the keys work all the same, and the book is heard.
    EXPECT_TRUE(controller.hasAccelerators());
    EXPECT_EQ(harness.windowView.accelerators, builtInAccelerators());
    EXPECT_EQ(harness.player.volume(), 50);
    EXPECT_DOUBLE_EQ(harness.player.rate(), 1.0);
    EXPECT_TRUE(controller.menu().isGrayedAt(controller.menu().barMenuOf(cmd::kPhraseForward)));
    EXPECT_TRUE(controller.menu().isGrayed(cmd::kChangeVolume));
    EXPECT_FALSE(controller.menu().isGrayed(cmd::kOpen));
    EXPECT_FALSE(harness.groupList.isEnabled());
    EXPECT_FALSE(harness.bookmarkList.isEnabled());
    EXPECT_FALSE(harness.searchResultList.isEnabled());
    EXPECT_TRUE(controller.textStyle().background);  // a visible highlight before any choice
}

TEST(MainController, SwitchingLanguageWithoutABookShowsThatLanguagesStartPageAndMenus)
{
    ControllerHarness harness;
    MainController& controller = harness.controller();
    controller.command(cmd::kEnglish);
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "en"));
    EXPECT_EQ(controller.menu().at(controller.menu().barMenuOf(cmd::kOpen))->items[0].text, "&Open\tCtrl+O");
    EXPECT_EQ(harness.windowView.language, 200);
    EXPECT_TRUE(controller.menu().isChecked(cmd::kEnglish));
    controller.command(cmd::kEnglish);  // cannot be chosen again
    EXPECT_EQ(harness.windowView.language, 200);

    controller.command(cmd::kGerman);
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "de"));
    EXPECT_EQ(controller.menu().at(controller.menu().barMenuOf(cmd::kOpen))->items[0].text, "&Öffnen\tStrg+O");
    EXPECT_EQ(controller.text(str::kNccNotOpened), "Die ncc.html konnte nicht geöffnet werden!");
}

TEST(MainController, SettingsSurviveARestart)
{
    ControllerHarness harness;
    MainController& controller = harness.controller();
    controller.command(cmd::kEnglish);
    harness.dialogs.colour = Rgb{0, 0x80, 0xff};
    controller.command(cmd::kStyleBackground);  // grayed without a book
    EXPECT_TRUE(harness.dialogs.colourInitials.empty());
    controller.close();
    EXPECT_TRUE(harness.windowView.ended);
    EXPECT_TRUE(std::filesystem::exists(harness.home() + "/Settings.dl"));
    EXPECT_FALSE(std::filesystem::exists(harness.home() + "/Letztes.dl"));

    harness.restart();
    EXPECT_EQ(harness.controller().languageOffset(), 200);
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "en"));
    EXPECT_EQ(harness.controller().menu().at(harness.controller().menu().barMenuOf(cmd::kPhraseForward))->text,
              "&Navigation");
    EXPECT_EQ(harness.controller().menu().at(harness.controller().menu().popupOf(cmd::kSpeedFaster))->text, "Speed");
}

TEST(MainController, LoadsFlagsAsIntegersAndChecksTheirItems)
{
    test::TempDir home;
    test::writeSettingsFile(home.path().string(),
                            {"30", "1.400000", "01", " 1", "0", "1x", "1", "0", "", "0", "1", "0", "", "0"});
    ControllerHarness harness(home.path().string());
    const MainController& controller = harness.controller();
    EXPECT_TRUE(controller.settings().skipFootnotes);
    EXPECT_TRUE(controller.settings().skipSidebars);
    EXPECT_FALSE(controller.settings().skipProdnotes);
    EXPECT_TRUE(controller.settings().skipPageNumbers);
    EXPECT_TRUE(controller.settings().autoPlay);
    EXPECT_TRUE(controller.menu().isChecked(cmd::kSkipFootnotes));
    EXPECT_FALSE(controller.menu().isChecked(cmd::kSkipProdnotes));
    EXPECT_TRUE(controller.menu().isChecked(cmd::kAutoPlayback));
    EXPECT_TRUE(controller.textStyle().bold);
    EXPECT_FALSE(controller.textStyle().background);
    EXPECT_TRUE(controller.menu().isChecked(cmd::kStyleBold));
    EXPECT_FALSE(controller.menu().isChecked(cmd::kStyleBackground));
    EXPECT_EQ(controller.textStyle().colour, "#ff8000");  // no colour style chosen: the colour stays
    EXPECT_EQ(harness.player.volume(), 30);
    EXPECT_DOUBLE_EQ(harness.player.rate(), 1.4);
}

TEST(MainController, ALanguageLineOfAnotherNumberKeepsGermanAndTheStartPage)
{
    test::TempDir home;
    test::writeSettingsFile(home.path().string(),
                            {"50", "1.0", "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "", "100"});
    ControllerHarness harness(home.path().string());
    EXPECT_EQ(harness.controller().languageOffset(), 0);
    EXPECT_EQ(harness.controller().menu().at(harness.controller().menu().barMenuOf(cmd::kOpen))->items[0].text,
              "&Öffnen\tStrg+O");
    EXPECT_EQ(harness.textView.navigations().size(), 1u);  // the reset's start page only
    EXPECT_TRUE(harness.controller().hasAccelerators());
}

// While the window comes up the start page waits: released, it is shown once,
// in the settings' language, unless a book's document has taken its place.
TEST(MainController, AHeldStartPageIsShownOnceOnReleaseUnlessABookTookItsPlace)
{
    using Case = std::tuple<int, bool, const char*>;  // language (-1: no settings), book opened, page shown
    for (const auto& [language, bookOpened, shown] :
         {Case{-1, false, "de"}, Case{200, false, "en"}, Case{200, true, nullptr}}) {
        test::TempDir home;
        if (language >= 0)
            test::writeSettingsFile(home.path().string(), {"50", "1.0", "0", "0", "0", "0", "0", "0", "", "0", "0",
                                                           "0", "", std::to_string(language)});
        ControllerHarness harness(home.path().string(), ControllerHarness::StartPage::kHeld);
        EXPECT_TRUE(harness.textView.navigations().empty());
        test::TestBook book;
        if (bookOpened) {
            test::writeSampleBook(book, harness);
            harness.openBook(book.folder());
        }
        std::vector<std::string> expected = harness.textView.navigations();
        if (shown)
            expected.push_back(startPage(harness, shown));
        harness.controller().showHeldStartPage();
        harness.controller().showHeldStartPage();  // once only
        EXPECT_EQ(harness.textView.navigations(), expected) << language << bookOpened;
    }
}

// Without a book the style items are grayed: had they run, the text style
// would have changed or the colour dialog opened.
TEST(MainController, GrayedCommandsAndCommandsOfNoItemAreNotCarriedOut)
{
    ControllerHarness harness;
    MainController& controller = harness.controller();
    const TextStyle before = controller.textStyle();
    const auto popups = controller.menu().popups().size();
    for (int command : {cmd::kStyleBold, cmd::kStyleItalic, cmd::kStyleTextColour, cmd::kStyleBackground,
                        99999 /* in no table */}) {
        SCOPED_TRACE(command);
        controller.command(command);
        EXPECT_TRUE(controller.textStyle() == before);
        EXPECT_TRUE(harness.dialogs.colourInitials.empty());
        EXPECT_EQ(controller.menu().popups().size(), popups);
        EXPECT_FALSE(harness.windowView.ended);
    }
}

// A row of the menu or the key table without a handler would be a command that
// does nothing when chosen. "Hilfe" only shows its key: F1 asks for help itself.
TEST(MainController, EveryCommandOfTheMenuAndTheKeysReachesAHandler)
{
    ControllerHarness harness;
    const MainController& controller = harness.controller();
    std::vector<int> commands;
    controller.menu().forEach([&](const MenuModel::Path&, const MenuItem& item) {
        if (!item.isPopup() && !item.isSeparator())
            commands.push_back(item.command);
    });
    for (const Accelerator& key : builtInAccelerators())
        commands.push_back(key.command);
    ASSERT_FALSE(commands.empty());
    for (const int command : commands)
        EXPECT_EQ(controller.handles(command), command != cmd::kHelp) << command;
}

TEST(MainController, AboutOpensTheAboutBox)
{
    ControllerHarness harness;
    harness.controller().command(cmd::kAbout);
    harness.controller().command(cmd::kSystemAbout);
    EXPECT_EQ(harness.dialogs.aboutShown, 2);
}

TEST(MainController, ExitEndsTheWindowOnceAndCommandsAfterItDoNothing)
{
    ControllerHarness harness;
    harness.controller().command(cmd::kExit);
    EXPECT_TRUE(harness.windowView.ended);
    harness.windowView.ended = false;
    harness.controller().close();
    harness.controller().command(cmd::kExit);
    EXPECT_FALSE(harness.windowView.ended);
}

TEST(MainController, APlayerErrorClearsTheErrorQueue)
{
    ControllerHarness harness;
    harness.player.setUrl("/nowhere.mp3");
    harness.advance(10);
    EXPECT_EQ(harness.player.errorCount(), 0);
}

TEST(MainController, AudioCommandsChangeWhatEverySeekAndTheSettingsFileKeep)
{
    ControllerHarness harness;
    test::TestBook book;
    test::writeSampleBook(book, harness);
    harness.openBook(book.folder());
    for (int command : {cmd::kSpeedFaster, cmd::kSpeedFaster, cmd::kVolumeUp, cmd::kWindForward})
        harness.controller().command(command);
    EXPECT_DOUBLE_EQ(harness.controller().settings().rate, 1.4);
    EXPECT_EQ(harness.controller().settings().volume, 60);
    harness.player.setRate(1.0);  // as if the player had lost it
    harness.controller().tables().tree.select(2);
    EXPECT_DOUBLE_EQ(harness.player.rate(), 1.4);

    harness.controller().command(cmd::kExit);
    harness.player.setRate(1.0);
    harness.player.setVolume(100);
    harness.restart();
    EXPECT_DOUBLE_EQ(harness.player.rate(), 1.4);
    EXPECT_EQ(harness.player.volume(), 60);
}

}  // namespace
}  // namespace korvin
