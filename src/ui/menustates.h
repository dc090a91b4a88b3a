// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin {

// The menu's book-dependent states. Popups are changed by position, found from
// a command of theirs (MenuModel::popupOf, barMenuOf), so that the positions
// come from the menu table alone.

// Grays every item that needs an open book: the popups Navigation to Search, and
// their items, and every item the menu table marks "book"; Open, Open from
// list, Last, the language items, Exit and the help menu keep their states.
void grayBookItems(MenuModel& menu);

// What the menu update after opening a book enables, beyond the lists and tables
// it fills: audio, groups, pages, skips, text documents; `headingCount` decides
// search in headings, `hasBookmarks` next bookmark. Items marked "book" are
// enabled with every book.
void enableBookItems(MenuModel& menu, const FeatureFlags& features, int headingCount, bool hasBookmarks);

// Gives every item the text of its string in the language of `languageOffset`,
// keeping its gray, disabled and check states, then puts the radio check on the
// current language's item, which can then not be chosen again.
void setMenuLanguage(MenuModel& menu, const StringTable& strings, int languageOffset);

}  // namespace korvin
