// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/htmlstyle.h"

#include <libxml/tree.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvin {

class HtmlStyleSheet;
struct CssDeclaration;

// Works out the style of elements: the defaults of each element (headings,
// lists, b, i, pre, links...), presentational attributes (align, <font color
// size>), then the sheet's matching rules and the style attribute.
//
// Understood properties: color, background-color (and the colour of
// background), font-weight, font-style, text-decoration, text-align,
// font-size, display, vertical-align, white-space and a monospace
// font-family. Others, and values that do not parse, are passed over.
class HtmlStyler {
public:
    // `sheet` must outlive the styler.
    explicit HtmlStyler(const HtmlStyleSheet& sheet) : m_sheet(sheet) {}

    // The style of `element`, whose parent has the style `parent`.
    HtmlStyle compute(const xmlNode* element, const HtmlStyle& parent) const;
    // The style of `element` worked out from the root down.
    HtmlStyle computeFromRoot(const xmlNode* element) const;

    // Whether `element` is a marker: a span whose only attribute is a style
    // of colours alone (isMarkerStyle), which no rule of the sheet matches.
    // Its text looks as it would without it, but for the colours painted
    // over it (HtmlStyle::isOverlay).
    bool isMarker(const xmlNode* element) const;
    static bool isMarkerStyle(std::string_view style);

    // #rgb, #rrggbb, rgb(r, g, b) with numbers or percentages, and colour names.
    static std::optional<std::uint32_t> parseColor(std::string_view text);

private:
    const HtmlStyleSheet& m_sheet;
    mutable std::vector<const CssDeclaration*> m_matched;  // of one compute()
};

}  // namespace korvin
