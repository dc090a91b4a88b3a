// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menumodel.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/commandids.h"
#include "ui/menustates.h"
#include "ui/stringtable.h"

namespace korvin {
namespace {

// The menu as the listener must meet it, written out independently of the
// resource file so that a slip in either shows: path, command (0 popup, -1
// separator), German text of the menu, English text, starts grayed.
struct Expected {
    const char* path;
    int command;
    const char* german;
    const char* english;
    bool grayed;
};

const std::vector<Expected> kMenu = {
    {"0", 0, "&DAISY", "&DAISY", false},
    {"0.0", 32774, "&Öffnen\tStrg+O", "&Open\tCtrl+O", false},
    {"0.1", 33012, "V&on Liste\tO", "&Of list\tO", false},
    {"0.2", 32780, "&Letztes\tAlt+L", "&Last\tAlt+L", false},
    {"0.3", 33009, "&Wechseln\tAlt+W", "Change\tAlt+W", false},
    {"0.4", -1, "", "", false},
    {"0.5", 0, "Buch-Information", "Book Information", false},
    {"0.5.0", 0, "Spieldauer", "Play time", false},
    {"0.5.0.0", 32828, "Gesamt", "Total", true},
    {"0.5.0.1", 32829, "Gehört", "Elapsed", true},
    {"0.5.0.2", 32830, "Rest", "Remaining", true},
    {"0.5.1", 32827, "Einträge", "Entries", true},
    {"0.5.2", 32815, "Ebenen", "Levels", true},
    {"0.6", 0, "Titel-Information", "Title Information", false},
    {"0.6.0", 0, "Spieldauer", "Play time", false},
    {"0.6.0.0", 32850, "Gesamt", "Total", true},
    {"0.6.0.1", 32832, "Gehört", "Elapsed", true},
    {"0.6.0.2", 32849, "Rest", "Remaining", true},
    {"0.6.1", 32824, "Index", "Index", true},
    {"0.6.2", 32825, "Ebene", "Level", true},
    {"0.7", -1, "", "", false},
    {"0.8", 0, "Sprache", "Language", false},
    {"0.8.0", 32953, "Deutsch", "Deutsch", false},
    {"0.8.1", 32954, "English", "English", false},
    {"0.9", -1, "", "", false},
    {"0.10", 32772, "Beenden\tAlt+F4", "Exit\tAlt+F4", false},
    {"1", 0, "&Navigation", "&Navigation", false},
    {"1.0", 0, "&Phrase", "&Phrase", false},
    {"1.0.0", 32778, "vorwärts\tP", "forward\tP", true},
    {"1.0.1", 32779, "rückwärts\tUmsch+P", "backward\tShift+P", true},
    {"1.1", 0, "&Gruppe", "&Group", false},
    {"1.1.0", 32991, "nächste\tG", "next\tG", true},
    {"1.1.1", 32979, "vorherige\tUmsch+G", "previous\tShift+G", true},
    {"1.2", 0, "&Seite", "Page", false},
    {"1.2.0", 32984, "nächste\tS", "next\tS", true},
    {"1.2.1", 32982, "vorherige\tUmsch+S", "previous\tShift+S", true},
    {"1.2.2", -1, "", "", false},
    {"1.2.3", 32983, "Gehe zu...\tAlt+S", "Goto...\tAlt+S", true},
    {"1.3", 0, "Überspringen", "Skip", false},
    {"1.3.0", 32785, "Fußnoten", "Footnote", true},
    {"1.3.1", 32786, "Seitenrand", "Sidebar", true},
    {"1.3.2", 32787, "Information", "Prod-Note", true},
    {"1.3.3", 33011, "Seitenzahl", "Page number", true},
    {"1.4", -1, "", "", false},
    {"1.5", 32965, "Wechseln zu...\tN", "Switch to...\tN", true},
    {"2", 0, "&Audio", "&Audio", false},
    {"2.0", 0, "&Lautstärke", "Vo&lume", false},
    {"2.0.0", 32793, "lauter\tL", "turn up\tL", true},
    {"2.0.1", 32800, "normal\tStrg+L", "normal\tCtrl+L", true},
    {"2.0.2", 32795, "leiser\tUmsch+L", "turn down\tShift+L", true},
    {"2.1", 0, "Gesch&windigkeit", "Speed", false},
    {"2.1.0", 32797, "schneller\tW", "faster\tW", true},
    {"2.1.1", 32801, "normal\tStrg+W", "normal\tCtrl+W", true},
    {"2.1.2", 32799, "langsamer\tUmsch+W", "slower\tShift+W", true},
    {"2.2", 0, "Sp&ulen", "FF/FRW", false},
    {"2.2.0", 32805, "vorwärts\tU", "forward\tU", true},
    {"2.2.1", 32807, "rückwärts\tUmsch+U", "backward\tShift+U", true},
    {"2.3", -1, "", "", false},
    {"2.4", 32808, "Pause/Fortsetzen\tLeer", "Pause/Continue\tSpace", true},
    {"2.5", 32840, "&Autom. Wiedergabe\tAlt+A", "&Auto Playback\tAlt+A", true},
    {"3", 0, "&Text", "&Text", false},
    {"3.0", 0, "Hervorheben", "Mark up", false},
    {"3.0.0", 32844, "Hintergrund", "Background", true},
    {"3.0.1", 32847, "Kursiv", "Italic", true},
    {"3.0.2", 32846, "Fett", "Bold", true},
    {"3.0.3", 32848, "Schriftfarbe", "Text color", true},
    {"3.1", -1, "", "", false},
    {"3.2", 32966, "Wechseln zu...\tT", "Swi&tch to...\tT", false},
    {"4", 0, "&Lesezeichen", "&Bookmark", false},
    {"4.0", 32851, "Setzen\tStrg+M", "Set\tCtrl+M", true},
    {"4.1", 32859, "Löschen\tAlt+M", "Delete\tAlt+M", true},
    {"4.2", -1, "", "", false},
    {"4.3", 32860, "Nächstes\tM", "Next\tM", true},
    {"4.4", 32854, "Vorheriges\tUmsch+M", "Previous\tShift+M", true},
    {"5", 0, "&Suche", "&Search", false},
    {"5.0", 32861, "in Überschriften", "in Headings", true},
    {"5.1", 32862, "im Text", "in Text", true},
    {"5.2", 32881, "im Buch", "in Book", true},
    {"5.3", -1, "", "", false},
    {"5.4", 32863, "Nächstes\tR", "Next\tR", true},
    {"5.5", 32858, "Vorheriges\tUmsch+R", "P&revious\tShift+R", true},
    {"6", 0, "&?", "&?", false},
    {"6.0", 32867, "Hilfe\tF1", "Help\tF1", false},
    {"6.1", -1, "", "", false},
    {"6.2", 32866, "Über...", "About...", false},
};

MenuModel::Path pathFrom(const std::string& text)
{
    MenuModel::Path path;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t dot = text.find('.', start);
        path.push_back(std::stoi(text.substr(start, dot - start)));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return path;
}

int countItems(const MenuModel& menu)
{
    int count = 0;
    menu.forEach([&](const MenuModel::Path&, const MenuItem&) { ++count; });
    return count;
}

TEST(MenuModel, HoldsEveryItemAtItsPositionWithItsIdGermanTextAndGrayState)
{
    const MenuModel menu = MenuModel::builtIn();
    // Items beyond these may follow; these keep their positions.
    EXPECT_GE(countItems(menu), static_cast<int>(kMenu.size()));
    for (const Expected& expected : kMenu) {
        SCOPED_TRACE(expected.path);
        const MenuItem* item = menu.at(pathFrom(expected.path));
        ASSERT_NE(item, nullptr);
        if (expected.command == -1) {
            EXPECT_TRUE(item->isSeparator());
            continue;
        }
        EXPECT_EQ(item->isPopup(), expected.command == 0);
        if (expected.command != 0) {
            EXPECT_EQ(item->command, expected.command);
        }
        EXPECT_EQ(item->text, expected.german);
        EXPECT_EQ(item->grayed, expected.grayed);
    }
}

TEST(MenuModel, TakesTheEnglishTextsFromTheStringTableKeepingStates)
{
    MenuModel menu = MenuModel::builtIn();
    const StringTable strings = StringTable::builtIn();
    menu.setChecked(cmd::kSkipSidebars, true);
    menu.setGrayed(cmd::kOpen, true);

    setMenuLanguage(menu, strings, 200);

    for (const Expected& expected : kMenu) {
        SCOPED_TRACE(expected.path);
        const MenuItem* item = menu.at(pathFrom(expected.path));
        ASSERT_NE(item, nullptr);
        if (!item->isSeparator()) {
            EXPECT_EQ(item->text, expected.english);
        }
    }
    EXPECT_TRUE(menu.isChecked(cmd::kSkipSidebars));
    EXPECT_TRUE(menu.isGrayed(cmd::kOpen));
    EXPECT_EQ(menu.find(cmd::kSkipFootnotes)->grayed, true);
}

TEST(MenuModel, GermanFromTheStringTableDiffersFromTheResourceOnlyWhereTheTableSays)
{
    MenuModel menu = MenuModel::builtIn();
    setMenuLanguage(menu, StringTable::builtIn(), 0);
    for (const Expected& expected : kMenu) {
        SCOPED_TRACE(expected.path);
        const MenuItem* item = menu.at(pathFrom(expected.path));
        if (item->isSeparator())
            continue;
        const std::string german = expected.command == cmd::kSkipFootnotes ? "Fußnote" : expected.german;
        EXPECT_EQ(item->text, german);
    }
}

TEST(MenuModel, LanguageItemCarriesTheRadioCheckAndCannotBeChosenAgain)
{
    MenuModel menu = MenuModel::builtIn();
    const StringTable strings = StringTable::builtIn();

    setMenuLanguage(menu, strings, 200);
    EXPECT_TRUE(menu.find(cmd::kEnglish)->checked);
    EXPECT_TRUE(menu.find(cmd::kEnglish)->radio);
    EXPECT_FALSE(menu.find(cmd::kGerman)->checked);
    EXPECT_FALSE(menu.canExecute(cmd::kEnglish));
    EXPECT_FALSE(menu.find(cmd::kEnglish)->grayed);  // disabled, not grayed
    EXPECT_TRUE(menu.canExecute(cmd::kGerman));

    setMenuLanguage(menu, strings, 0);
    EXPECT_TRUE(menu.find(cmd::kGerman)->checked);
    EXPECT_FALSE(menu.find(cmd::kEnglish)->checked);
    EXPECT_TRUE(menu.canExecute(cmd::kEnglish));
    EXPECT_FALSE(menu.canExecute(cmd::kGerman));
}

TEST(MenuModel, KnowsWhichItemsCanCarryACheckBeforeAnyIsChecked)
{
    using Checkable = MenuItem::Checkable;
    const MenuModel menu = MenuModel::builtIn();
    const std::vector<std::pair<int, Checkable>> expected = {
        {cmd::kGerman, Checkable::kRadio},          {cmd::kEnglish, Checkable::kRadio},
        {cmd::kSkipFootnotes, Checkable::kCheck},   {cmd::kSkipPageNumbers, Checkable::kCheck},
        {cmd::kAutoPlayback, Checkable::kCheck},    {cmd::kStyleBackground, Checkable::kRadio},
        {cmd::kStyleTextColour, Checkable::kRadio}, {cmd::kPhraseForward, Checkable::kNo},
        {cmd::kBookmarkSet, Checkable::kNo}};
    for (const auto& [command, checkable] : expected) {
        SCOPED_TRACE(command);
        ASSERT_NE(menu.find(command), nullptr);
        EXPECT_EQ(menu.find(command)->checkable, checkable);
        EXPECT_FALSE(menu.find(command)->checked);
    }
    // Marks in any order; one it does not know is passed over.
    const MenuModel table("0\tpopup\t-\t-\tA\n0.0\t1\tradio gray\t-\tX\n0.1\t2\tshiny check\t-\tY\n");
    EXPECT_TRUE(table.find(1)->grayed);
    EXPECT_EQ(table.find(1)->checkable, Checkable::kRadio);
    EXPECT_FALSE(table.find(2)->grayed);
    EXPECT_EQ(table.find(2)->checkable, Checkable::kCheck);
}

TEST(MenuModel, ACommandCannotBeCarriedOutWhenItsItemOrAPopupAboveIsGrayed)
{
    MenuModel menu = MenuModel::builtIn();
    EXPECT_FALSE(menu.canExecute(cmd::kPhraseForward));  // grayed in the resource
    menu.setGrayed(cmd::kPhraseForward, false);
    EXPECT_TRUE(menu.canExecute(cmd::kPhraseForward));
    menu.setEnabledAt(menu.barMenuOf(cmd::kPhraseForward), false);
    EXPECT_FALSE(menu.canExecute(cmd::kPhraseForward));
    EXPECT_TRUE(menu.canExecute(12345));  // no item, nothing to gray
}

TEST(MenuModel, FindsAPopupAndItsMenuOfTheMenuBarFromACommandInIt)
{
    const MenuModel menu = MenuModel::builtIn();
    // Popups by the string ids of their texts.
    EXPECT_EQ(menu.at(menu.popupOf(cmd::kBookTotalTime))->stringId, 114);  // three levels down
    EXPECT_EQ(menu.at(menu.barMenuOf(cmd::kBookTotalTime))->stringId, 100);
    EXPECT_EQ(menu.at(menu.popupOf(cmd::kSkipPageNumbers))->stringId, 127);
    EXPECT_EQ(menu.at(menu.barMenuOf(cmd::kAbout))->stringId, 106);
    EXPECT_TRUE(menu.popupOf(12345).empty());  // no item carries it
    EXPECT_TRUE(menu.barMenuOf(12345).empty());
}

TEST(MenuStates, ResetGraysEveryBookItemAndLeavesTheRest)
{
    MenuModel menu = MenuModel::builtIn();
    enableBookItems(menu, FeatureFlags{true, true, true, true, true, true, true, true}, 5, true);
    grayBookItems(menu);
    for (const Expected& expected : kMenu) {
        SCOPED_TRACE(expected.path);
        const MenuModel::Path path = pathFrom(expected.path);
        const MenuItem* item = menu.at(path);
        if (item->isSeparator())
            continue;
        const bool keeps = (path.size() == 1 && (path[0] == 0 || path[0] == 6)) ||
                           (path[0] == 0 && path.size() == 2 && (path[1] <= 2 || path[1] >= 7)) ||
                           (path[0] == 0 && path.size() == 3 && path[1] == 8) || path[0] == 6;
        EXPECT_EQ(item->grayed, !keeps);
    }
    EXPECT_FALSE(menu.isGrayed(cmd::kOpen));
    EXPECT_FALSE(menu.isGrayed(cmd::kLastBook));
    EXPECT_TRUE(menu.isGrayed(cmd::kChangeVolume));
}

// A new item needs no code of its own to follow the book, wherever it stands.
TEST(MenuStates, ItemsMarkedBookAreGrayedWithoutABookAndEnabledWithOne)
{
    MenuModel menu("0\tpopup\t-\t-\tA\n0.0\t1\tbook\t-\tX\n0.1\t2\t-\t-\tY\n"
                   "1\tpopup\t-\t-\tB\n1.0\t3\tgray book\t-\tZ\n");
    grayBookItems(menu);
    EXPECT_TRUE(menu.isGrayed(1));
    EXPECT_FALSE(menu.isGrayed(2));
    EXPECT_TRUE(menu.isGrayed(3));
    enableBookItems(menu, FeatureFlags{}, 1, false);
    EXPECT_FALSE(menu.isGrayed(1));
    EXPECT_FALSE(menu.isGrayed(3));
}

TEST(MenuStates, UpdateEnablesWhatTheBookHasAndNothingElse)
{
    MenuModel menu = MenuModel::builtIn();
    grayBookItems(menu);
    FeatureFlags textOnly;
    textOnly.pages = true;
    enableBookItems(menu, textOnly, 1, false);

    EXPECT_TRUE(menu.isGrayedAt(menu.barMenuOf(cmd::kPauseContinue)));  // no audio: the Audio menu stays grayed
    EXPECT_TRUE(menu.isGrayed(cmd::kPauseContinue));
    EXPECT_FALSE(menu.isGrayedAt(menu.popupOf(cmd::kPageNext)));
    EXPECT_FALSE(menu.isGrayed(cmd::kPageNext));
    EXPECT_TRUE(menu.isGrayed(cmd::kPagePrevious));
    EXPECT_FALSE(menu.isGrayed(cmd::kPageGoto));
    EXPECT_TRUE(menu.isGrayedAt(menu.popupOf(cmd::kGroupNext)));      // no groups
    EXPECT_TRUE(menu.isGrayedAt(menu.popupOf(cmd::kSkipFootnotes)));  // nothing to skip
    EXPECT_TRUE(menu.isGrayed(cmd::kSearchHeadings));  // a single heading
    EXPECT_TRUE(menu.isGrayed(cmd::kSearchBook));      // no text documents
    EXPECT_TRUE(menu.isGrayed(cmd::kBookmarkNext));    // no bookmarks
    EXPECT_FALSE(menu.isGrayed(cmd::kBookmarkSet));
    EXPECT_TRUE(menu.isGrayed(cmd::kGroupPrevious));
    EXPECT_TRUE(menu.isGrayed(cmd::kSearchText));
    EXPECT_TRUE(menu.isGrayed(cmd::kChangeVolume));

    FeatureFlags rich{true, true, false, true, false, false, true, true};
    enableBookItems(menu, rich, 2, true);
    EXPECT_FALSE(menu.isGrayedAt(menu.barMenuOf(cmd::kPauseContinue)));
    EXPECT_FALSE(menu.isGrayed(cmd::kWindBackward));
    EXPECT_FALSE(menu.isGrayed(cmd::kGroupNext));
    EXPECT_TRUE(menu.isGrayed(cmd::kGroupPrevious));
    EXPECT_FALSE(menu.isGrayed(cmd::kSkipFootnotes));
    EXPECT_TRUE(menu.isGrayed(cmd::kSkipSidebars));
    EXPECT_FALSE(menu.isGrayed(cmd::kSkipPageNumbers));
    EXPECT_FALSE(menu.isGrayed(cmd::kSearchHeadings));
    EXPECT_FALSE(menu.isGrayed(cmd::kSearchBook));
    EXPECT_FALSE(menu.isGrayed(cmd::kBookmarkNext));
}

}  // namespace
}  // namespace korvin
