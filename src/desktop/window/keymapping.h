// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>

#include <optional>
#include <string_view>

#include "platform/window.h"

class QKeyEvent;

namespace korvin {

// A key with its modifiers in the accelerator table's terms: letters as their
// upper-case ASCII code, the digit row's keys as their digit's ASCII code,
// Space and F1..F24 as Accelerator::Key codes.
struct KeyStroke {
    int key = 0;
    int modifiers = Accelerator::kNone;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// The key an accelerator table would see for `event`. Letters come from the
// layout (a German keyboard's Z key is Z, whatever Shift and Caps Lock say); a
// layout without Latin letters (Cyrillic, Greek, ...) gives the letter of the
// key's position on a US keyboard, from its X keycode. The keys of the digit row
// are their digits by their place (X keycode), whatever the layout writes with
// them (Shift+1 is "!" on a US keyboard); the keypad's digits are no such keys.
// Keys with the Meta (Super) modifier, and keys that are neither letters,
// digits, Space nor function keys, have none.
std::optional<KeyStroke> keyStrokeOf(const QKeyEvent& event);

// The key sequence a menu item's shortcut text names: "Strg+O", "Ctrl+O",
// "Umsch+P", "Shift+P", "Alt+F4", "Leer", "Space", "F1", "N", "Umsch+1". Empty when the
// text names no key this program uses.
QKeySequence keySequenceOfShortcutText(std::string_view text);

}  // namespace korvin
