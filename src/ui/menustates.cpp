// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menustates.h"

#include <initializer_list>
#include <utility>

#include "ui/commandids.h"

namespace korvin {

namespace {

using Path = MenuModel::Path;

// The item at `path` and every item below it; separators keep their state.
void setTree(MenuModel& menu, const Path& path, bool enabled)
{
    menu.setEnabledAt(path, enabled);
    const MenuItem* item = menu.at(path);
    if (!item)
        return;
    for (int position = 0; position < static_cast<int>(item->items.size()); ++position) {
        if (item->items[static_cast<std::size_t>(position)].isSeparator())
            continue;
        Path child = path;
        child.push_back(position);
        setTree(menu, child, enabled);
    }
}

void enable(MenuModel& menu, std::initializer_list<int> commands)
{
    for (const int command : commands)
        menu.setGrayed(command, false);
}

void setBookItems(MenuModel& menu, bool enabled)
{
    menu.forEach([&](const Path&, MenuItem& item) {
        if (item.followsBook) {
            item.grayed = !enabled;
            item.disabled = false;
        }
    });
}

}  // namespace

void grayBookItems(MenuModel& menu)
{
    for (const int command :
         {cmd::kPhraseForward, cmd::kPauseContinue, cmd::kSwitchToText, cmd::kBookmarkSet, cmd::kSearchHeadings})
        setTree(menu, menu.barMenuOf(command), false);
    setTree(menu, menu.popupOf(cmd::kEntries), false);       // book information
    setTree(menu, menu.popupOf(cmd::kHeadingIndex), false);  // title information
    menu.setGrayed(cmd::kChangeVolume, true);
    setBookItems(menu, false);
}

void enableBookItems(MenuModel& menu, const FeatureFlags& features, int headingCount, bool hasBookmarks)
{
    for (const int command : {cmd::kPhraseForward, cmd::kBookmarkSet, cmd::kSearchHeadings})
        menu.setEnabledAt(menu.barMenuOf(command), true);
    setTree(menu, menu.popupOf(cmd::kEntries), true);
    setTree(menu, menu.popupOf(cmd::kHeadingIndex), true);

    setTree(menu, menu.popupOf(cmd::kPhraseForward), true);
    enable(menu, {cmd::kSwitchToNavigation});
    if (features.groups) {
        menu.setEnabledAt(menu.popupOf(cmd::kGroupNext), true);
        enable(menu, {cmd::kGroupNext});
    }
    if (features.pages) {
        menu.setEnabledAt(menu.popupOf(cmd::kPageNext), true);
        enable(menu, {cmd::kPageNext, cmd::kPageGoto});
    }
    if (features.footnotes || features.sidebars || features.prodnotes || features.pageNumbers)
        menu.setEnabledAt(menu.popupOf(cmd::kSkipFootnotes), true);
    for (const auto& [present, command] :
         {std::pair{features.footnotes, cmd::kSkipFootnotes}, std::pair{features.sidebars, cmd::kSkipSidebars},
          std::pair{features.prodnotes, cmd::kSkipProdnotes}, std::pair{features.pageNumbers, cmd::kSkipPageNumbers}})
        if (present)
            enable(menu, {command});

    if (features.audio)
        setTree(menu, menu.barMenuOf(cmd::kPauseContinue), true);
    setTree(menu, menu.barMenuOf(cmd::kSwitchToText), true);

    enable(menu, {cmd::kBookmarkSet});
    if (hasBookmarks)
        enable(menu, {cmd::kBookmarkNext});

    if (headingCount > 1)
        enable(menu, {cmd::kSearchHeadings});
    if (features.textDocuments)
        enable(menu, {cmd::kSearchBook});
    setBookItems(menu, true);
}

void setMenuLanguage(MenuModel& menu, const StringTable& strings, int languageOffset)
{
    menu.forEach([&](const MenuModel::Path&, MenuItem& item) {
        if (item.stringId >= 0)
            item.text = strings.get(item.stringId, languageOffset);
    });
    const int current = languageOffset == 200 ? cmd::kEnglish : cmd::kGerman;
    const int other = languageOffset == 200 ? cmd::kGerman : cmd::kEnglish;
    // The language items are the only ones from German to English.
    menu.checkRadio(cmd::kGerman, cmd::kEnglish, current);
    menu.setDisabled(current, true);
    menu.setGrayed(other, false);
}

}  // namespace korvin
