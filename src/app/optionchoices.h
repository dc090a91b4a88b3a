// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "library/options.h"
#include "library/scrambler.h"
#include "platform/menubar.h"
#include "playback/audiocontrols.h"
#include "ui/menumodel.h"

namespace korvin {

// The listener's options (Options) as the menu shows them and `Optionen.dl`
// keeps them: read at start, written when one is changed and at exit.
class OptionChoices {
public:
    struct Parts {
        Options& options;
        MenuModel& menu;
        AudioControls& audio;
    };

    OptionChoices(Parts parts, MenuBar& menuBar, std::string path, const Scrambler& scrambler);

    // Reads the file and checks the items of the options that are on. With
    // "Bis dreifach" off, a rate beyond 0.6..2.0 (from `Settings.dl`) comes
    // back to the nearer end.
    void load();
    // Writes the file; a failure is not reported.
    void save() const;
    // Commands "Beim Fortsetzen zurückspulen" and "Bis dreifach": turn the
    // option over, check its item, keep it in the file.
    void toggle(int command);

private:
    void showChecks();

    Parts m_parts;
    MenuBar& m_menuBar;
    OptionsFile m_file;
};

}  // namespace korvin
