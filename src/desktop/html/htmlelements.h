#pragma once

#include "desktop/html/htmlstyle.h"

#include <span>
#include <string_view>

namespace korvin {

// What an HTML element is for the text a listener meets: how the text view
// shows it unless a style says otherwise.
struct HtmlElement {
    std::string_view name;  // lower case
    HtmlDisplay display;
    float fontScale;  // relative to the parent
    float marginTop;  // in lines of the element's font
    float marginBottom;
};

// The elements that are more than inline text at the size of their parent,
// sorted by name.
std::span<const HtmlElement> htmlElements();

// The element called `name` (lower case); nullptr for inline text at the size
// of its parent (b, span, a... and every name no one knows).
const HtmlElement* htmlElement(std::string_view name);

}  // namespace korvin
