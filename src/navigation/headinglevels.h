// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/messagebox.h"
#include "playback/playbackengine.h"
#include "ui/stringtable.h"

namespace korvin {

// The moves by heading level (the keys 1 to 6, with Shift back): to the next
// or previous heading of that level in the book's order, chosen as the tree
// chooses a heading, so that it plays as a chosen heading does. Without one,
// the information message "Keine weitere Überschrift der Ebene %i." while the
// player is held. In a book of one level, 1 walks every heading.
class HeadingLevels {
public:
    struct Parts {
        const BookTables& tables;
        PlaybackEngine& engine;
        const StringTable& strings;
        const int& languageOffset;
    };
    struct Services {
        MediaPlayer& player;
        MessageBoxes& messageBoxes;
        MenuBar& menuBar;
    };

    HeadingLevels(Parts parts, Services services);

    // `level` 1 to 6.
    void next(int level);
    void previous(int level);

    // The heading row of `level` after (`direction` 1) or before (-1) the
    // heading row `from` (-1: before the first), or -1 when there is none.
    static int find(const BookTable& headings, int from, int level, int direction);

private:
    void move(int level, int direction);

    Parts m_parts;
    Services m_services;
};

}  // namespace korvin
