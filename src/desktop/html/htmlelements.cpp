// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlelements.h"

#include <algorithm>
#include <array>

namespace korvin {
namespace {

using D = HtmlDisplay;

constexpr std::array kElements = {
    HtmlElement{"address", D::Block, 1, 0, 0.5f},
    HtmlElement{"article", D::Block, 1, 0, 0},
    HtmlElement{"aside", D::Block, 1, 0, 0},
    HtmlElement{"base", D::Inline, 1, 0, 0, false, true},
    HtmlElement{"big", D::Inline, 1.17f, 0, 0},
    HtmlElement{"blockquote", D::Block, 1, 0.5f, 0.5f},
    HtmlElement{"body", D::Block, 1, 0, 0},
    HtmlElement{"caption", D::Block, 1, 0, 0.3f},
    HtmlElement{"center", D::Block, 1, 0, 0},
    HtmlElement{"dd", D::Block, 1, 0, 0},
    HtmlElement{"details", D::Block, 1, 0, 0},
    // Shown as the open dialog it is in a book (a closed one has no way to open).
    HtmlElement{"dialog", D::Block, 1, 0, 0},
    HtmlElement{"dir", D::Block, 1, 0, 0.5f},
    HtmlElement{"div", D::Block, 1, 0, 0},
    HtmlElement{"dl", D::Block, 1, 0, 0.5f},
    HtmlElement{"dt", D::Block, 1, 0, 0},
    HtmlElement{"fieldset", D::Block, 1, 0, 0},
    HtmlElement{"figcaption", D::Block, 1, 0, 0},
    HtmlElement{"figure", D::Block, 1, 0.5f, 0.5f},
    HtmlElement{"footer", D::Block, 1, 0, 0},
    HtmlElement{"form", D::Block, 1, 0, 0},
    HtmlElement{"frameset", D::None, 1, 0, 0},
    HtmlElement{"h1", D::Block, 2.0f, 0.5f, 0.35f},
    HtmlElement{"h2", D::Block, 1.5f, 0.5f, 0.35f},
    HtmlElement{"h3", D::Block, 1.17f, 0.5f, 0.35f},
    HtmlElement{"h4", D::Block, 1, 0.5f, 0.35f},
    HtmlElement{"h5", D::Block, 0.83f, 0.5f, 0.35f},
    HtmlElement{"h6", D::Block, 0.67f, 0.5f, 0.35f},
    HtmlElement{"head", D::None, 1, 0, 0},
    HtmlElement{"header", D::Block, 1, 0, 0},
    HtmlElement{"hgroup", D::Block, 1, 0, 0},
    HtmlElement{"hr", D::Block, 1, 0.25f, 0.25f},
    HtmlElement{"html", D::Block, 1, 0, 0},
    HtmlElement{"iframe", D::None, 1, 0, 0},
    HtmlElement{"input", D::None, 1, 0, 0},
    HtmlElement{"legend", D::Block, 1, 0, 0},
    HtmlElement{"li", D::ListItem, 1, 0, 0},
    HtmlElement{"link", D::None, 1, 0, 0, false, true},
    HtmlElement{"listing", D::Block, 1, 0, 0.5f, true},
    HtmlElement{"main", D::Block, 1, 0, 0},
    HtmlElement{"map", D::None, 1, 0, 0},
    HtmlElement{"menu", D::Block, 1, 0, 0.5f},
    HtmlElement{"meta", D::None, 1, 0, 0, false, true},
    HtmlElement{"nav", D::Block, 1, 0, 0},
    HtmlElement{"noframes", D::Block, 1, 0, 0},
    HtmlElement{"noscript", D::Inline, 1, 0, 0, false, true},
    HtmlElement{"object", D::None, 1, 0, 0, false, true},
    HtmlElement{"ol", D::Block, 1, 0, 0.5f},
    HtmlElement{"p", D::Block, 1, 0, 0.5f},
    HtmlElement{"param", D::None, 1, 0, 0},
    HtmlElement{"plaintext", D::Block, 1, 0, 0, true},
    HtmlElement{"pre", D::Block, 1, 0, 0.5f, true},
    HtmlElement{"script", D::None, 1, 0, 0, false, true},
    HtmlElement{"section", D::Block, 1, 0, 0},
    HtmlElement{"select", D::None, 1, 0, 0},
    HtmlElement{"small", D::Inline, 0.83f, 0, 0},
    HtmlElement{"style", D::None, 1, 0, 0, false, true},
    HtmlElement{"sub", D::Inline, 0.83f, 0, 0},
    HtmlElement{"summary", D::Block, 1, 0, 0},
    HtmlElement{"sup", D::Inline, 0.83f, 0, 0},
    HtmlElement{"table", D::Block, 1, 0.25f, 0.5f},
    HtmlElement{"tbody", D::Block, 1, 0, 0},
    HtmlElement{"td", D::TableCell, 1, 0, 0},
    HtmlElement{"template", D::None, 1, 0, 0, false, true},
    HtmlElement{"tfoot", D::Block, 1, 0, 0},
    HtmlElement{"th", D::TableCell, 1, 0, 0},
    HtmlElement{"thead", D::Block, 1, 0, 0},
    HtmlElement{"title", D::None, 1, 0, 0, false, true},
    HtmlElement{"tr", D::TableRow, 1, 0, 0},
    HtmlElement{"ul", D::Block, 1, 0, 0.5f},
    HtmlElement{"xmp", D::Block, 1, 0, 0.5f, true},
};

constexpr bool byName(const HtmlElement& a, const HtmlElement& b)
{
    return a.name < b.name;
}
static_assert(std::is_sorted(kElements.begin(), kElements.end(), byName));

}  // namespace

std::span<const HtmlElement> htmlElements()
{
    return kElements;
}

const HtmlElement* htmlElement(std::string_view name)
{
    const auto found =
        std::lower_bound(kElements.begin(), kElements.end(), name,
                         [](const HtmlElement& element, std::string_view n) { return element.name < n; });
    return found != kElements.end() && found->name == name ? &*found : nullptr;
}

}  // namespace korvin
