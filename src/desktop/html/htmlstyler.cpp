// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlstyler.h"

#include "desktop/html/htmlelements.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmlstylesheet.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace korvin {
namespace {

struct NamedColor {
    std::string_view name;
    std::uint32_t rgb;
};

constexpr std::array kColors = {
    NamedColor{"aqua", 0x00FFFF},      NamedColor{"black", 0x000000},     NamedColor{"blue", 0x0000FF},
    NamedColor{"brown", 0xA52A2A},     NamedColor{"cyan", 0x00FFFF},      NamedColor{"darkblue", 0x00008B},
    NamedColor{"darkgray", 0xA9A9A9},  NamedColor{"darkgreen", 0x006400}, NamedColor{"darkgrey", 0xA9A9A9},
    NamedColor{"darkred", 0x8B0000},   NamedColor{"fuchsia", 0xFF00FF},   NamedColor{"gold", 0xFFD700},
    NamedColor{"gray", 0x808080},      NamedColor{"green", 0x008000},     NamedColor{"grey", 0x808080},
    NamedColor{"lightblue", 0xADD8E6}, NamedColor{"lightgray", 0xD3D3D3}, NamedColor{"lightgrey", 0xD3D3D3},
    NamedColor{"lightyellow", 0xFFFFE0}, NamedColor{"lime", 0x00FF00},    NamedColor{"magenta", 0xFF00FF},
    NamedColor{"maroon", 0x800000},    NamedColor{"navy", 0x000080},      NamedColor{"olive", 0x808000},
    NamedColor{"orange", 0xFFA500},    NamedColor{"pink", 0xFFC0CB},      NamedColor{"purple", 0x800080},
    NamedColor{"red", 0xFF0000},       NamedColor{"silver", 0xC0C0C0},    NamedColor{"teal", 0x008080},
    NamedColor{"white", 0xFFFFFF},     NamedColor{"yellow", 0xFFFF00},
};

constexpr std::uint32_t kLinkColor = 0x0000EE;

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char ch) {
        return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    });
    return out;
}

int hexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

// A length or percentage as a factor of the parent's font size.
std::optional<float> fontSizeFactor(const std::string& value, float parentScale)
{
    static constexpr std::array<std::pair<std::string_view, float>, 9> kKeywords = {{
        {"xx-small", 0.6f}, {"x-small", 0.75f}, {"small", 0.89f}, {"medium", 1}, {"large", 1.2f},
        {"x-large", 1.5f}, {"xx-large", 2}, {"smaller", 0}, {"larger", 0}}};
    for (const auto& [keyword, scale] : kKeywords) {
        if (value == keyword) {
            if (keyword == "smaller")
                return 1 / 1.2f;
            if (keyword == "larger")
                return 1.2f;
            return scale / parentScale;
        }
    }
    char* end = nullptr;
    const float number = std::strtof(value.c_str(), &end);
    if (end == value.c_str() || number <= 0)
        return std::nullopt;
    const std::string_view unit(end);
    if (unit == "%")
        return number / 100;
    if (unit == "em")
        return number;
    if (unit == "px")
        return number / 16 / parentScale;
    if (unit == "pt")
        return number / 12 / parentScale;
    return std::nullopt;
}

// <font size="1".."7" | "+n" | "-n">.
std::optional<float> fontElementScale(std::string_view size)
{
    static constexpr std::array<float, 7> kScales = {0.63f, 0.82f, 1, 1.13f, 1.5f, 2, 3};
    if (size.empty())
        return std::nullopt;
    const int sign = size.front() == '+' ? 1 : size.front() == '-' ? -1 : 0;
    if (sign != 0)
        size.remove_prefix(1);
    if (size.empty() || size.front() < '0' || size.front() > '9')
        return std::nullopt;
    int number = size.front() - '0';
    if (sign != 0)
        number = 3 + sign * number;
    return kScales[static_cast<std::size_t>(std::clamp(number, 1, 7) - 1)];
}

std::optional<HtmlAlign> alignOf(const std::string& value)
{
    if (value == "left" || value == "start")
        return HtmlAlign::Left;
    if (value == "right" || value == "end")
        return HtmlAlign::Right;
    if (value == "center" || value == "middle")
        return HtmlAlign::Center;
    if (value == "justify")
        return HtmlAlign::Justify;
    return std::nullopt;
}

