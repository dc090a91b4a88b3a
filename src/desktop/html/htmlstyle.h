// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace korvin {

enum class HtmlDisplay : std::uint8_t { Inline, Block, ListItem, TableRow, TableCell, None };
enum class HtmlAlign : std::uint8_t { Start, Left, Center, Right, Justify };
enum class HtmlVerticalAlign : std::uint8_t { Baseline, Super, Sub };
enum class HtmlListStyle : std::uint8_t {
    Disc, Circle, Square, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, None
};

// How one element is shown: what the text view takes from the defaults of the
// element, its presentational attributes, the style sheets and its style
// attribute. Colours are 0xRRGGBB.
struct HtmlStyle {
    // The element's own.
    HtmlDisplay display = HtmlDisplay::Inline;
    float marginTop = 0;  // in lines of the element's font
    float marginBottom = 0;
    // A span whose only styling is a text or background colour of its own
    // style attribute (the look of a marker put around text) leaves the text's
    // formats alone: its colours are painted over its range instead.
    std::optional<std::uint32_t> overlayColor;
    std::optional<std::uint32_t> overlayBackground;

    // Passed on to the content.
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool overline = false;
    bool monospace = false;
    bool preformatted = false;
    HtmlVerticalAlign verticalAlign = HtmlVerticalAlign::Baseline;
    HtmlAlign align = HtmlAlign::Start;
    float fontScale = 1;  // of the view's font
    std::optional<std::uint32_t> color;
    std::optional<std::uint32_t> background;
    int indent = 0;  // levels of lists, quotations and definitions
    HtmlListStyle listStyle = HtmlListStyle::Disc;

    bool isOverlay() const { return overlayColor.has_value() || overlayBackground.has_value(); }
    bool isBlock() const
    {
        return display == HtmlDisplay::Block || display == HtmlDisplay::ListItem
               || display == HtmlDisplay::TableRow;
    }
};

}  // namespace korvin
