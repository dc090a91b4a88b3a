// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout.h"

#include <algorithm>

#include "platform/controlids.h"

namespace korvin {

std::map<int, Rect> computeLayout(int left, int top, int right, int bottom)
{
    const int W = right;
    const int H = bottom;
    const int T = top;
    const int L = left;
    const int B = (H - H / 2 - 45) / 3 - 15;
    const auto rect = [](int x, int y, int width, int height) {
        return Rect{x, y, std::max(width, 0), std::max(height, 0)};
    };
    return {
        {control::kTextView, rect(W / 3, T + 5, 2 * (W / 3) - 5, H - 10)},
        {control::kHeadingTree, rect(L + 5, T + 5, W / 3 - 15, H / 2)},
        {control::kPlayer, rect(L + 5, T + 5 + H / 2 + 5, W / 3 - 15, 45)},
        {control::kGroupList, rect(L + 5, T + 5 + H / 2 + 55, W / 3 - 15, B)},
        {control::kBookmarkList, rect(L + 5, T + 5 + H / 2 + 45 + B + 15, W / 3 - 15, B)},
        {control::kSearchResultList, rect(L + 5, H - B - 20, W / 3 - 15, B + 10)},
    };
}

}  // namespace korvin
