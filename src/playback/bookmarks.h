// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "library/bookmarkfile.h"
#include "platform/listbox.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/window.h"
#include "playback/playbackengine.h"
#include "playback/playbackstate.h"
#include "ui/menumodel.h"

namespace korvin {

// The listener's own marks in a book: set, delete, next and previous, the
// bookmark list (1026) that shows them by heading title, the jump to one, and
// `MResume.dl`, which keeps the bookmarks of every book. Row k of the bookmark
// table is line k of the list. The graying of delete, next and previous keeps
// the step commands within the list.
class Bookmarks {
public:
    struct Services {
        MediaPlayer& player;
        ListBox& list;
        Window& window;
        MenuBar& menuBar;
    };

    Bookmarks(PlaybackState& state, BookTables& tables, MenuModel& menu, PlaybackEngine& engine, Services services,
              BookmarkFile file);

    // Commands 32851, 32859, 32860 and 32854.
    void set();
    void remove();
    void next();
    void previous();

    // The listener chose a line of the list (or next and previous did): jumps
    // there and gives the keyboard focus to the heading tree.
    void listSelectionChanged();
    // Bookmark row `row` was selected alone: plays from where it was set.
    void jump(int row);

    // The open book's bookmarks from the file, after its tables have been read;
    // and back into the file, when it is left.
    void load(const BookInfo& book);
    void save(const BookInfo& book);

private:
    void selectLine(int index);

    PlaybackState& m_state;
    BookTables& m_tables;
    MenuModel& m_menu;
    PlaybackEngine& m_engine;
    Services m_services;
    BookmarkFile m_file;
};

}  // namespace korvin
