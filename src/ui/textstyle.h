// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace korvin {

// How the text view marks the current phrase and the search term.
struct TextStyle {
    bool background = false;
    bool italic = false;
    bool bold = false;
    bool textColour = false;
    std::string colour;  // "#rrggbb"; shared by the background and text-colour styles
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

}  // namespace korvin