std::optional<HtmlListStyle> listStyleOf(const std::string& value)
{
    static constexpr std::array<std::pair<std::string_view, HtmlListStyle>, 11> kNames = {{
        {"disc", HtmlListStyle::Disc}, {"circle", HtmlListStyle::Circle}, {"square", HtmlListStyle::Square},
        {"decimal", HtmlListStyle::Decimal}, {"lower-alpha", HtmlListStyle::LowerAlpha},
        {"lower-latin", HtmlListStyle::LowerAlpha}, {"upper-alpha", HtmlListStyle::UpperAlpha},
        {"upper-latin", HtmlListStyle::UpperAlpha}, {"lower-roman", HtmlListStyle::LowerRoman},
        {"upper-roman", HtmlListStyle::UpperRoman}, {"none", HtmlListStyle::None}}};
    // list-style may carry other words (a position, an image) around the type.
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find(' ', start);
        if (end == std::string::npos)
            end = value.size();
        const std::string_view word = std::string_view(value).substr(start, end - start);
        for (const auto& [name, style] : kNames) {
            if (word == name)
                return style;
        }
        start = end + 1;
    }
    return std::nullopt;
}

// The type attribute of ol, ul and li.
std::optional<HtmlListStyle> listTypeAttribute(std::string_view type)
{
    if (type == "1")
        return HtmlListStyle::Decimal;
    if (type == "a")
        return HtmlListStyle::LowerAlpha;
    if (type == "A")
        return HtmlListStyle::UpperAlpha;
    if (type == "i")
        return HtmlListStyle::LowerRoman;
    if (type == "I")
        return HtmlListStyle::UpperRoman;
    if (type == "disc" || type == "DISC")
        return HtmlListStyle::Disc;
    if (type == "circle" || type == "CIRCLE")
        return HtmlListStyle::Circle;
    if (type == "square" || type == "SQUARE")
        return HtmlListStyle::Square;
    return std::nullopt;
}

void applyDeclaration(HtmlStyle& style, const CssDeclaration& declaration, float parentScale)
{
    const std::string& property = declaration.property;
    const std::string value = lower(declaration.value);
    if (property == "color") {
        if (const auto color = HtmlStyler::parseColor(value))
            style.color = color;
    } else if (property == "background-color" || property == "background") {
        if (value.find("transparent") != std::string::npos || value == "none")
            return;
        std::size_t start = 0;
        while (start < value.size()) {
            // The colour of the shorthand is the first word that is one.
            std::size_t end = value.find(' ', start);
            if (value.compare(start, 4, "rgb(") == 0)
                end = value.find(')', start) + 1;
            if (end == 0 || end == std::string::npos)
                end = value.size();
            if (const auto color = HtmlStyler::parseColor(value.substr(start, end - start))) {
                style.background = color;
                return;
            }
            start = end + 1;
        }
    } else if (property == "font-weight") {
        if (value == "bold" || value == "bolder")
            style.bold = true;
        else if (value == "normal" || value == "lighter")
            style.bold = false;
        else if (const int weight = std::atoi(value.c_str()); weight >= 100)
            style.bold = weight >= 600;
    } else if (property == "font-style") {
        if (value == "italic" || value == "oblique")
            style.italic = true;
        else if (value == "normal")
            style.italic = false;
    } else if (property == "text-decoration" || property == "text-decoration-line") {
        if (value.find("none") != std::string::npos) {
            style.underline = style.strikeOut = style.overline = false;
            return;
        }
        const bool underline = value.find("underline") != std::string::npos;
        const bool strikeOut = value.find("line-through") != std::string::npos;
        const bool overline = value.find("overline") != std::string::npos;
        if (underline || strikeOut || overline) {
            style.underline = underline;
            style.strikeOut = strikeOut;
            style.overline = overline;
        }
    } else if (property == "text-align") {
        if (const auto align = alignOf(value))
            style.align = *align;
    } else if (property == "font-size") {
        if (const auto factor = fontSizeFactor(value, parentScale))
            style.fontScale = std::clamp(parentScale * *factor, 0.4f, 6.0f);
    } else if (property == "display") {
        if (value == "none")
            style.display = HtmlDisplay::None;
        else if (value == "block" || value == "table" || value == "flex" || value == "grid"
                 || value == "table-row-group" || value == "table-caption")
            style.display = HtmlDisplay::Block;
        else if (value == "list-item")
            style.display = HtmlDisplay::ListItem;
        else if (value == "table-row")
            style.display = HtmlDisplay::TableRow;
        else if (value == "table-cell")
            style.display = HtmlDisplay::TableCell;
        else if (value == "inline" || value == "inline-block" || value == "inline-flex")
            style.display = HtmlDisplay::Inline;
    } else if (property == "vertical-align") {
        if (value == "super")
            style.verticalAlign = HtmlVerticalAlign::Super;
        else if (value == "sub")
            style.verticalAlign = HtmlVerticalAlign::Sub;
        else if (value == "baseline")
            style.verticalAlign = HtmlVerticalAlign::Baseline;
    } else if (property == "white-space") {
        if (value == "pre" || value == "pre-wrap" || value == "pre-line")
            style.preformatted = true;
        else if (value == "normal" || value == "nowrap")
            style.preformatted = false;
    } else if (property == "list-style-type" || property == "list-style") {
        if (const auto listStyle = listStyleOf(value))
            style.listStyle = *listStyle;
    } else if (property == "font-family") {
        style.monospace = value.find("monospace") != std::string::npos || value.find("courier") != std::string::npos;
    }
}

