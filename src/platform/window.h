// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace korvin {

// A keyboard accelerator: a key code with modifiers that sends a command.
// Letters are key codes ('A'..'Z'), so they act whatever the layout and Caps Lock;
// digits ('0'..'9') are the keys of the digit row, whatever the layout puts on them.
struct Accelerator {
    enum Modifier { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
    enum Key { kSpace = 0x20, kF1 = 0x70, kF4 = 0x73 };  // letters and digits are their ASCII code (upper case)
    int key = 0;
    int modifiers = kNone;
    int command = 0;
    friend bool operator==(const Accelerator&, const Accelerator&) = default;
};

// The main window as the system's code sees it.
class Window {
public:
    virtual ~Window() = default;
    // Hands the accelerator table to the key handling; until the first call,
    // keys go to the focused control unchanged.
    virtual void setAccelerators(const std::vector<Accelerator>& table) = 0;
    // Gives the keyboard focus to a control (by control id).
    virtual void setFocus(int controlId) = 0;
    // Redraws the whole window at once.
    virtual void redraw() = 0;
    // The interface language changed (0 German, 200 English): the controls take
    // their accessible names in that language.
    virtual void languageChanged(int languageOffset) = 0;
    // Ends the main window; the program then exits.
    virtual void end() = 0;
};

}  // namespace korvin
