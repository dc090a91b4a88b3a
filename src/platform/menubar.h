// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace korvin {

// The window's menu bar. The system's code changes the menu model (texts, gray
// and check states) and then asks for a redraw, which shows the model as it is.
class MenuBar {
public:
    virtual ~MenuBar() = default;
    virtual void redraw() = 0;
};

}  // namespace korvin