void applyElementDefaults(HtmlStyle& style, const xmlNode* element, std::string_view name)
{
    const HtmlElement* defaults = htmlElement(name);
    if (defaults) {
        style.display = defaults->display;
        style.fontScale *= defaults->fontScale;
        style.marginTop = defaults->marginTop;
        style.marginBottom = defaults->marginBottom;
    }
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
        style.bold = true;
    } else if (name == "b" || name == "strong" || name == "th" || name == "dt") {
        style.bold = true;
    } else if (name == "i" || name == "em" || name == "cite" || name == "var" || name == "dfn" || name == "address") {
        style.italic = true;
    } else if (name == "u" || name == "ins") {
        style.underline = true;
    } else if (name == "s" || name == "strike" || name == "del") {
        style.strikeOut = true;
    } else if (name == "code" || name == "tt" || name == "kbd" || name == "samp") {
        style.monospace = true;
    } else if (defaults && defaults->preformatted) {
        style.monospace = true;
        style.preformatted = true;
    } else if (name == "sup") {
        style.verticalAlign = HtmlVerticalAlign::Super;
    } else if (name == "sub") {
        style.verticalAlign = HtmlVerticalAlign::Sub;
    } else if (name == "center" || name == "caption") {
        style.align = HtmlAlign::Center;
    } else if (name == "ul" || name == "ol" || name == "dir" || name == "menu" || name == "dd"
               || name == "blockquote") {
        ++style.indent;
        if (name == "ol")
            style.listStyle = HtmlListStyle::Decimal;
        else if (name != "dd" && name != "blockquote")
            style.listStyle = HtmlListStyle::Disc;
    } else if (name == "a" && HtmlNode::hasAttribute(element, "href")) {
        style.color = kLinkColor;
        style.underline = true;
    } else if (name == "font") {
        if (const auto color = HtmlStyler::parseColor(lower(HtmlNode::attribute(element, "color"))))
            style.color = color;
        if (const auto scale = fontElementScale(HtmlNode::attribute(element, "size")))
            style.fontScale *= *scale;
    }
    if (const std::string_view align = HtmlNode::attribute(element, "align"); !align.empty()
        && (style.isBlock() || style.display == HtmlDisplay::TableCell)) {
        if (const auto value = alignOf(lower(align)))
            style.align = *value;
    }
    if (name == "ol" || name == "ul" || name == "li") {
        if (const auto type = listTypeAttribute(HtmlNode::attribute(element, "type")))
            style.listStyle = *type;
    }
    if (HtmlNode::hasAttribute(element, "hidden"))
        style.display = HtmlDisplay::None;
}

// Whether a span styled only by colours in its own style attribute.
bool takeOverlay(HtmlStyle& style, const std::vector<CssDeclaration>& inline_)
{
    std::optional<std::uint32_t> color;
    std::optional<std::uint32_t> background;
    for (const CssDeclaration& declaration : inline_) {
        const auto value = HtmlStyler::parseColor(lower(declaration.value));
        if (!value)
            return false;
        if (declaration.property == "color")
            color = value;
        else if (declaration.property == "background-color" || declaration.property == "background")
            background = value;
        else
            return false;
    }
    if (!color && !background)
        return false;
    style.overlayColor = color;
    style.overlayBackground = background;
    return true;
}

}  // namespace

