#include "ui/menustates.h"

#include <initializer_list>

#include "ui/commandids.h"
#include "ui/menupaths.h"

namespace korvin {

namespace {

using menupath::Path;

void setEnabled(MenuModel& menu, std::initializer_list<const Path*> paths, bool enabled)
{
    for (const Path* path : paths)
        menu.setEnabledAt(*path, enabled);
}

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

}  // namespace

void grayBookItems(MenuModel& menu)
{
    using namespace menupath;
    for (const Path* popup :
         {&kNavigation, &kAudio, &kText, &kBookmarks, &kSearch, &kBookInformation, &kTitleInformation})
        setTree(menu, *popup, false);
    menu.setEnabledAt(kChangeVolume, false);
}

void enableBookItems(MenuModel& menu, const FeatureFlags& features, int headingCount, bool hasBookmarks)
{
    using namespace menupath;
    setEnabled(menu, {&kNavigation, &kBookmarks, &kSearch}, true);
    setTree(menu, kBookInformation, true);
    setTree(menu, kTitleInformation, true);

    setTree(menu, kPhrase, true);
    menu.setEnabledAt(kSwitchToNavigation, true);
    if (features.groups)
        setEnabled(menu, {&kGroup, &kGroupNext}, true);
    if (features.pages)
        setEnabled(menu, {&kPage, &kPageNext, &kPageGoto}, true);
    if (features.footnotes || features.sidebars || features.prodnotes || features.pageNumbers)
        menu.setEnabledAt(kSkip, true);
    if (features.footnotes)
        menu.setEnabledAt(kSkipFootnotes, true);
    if (features.sidebars)
        menu.setEnabledAt(kSkipSidebars, true);
    if (features.prodnotes)
        menu.setEnabledAt(kSkipProdnotes, true);
    if (features.pageNumbers)
        menu.setEnabledAt(kSkipPageNumbers, true);

    if (features.audio)
        setTree(menu, kAudio, true);
    setTree(menu, kText, true);

    menu.setEnabledAt(kBookmarkSet, true);
    if (hasBookmarks)
        menu.setEnabledAt(kBookmarkNext, true);

    if (headingCount > 1)
        menu.setEnabledAt(kSearchHeadings, true);
    if (features.textDocuments)
        menu.setEnabledAt(kSearchBook, true);
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
