// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/mediaplayer.h"
#include "platform/menubar.h"

namespace korvin {

// Holds the player still while a command asks the listener something or
// makes them wait, and lets it play afterwards. Made at the start of the
// command: reads the play state and pauses unless the media has ended. Gone
// at the end, on every path out (Cancel, an early return, an exception): plays
// when the player is paused then, and redraws the menu bar. A book that was
// paused before the command therefore plays after it.
class PauseBracket {
public:
    PauseBracket(MediaPlayer& player, MenuBar& menuBar);
    ~PauseBracket();
    PauseBracket(const PauseBracket&) = delete;
    PauseBracket& operator=(const PauseBracket&) = delete;

private:
    MediaPlayer& m_player;
    MenuBar& m_menuBar;
};

}  // namespace korvin
