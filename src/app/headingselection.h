// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "app/windowstate.h"
#include "book/booktables.h"
#include "platform/listbox.h"
#include "platform/menubar.h"
#include "playback/playbackengine.h"
#include "ui/menumodel.h"

namespace korvin {

// The two ways of moving to a heading that are not commands: choosing it in the
// heading tree and following a link to a SMIL file in the text. Both are
// reactions (to the tree's selection, to the text view's navigation) and run
// only while a book is open. Everything is owned by the caller and outlives
// this object.
class HeadingSelection {
public:
    struct Parts {
        WindowState& state;
        BookTables& tables;
        MenuModel& menu;
        PlaybackEngine& engine;
    };
    struct Services {
        MenuBar& menuBar;
        ListBox& searchResultList;  // 1003
    };

    HeadingSelection(Parts parts, Services services);

    // The tree's selection changed to `item`: plays the heading's first phrase
    // and selects its heading row. Answers the notification (always 0).
    int headingSelected(HeadingTree::Item item);
    // The text view is about to follow `url`: a link to a SMIL file of the book
    // is cancelled and played instead.
    void beforeNavigate(const std::string& url, bool& cancel);

private:
    void emptySearchResults();

    Parts m_parts;
    WindowState& m_state;
    BookTables& m_tables;
    MenuModel& m_menu;
    Services m_platform;
};

}  // namespace korvin
