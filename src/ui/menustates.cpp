#include "ui/menustates.h"

#include <initializer_list>

#include "ui/commandids.h"

namespace korvin {

namespace {

void setAll(MenuModel& menu, const MenuModel::Path& popup, std::initializer_list<int> positions, bool enabled)
{
    for (int position : positions) {
        MenuModel::Path path = popup;
        path.push_back(position);
        menu.setEnabledAt(path, enabled);
    }
}

}  // namespace

void grayBookItems(MenuModel& menu)
{
    setAll(menu, {}, {1, 2, 3, 4, 5}, false);
    setAll(menu, {0}, {3, 5, 6}, false);
    setAll(menu, {0, 5}, {0, 1, 2}, false);
    setAll(menu, {0, 5, 0}, {0, 1, 2}, false);
    setAll(menu, {0, 6}, {0, 1, 2}, false);
    setAll(menu, {0, 6, 0}, {0, 1, 2}, false);
    setAll(menu, {1}, {0, 1, 2, 3, 5}, false);
    setAll(menu, {1, 0}, {0, 1}, false);
    setAll(menu, {1, 1}, {0, 1}, false);
    setAll(menu, {1, 2}, {0, 1, 3}, false);
    setAll(menu, {1, 3}, {0, 1, 2, 3}, false);
    setAll(menu, {2}, {0, 1, 2, 4, 5}, false);
    setAll(menu, {2, 0}, {0, 1, 2}, false);
    setAll(menu, {2, 1}, {0, 1, 2}, false);
    setAll(menu, {2, 2}, {0, 1}, false);
    setAll(menu, {3}, {0, 2}, false);
    setAll(menu, {3, 0}, {0, 1, 2, 3}, false);
    setAll(menu, {4}, {0, 1, 3, 4}, false);
    setAll(menu, {5}, {0, 1, 2, 4, 5}, false);
}

void enableBookItems(MenuModel& menu, const FeatureFlags& features, int headingCount, bool hasBookmarks)
{
    setAll(menu, {}, {1, 3, 4, 5}, true);
    if (features.audio)
        setAll(menu, {}, {2}, true);

    setAll(menu, {0}, {5, 6}, true);
    setAll(menu, {0, 5}, {0, 1, 2}, true);
    setAll(menu, {0, 5, 0}, {0, 1, 2}, true);
    setAll(menu, {0, 6}, {0, 1, 2}, true);
    setAll(menu, {0, 6, 0}, {0, 1, 2}, true);

    setAll(menu, {1}, {0}, true);
    if (features.groups)
        setAll(menu, {1}, {1}, true);
    if (features.pages)
        setAll(menu, {1}, {2}, true);
    if (features.footnotes || features.sidebars || features.prodnotes || features.pageNumbers)
        setAll(menu, {1}, {3}, true);
    setAll(menu, {1}, {5}, true);

    setAll(menu, {1, 0}, {0, 1}, true);
    if (features.groups)
        setAll(menu, {1, 1}, {0}, true);
    if (features.pages)
        setAll(menu, {1, 2}, {0, 3}, true);
    if (features.footnotes)
        setAll(menu, {1, 3}, {0}, true);
    if (features.sidebars)
        setAll(menu, {1, 3}, {1}, true);
    if (features.prodnotes)
        setAll(menu, {1, 3}, {2}, true);
    if (features.pageNumbers)
        setAll(menu, {1, 3}, {3}, true);

    if (features.audio) {
        setAll(menu, {2}, {0, 1, 2, 4, 5}, true);
        setAll(menu, {2, 0}, {0, 1, 2}, true);
        setAll(menu, {2, 1}, {0, 1, 2}, true);
        setAll(menu, {2, 2}, {0, 1}, true);
    }

    setAll(menu, {3}, {0, 2}, true);
    setAll(menu, {3, 0}, {0, 1, 2, 3}, true);

    setAll(menu, {4}, {0}, true);
    if (hasBookmarks)
        setAll(menu, {4}, {3}, true);

    if (headingCount > 1)
        setAll(menu, {5}, {0}, true);
    if (features.textDocuments)
        setAll(menu, {5}, {2}, true);
}

void setMenuLanguage(MenuModel& menu, const StringTable& strings, int languageOffset)
{
    menu.forEach([&](const MenuModel::Path&, MenuItem& item) {
        if (item.stringId >= 0)
            item.text = strings.get(item.stringId, languageOffset);
    });
    const int current = languageOffset == 200 ? cmd::kEnglish : cmd::kGerman;
    const int other = languageOffset == 200 ? cmd::kGerman : cmd::kEnglish;
    menu.checkRadio(cmd::kGerman, cmd::kLanguageRangeLast, current);
    menu.setDisabled(current, true);
    menu.setGrayed(other, false);
}

}  // namespace korvin
