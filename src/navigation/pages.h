// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "platform/dialogs.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/messagebox.h"
#include "playback/playbackstate.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin {

// Moves by the pages of the printed edition: next, previous, and to a page
// whose label the listener types. Each makes a page row the page table's
// current row and selects it; the page jump of the playback engine does the
// rest. The step commands keep themselves inside the table by graying their
// items at its ends. Runs on the UI thread; the jumps run before it goes on.
class Pages {
public:
    struct Parts {
        BookTables& tables;
        MenuModel& menu;
        const StringTable& strings;
        PlaybackState& playback;  // the force-seek flag
        const int& languageOffset;
    };
    struct Services {
        MediaPlayer& player;
        MenuBar& menuBar;
        Dialogs& dialogs;
        MessageBoxes& messageBoxes;
    };

    Pages(Parts parts, Services services)
        : m_parts(parts)
        , m_services(services)
    {
    }

    // Commands 32984, 32982, 32983.
    void next();
    void previous();
    // Pauses; a cancelled dialog leaves the book paused. A label that no page
    // carries (compared whole, with letter case) is answered with a message,
    // after which the book plays.
    void goTo();

private:
    void jumpTo(int row);
    const std::string& text(int id) const { return m_parts.strings.get(id, m_parts.languageOffset); }

    Parts m_parts;
    Services m_services;
};

}  // namespace korvin
