// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/settings.h"
#include "platform/menubar.h"
#include "ui/menumodel.h"

namespace korvin {

// The four skip toggles of the menu "Überspringen" / "Skip" (footnotes,
// sidebars, production notes, page numbers). Each flag in Settings always
// equals its item's check mark; the phrase start reads the flags, so a change
// takes effect at the next phrase, never interrupting the one that plays.
class Skips {
public:
    Skips(Settings& settings, MenuModel& menu, MenuBar& menuBar)
        : m_settings(settings)
        , m_menu(menu)
        , m_menuBar(menuBar)
    {
    }

    // Commands 32785, 32786, 32787 and 33011; any other command does nothing.
    void toggle(int command);

private:
    bool* flagOf(int command);

    Settings& m_settings;
    MenuModel& m_menu;
    MenuBar& m_menuBar;
};

}  // namespace korvin
