// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>

namespace korvin {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Where the window's visible controls go for a client rectangle with left edge
// L, top T, right edge W and bottom edge H: the text view on the right two
// thirds, the tree, player and three lists stacked on the left. Keyed by control
// id. Integer divisions throughout; sizes below zero are clamped to zero.
std::map<int, Rect> computeLayout(int left, int top, int right, int bottom);

}  // namespace korvin