std::optional<std::uint32_t> HtmlStyler::parseColor(std::string_view text)
{
    std::string value = lower(text);
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    while (!value.empty() && value.front() == ' ')
        value.erase(0, 1);
    if (value.size() == 4 && value[0] == '#') {
        std::uint32_t rgb = 0;
        for (std::size_t i = 1; i < 4; ++i) {
            const int digit = hexValue(value[i]);
            if (digit < 0)
                return std::nullopt;
            rgb = (rgb << 8) | static_cast<std::uint32_t>(digit * 17);
        }
        return rgb;
    }
    if (value.size() == 7 && value[0] == '#') {
        std::uint32_t rgb = 0;
        for (std::size_t i = 1; i < 7; ++i) {
            const int digit = hexValue(value[i]);
            if (digit < 0)
                return std::nullopt;
            rgb = (rgb << 4) | static_cast<std::uint32_t>(digit);
        }
        return rgb;
    }
    if (value.rfind("rgb(", 0) == 0 && value.back() == ')') {
        std::uint32_t rgb = 0;
        const char* at = value.c_str() + 4;
        for (int part = 0; part < 3; ++part) {
            char* end = nullptr;
            float number = std::strtof(at, &end);
            if (end == at)
                return std::nullopt;
            if (*end == '%') {
                number = number * 255 / 100;
                ++end;
            }
            rgb = (rgb << 8) | static_cast<std::uint32_t>(std::clamp(number, 0.0f, 255.0f) + 0.5f);
            while (*end == ' ' || *end == ',')
                ++end;
            at = end;
        }
        return rgb;
    }
    for (const NamedColor& named : kColors) {
        if (named.name == value)
            return named.rgb;
    }
    return std::nullopt;
}

HtmlStyle HtmlStyler::compute(const xmlNode* element, const HtmlStyle& parent) const
{
    HtmlStyle style = parent;
    style.display = HtmlDisplay::Inline;
    style.marginTop = style.marginBottom = 0;
    style.overlayColor.reset();
    style.overlayBackground.reset();
    const std::string_view name = HtmlNode::name(element);
    applyElementDefaults(style, element, name);

    std::vector<const CssDeclaration*>& matched = m_matched;
    matched.clear();
    m_sheet.matchingDeclarations(element, matched);
    const std::string_view attribute = HtmlNode::attribute(element, "style");
    std::vector<CssDeclaration> inline_;
    if (!attribute.empty())
        inline_ = HtmlStyleSheet::parseDeclarations(attribute);

    if (matched.empty() && !inline_.empty() && name == "span" && takeOverlay(style, inline_))
        return style;

    for (const bool important : {false, true}) {
        for (const CssDeclaration* declaration : matched) {
            if (declaration->important == important)
                applyDeclaration(style, *declaration, parent.fontScale);
        }
        for (const CssDeclaration& declaration : inline_) {
            if (declaration.important == important)
                applyDeclaration(style, declaration, parent.fontScale);
        }
    }
    return style;
}

bool HtmlStyler::isMarker(const xmlNode* element) const
{
    const xmlAttr* only = HtmlNode::isElement(element) ? element->properties : nullptr;
    if (!only || only->next || HtmlNode::name(element) != "span"
        || std::string_view(reinterpret_cast<const char*>(only->name)) != "style")
        return false;
    m_matched.clear();
    m_sheet.matchingDeclarations(element, m_matched);
    return m_matched.empty() && isMarkerStyle(HtmlNode::attribute(element, "style"));
}

bool HtmlStyler::isMarkerStyle(std::string_view style)
{
    HtmlStyle unused;
    return takeOverlay(unused, HtmlStyleSheet::parseDeclarations(style));
}

HtmlStyle HtmlStyler::computeFromRoot(const xmlNode* element) const
{
    std::vector<const xmlNode*> chain;
    for (const xmlNode* node = element; HtmlNode::isElement(node); node = node->parent)
        chain.push_back(node);
    HtmlStyle style;
    for (auto node = chain.rbegin(); node != chain.rend(); ++node)
        style = compute(*node, style);
    return style;
}

}  // namespace korvin
