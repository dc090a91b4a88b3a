// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/htmlstyle.h"

#include <span>
#include <string_view>

namespace korvin {

// What an HTML element is for the text a listener meets: how the text view
// shows it unless a style says otherwise, and so how the search reads it. The
// view's styler and the search's text both ask here, so that a word is found
// where it is shown and nowhere else: a block parts lines in both, a hidden
// element is neither shown nor searched, with all it holds.
struct HtmlElement {
    std::string_view name;  // lower case
    HtmlDisplay display;
    float fontScale;  // relative to the parent
    float marginTop;  // in lines of the element's font
    float marginBottom;
    bool preformatted = false;  // its white space and lines are kept
    bool headContent = false;   // may stand in the head without ending it
};

// The elements that are more than inline text at the size of their parent,
// sorted by name.
std::span<const HtmlElement> htmlElements();

// The element called `name` (lower case); nullptr for inline text at the size
// of its parent (b, span, a... and every name no one knows).
const HtmlElement* htmlElement(std::string_view name);

}  // namespace korvin
