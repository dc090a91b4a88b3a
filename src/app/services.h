// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/bookarchives.h"
#include "platform/dialogs.h"
#include "platform/htmlview.h"
#include "platform/listbox.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/messagebox.h"
#include "platform/textdocuments.h"
#include "platform/timers.h"
#include "platform/waitwindow.h"
#include "platform/window.h"

namespace korvin {

// The platform the main window drives. Everything is owned by the caller and
// outlives the main window.
struct PlatformServices {
    COcx1& player;
    TitleCuePlayer& titleCue;
    CExplorer1& textView;
    Timers& timers;
    ListBox& groupList;           // 1041
    ListBox& bookmarkList;        // 1026
    ListBox& searchResultList;    // 1003
    MessageBoxes& messageBoxes;
    Dialogs& dialogs;
    Window& window;
    MenuBar& menuBar;
    WaitWindow& waitWindow;
    TextDocuments& textDocuments;
    const BookArchives& archives;
};

// Where the program keeps its files. Both end without "/".
struct Folders {
    std::string state;      // the start directory: Settings.dl and the other .dl files
    std::string data;       // holds documents/html/start_*.html and documents/Manuals/...
};

}  // namespace korvin
