// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "book/booktables.h"
#include "library/options.h"
#include "library/settings.h"
#include "playback/playbackstate.h"

namespace korvin {

// The state the main window holds for the whole run, shared by its parts.
struct WindowState {
    Settings settings;               // read at start, written at exit
    Options options;                 // read at start, written when changed and at exit
    PlaybackState playback;
    // What the listener opened, and `Letztes.dl` records: the book folder
    // (playback.bookFolder), a DAISY 3 book's package file, or a zip file.
    std::string bookPlace;
    BookInfo bookInfo;               // of the open book
    BookCredits credits;             // of the open book
    int bookSerial = 0;              // counts the books opened in this run
    FeatureFlags features;           // of the open book
    bool noLastBook = false;         // the open book is not recorded as the last book
    bool textSearchMode = false;     // the search results come from a search in the text
    std::string searchTerm;          // lower-cased, marked in the text view
    bool navigationViewActive = false;
};

}  // namespace korvin
