#include "app/mainwindow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/windowharness.h"
#include "library/scrambler.h"
#include "library/statefile.h"
#include "ui/commandids.h"

namespace korvin {
namespace {

using test::WindowHarness;

std::string startPage(const WindowHarness& harness, const char* language)
{
    return harness.dataFolder() + "/documents/html/start_" + language + ".html";
}

TEST(MainWindow, StartsWithoutABookOnTheGermanStartPageWithKeysAndSoundSettings)
{
    WindowHarness harness;
    MainWindow& window = harness.window();
    ASSERT_FALSE(harness.textView.navigations().empty());
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "de"));
    EXPECT_TRUE(window.playback().startPage);
    // No settings file: the keys work all the same, and the book is heard.
    EXPECT_TRUE(window.hasAccelerators());
    EXPECT_EQ(harness.windowView.accelerators.size(), 31u);
    EXPECT_EQ(harness.player.volume(), 50);
    EXPECT_DOUBLE_EQ(harness.player.rate(), 1.0);
    EXPECT_TRUE(window.menu().isGrayedAt({1}));
    EXPECT_TRUE(window.menu().isGrayed(cmd::kChangeVolume));
    EXPECT_FALSE(window.menu().isGrayed(cmd::kOpen));
    EXPECT_FALSE(harness.groupList.isEnabled());
    EXPECT_FALSE(harness.bookmarkList.isEnabled());
    EXPECT_FALSE(harness.searchResultList.isEnabled());
    EXPECT_TRUE(window.textStyle().background);  // a visible highlight before any choice
}

TEST(MainWindow, SwitchingLanguageWithoutABookShowsThatLanguagesStartPageAndMenus)
{
    WindowHarness harness;
    MainWindow& window = harness.window();
    window.command(cmd::kEnglish);
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "en"));
    EXPECT_EQ(window.menu().at({0})->items[0].text, "&Open\tCtrl+O");
    EXPECT_EQ(harness.windowView.language, 200);
    EXPECT_TRUE(window.menu().isChecked(cmd::kEnglish));
    window.command(cmd::kEnglish);  // cannot be chosen again
    EXPECT_EQ(harness.windowView.language, 200);

    window.command(cmd::kGerman);
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "de"));
    EXPECT_EQ(window.menu().at({0})->items[0].text, "&Öffnen\tStrg+O");
    EXPECT_EQ(window.text(2), "Die ncc.html konnte nicht geöffnet werden!");
}

TEST(MainWindow, SettingsSurviveARestart)
{
    WindowHarness harness;
    MainWindow& window = harness.window();
    window.command(cmd::kEnglish);
    harness.dialogs.colour = Rgb{0, 0x80, 0xff};
    window.command(cmd::kStyleBackground);  // grayed without a book
    EXPECT_TRUE(harness.dialogs.colourInitials.empty());
    window.close();
    EXPECT_TRUE(harness.windowView.ended);
    EXPECT_TRUE(std::filesystem::exists(harness.home() + "/Settings.dl"));
    EXPECT_FALSE(std::filesystem::exists(harness.home() + "/Letztes.dl"));

    harness.restart();
    EXPECT_EQ(harness.window().languageOffset(), 200);
    EXPECT_EQ(harness.textView.navigations().back(), startPage(harness, "en"));
    EXPECT_EQ(harness.window().menu().at({1})->text, "&Navigation");
    EXPECT_EQ(harness.window().menu().at({2, 1})->text, "Speed");
}

void writeSettings(const std::string& home, const std::vector<std::string>& lines)
{
    const Scrambler scrambler;
    std::string contents;
    for (std::size_t i = 0; i < lines.size(); ++i)
        contents += scrambler.scramble(lines[i]) + (i + 1 < lines.size() ? "\n" : "");
    ASSERT_TRUE(writeFileAtomically(home + "/Settings.dl", contents));
}

TEST(MainWindow, LoadsFlagsAsIntegersAndChecksTheirItems)
{
    test::TempDir home;
    writeSettings(home.path().string(),
                  {"30", "1.400000", "01", " 1", "0", "1x", "1", "0", "", "0", "1", "0", "", "0"});
    WindowHarness harness(home.path().string());
    const MainWindow& window = harness.window();
    EXPECT_TRUE(window.playback().skipFootnotes);
    EXPECT_TRUE(window.playback().skipSidebars);
    EXPECT_FALSE(window.playback().skipProdnotes);
    EXPECT_TRUE(window.playback().skipPageNumbers);
    EXPECT_TRUE(window.playback().autoPlay);
    EXPECT_TRUE(window.menu().isChecked(cmd::kSkipFootnotes));
    EXPECT_FALSE(window.menu().isChecked(cmd::kSkipProdnotes));
    EXPECT_TRUE(window.menu().isChecked(cmd::kAutoPlayback));
    EXPECT_TRUE(window.textStyle().bold);
    EXPECT_FALSE(window.textStyle().background);
    EXPECT_TRUE(window.menu().isChecked(cmd::kStyleBold));
    EXPECT_FALSE(window.menu().isChecked(cmd::kStyleBackground));
    EXPECT_EQ(harness.player.volume(), 30);
    EXPECT_DOUBLE_EQ(harness.player.rate(), 1.4);
}

TEST(MainWindow, ALanguageLineOfAnotherNumberKeepsGermanAndTheStartPage)
{
    test::TempDir home;
    writeSettings(home.path().string(), {"50", "1.0", "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "", "100"});
    WindowHarness harness(home.path().string());
    EXPECT_EQ(harness.window().languageOffset(), 0);
    EXPECT_EQ(harness.window().menu().at({0})->items[0].text, "&Öffnen\tStrg+O");
    EXPECT_EQ(harness.textView.navigations().size(), 1u);  // the reset's start page only
    EXPECT_TRUE(harness.window().hasAccelerators());
}

TEST(MainWindow, GrayedCommandsAreNotCarriedOutAndGroupCommandsDoNothing)
{
    WindowHarness harness;
    MainWindow& window = harness.window();
    window.command(cmd::kStyleBold);  // grayed: no book
    EXPECT_FALSE(window.textStyle().bold);

    const auto before = window.menu().popups().size();
    window.command(cmd::kGroupNext);
    window.command(cmd::kGroupPrevious);
    window.command(99999);  // in no table
    EXPECT_EQ(window.menu().popups().size(), before);
    EXPECT_FALSE(harness.windowView.ended);
}

TEST(MainWindow, AboutOpensTheAboutBox)
{
    WindowHarness harness;
    harness.window().command(cmd::kAbout);
    harness.window().command(cmd::kSystemAbout);
    EXPECT_EQ(harness.dialogs.aboutShown, 2);
}

TEST(MainWindow, ExitEndsTheWindowOnceAndCommandsAfterItDoNothing)
{
    WindowHarness harness;
    harness.window().command(cmd::kExit);
    EXPECT_TRUE(harness.windowView.ended);
    harness.windowView.ended = false;
    harness.window().close();
    harness.window().command(cmd::kExit);
    EXPECT_FALSE(harness.windowView.ended);
}

TEST(MainWindow, APlayerErrorClearsTheErrorQueue)
{
    WindowHarness harness;
    harness.player.setUrl("/nowhere.mp3");
    harness.advance(10);
    EXPECT_EQ(harness.player.errorCount(), 0);
}

}  // namespace
}  // namespace korvin
