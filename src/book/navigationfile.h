// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/bookreference.h"
#include "book/skippables.h"

namespace korvin {

// A place of the book the navigation file points to; nullopt when its
// reference is missing or leaves the book.
using NavigationTarget = std::optional<BookReference>;

struct NavigationHeading {
    int level = 1;        // the navPoint's depth, 1 to 6; deeper ones 6
    std::string title;    // its navLabel's text
    NavigationTarget target;
};

struct NavigationItem {
    std::string label;
    NavigationTarget target;
};

// What the reading of a DAISY 3 book takes from its navigation file (*.ncx).
// Texts are decoded to UTF-8 with white space collapsed; targets are relative
// to the book folder.
struct NavigationFile {
    std::string uid;       // the dtb:uid meta of the head
    std::string docTitle;  // the docTitle's text
    // One per navPoint of the navMap, an item before its children.
    std::vector<NavigationHeading> headings;
    // One per pageTarget of the pageList: its label, else its value.
    std::vector<NavigationItem> pages;
    // One per navTarget of the navLists whose class names notes, annotations,
    // sidebars or producer notes, in the order of the file. A target without
    // a label of its own is labelled with its list's.
    std::vector<NavigationItem> groups;
    // The smilCustomTests of the head: the SMIL custom test id and the kind
    // its bookStruct names.
    std::vector<std::pair<std::string, Skippable>> customTests;
    int codePage = 65001;
    bool malformed = false;  // the XML could not be read to its end
};

// Reads the navigation file `bytes`, found at `path` (relative to the book
// folder), as well as its XML allows: what comes before a fault is kept.
NavigationFile readNavigationFile(std::string_view bytes, std::string_view path);

}  // namespace korvin
