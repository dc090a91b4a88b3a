// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "book/booktables.h"
#include "platform/listbox.h"
#include "platform/menubar.h"
#include "platform/window.h"
#include "playback/playbackengine.h"
#include "playback/playbackstate.h"
#include "ui/menumodel.h"

namespace korvin {

// The two views the listener works in (the heading tree and the text view),
// which of them was chosen last, and the groups: a choice in the group list
// (1041), the next and previous group, and the group jump that a selected
// group row asks for. Runs on the UI thread; the jumps run before it goes on.
class Views {
public:
    struct State {
        const PlaybackState& playback;  // the book-open flag
        bool& navigationViewActive;
    };
    struct Parts {
        BookTables& tables;
        MenuModel& menu;
        PlaybackEngine& engine;
    };
    struct Services {
        Window& window;
        ListBox& groupList;
        MenuBar& menuBar;
    };

    Views(State state, Parts parts, Services services)
        : m_state(state)
        , m_parts(parts)
        , m_services(services)
    {
    }

    // Commands 32965 (N) and 32966 (T).
    void switchToNavigation();
    void switchToText();
    // The heading tree received the keyboard focus, by any means.
    void navigationFocused() { m_state.navigationViewActive = true; }

    // The listener chose a line of the group list: the focus goes to the view
    // chosen last, then the group's jump runs.
    void groupChosen();
    // Commands 32991 (G) and 32979 (Shift+G): the group after or before the
    // current one, the list's selection following; each grays its item at
    // the end of the table it has reached.
    void nextGroup();
    void previousGroup();
    // A group row became the selected one: its heading, then the phrase whose
    // `Text-ID` is the group's fragment, when its SMIL file has one.
    void groupJump();

private:
    void selectGroup(int row);

    State m_state;
    Parts m_parts;
    Services m_services;
};

}  // namespace korvin
