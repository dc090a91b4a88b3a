// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/dtbookelements.h"

#include <algorithm>
#include <array>

namespace korvin {
namespace {

// hd becomes the heading of its level's depth, and a list ol or ul, where the
// document is turned into HTML; here they have their forms elsewhere.
constexpr std::array kElements = {
    DtbookElement{"annoref", "a", "a"},
    DtbookElement{"annotation", "div", "span"},
    DtbookElement{"author", "p", "span"},
    DtbookElement{"bodymatter", "div", "div"},
    DtbookElement{"book", "body", "body"},
    DtbookElement{"bridgehead", "p", "span"},
    DtbookElement{"byline", "p", "span"},
    DtbookElement{"covertitle", "p", "span"},
    DtbookElement{"dateline", "p", "span"},
    DtbookElement{"docauthor", "p", "span"},
    DtbookElement{"doctitle", "p", "span"},
    DtbookElement{"dtbook", "html", "html"},
    DtbookElement{"epigraph", "blockquote", "span"},
    DtbookElement{"frontmatter", "div", "div"},
    DtbookElement{"hd", "p", "span"},
    DtbookElement{"imggroup", "div", "span"},
    DtbookElement{"level", "div", "div"},
    DtbookElement{"level1", "div", "div"},
    DtbookElement{"level2", "div", "div"},
    DtbookElement{"level3", "div", "div"},
    DtbookElement{"level4", "div", "div"},
    DtbookElement{"level5", "div", "div"},
    DtbookElement{"level6", "div", "div"},
    DtbookElement{"levelhd", "p", "span"},
    DtbookElement{"lic", "span", "span"},
    DtbookElement{"line", "div", "span"},
    DtbookElement{"linegroup", "div", "span"},
    DtbookElement{"linenum", "span", "span"},
    DtbookElement{"list", "ul", "ul"},
    DtbookElement{"note", "div", "span"},
    DtbookElement{"noteref", "a", "a"},
    DtbookElement{"pagenum", "div", "span"},
    DtbookElement{"poem", "div", "span"},
    DtbookElement{"prodnote", "div", "span"},
    DtbookElement{"rearmatter", "div", "div"},
    DtbookElement{"sent", "span", "span"},
    DtbookElement{"sidebar", "div", "span"},
    // In the body a title is a book's named in the text, never the hidden
    // title of a head.
    DtbookElement{"title", "p", "span"},
    DtbookElement{"w", "span", "span"},
};

constexpr bool byName(const DtbookElement& a, const DtbookElement& b)
{
    return a.name < b.name;
}
static_assert(std::is_sorted(kElements.begin(), kElements.end(), byName));

}  // namespace

std::span<const DtbookElement> dtbookElements()
{
    return kElements;
}

const DtbookElement* dtbookElement(std::string_view name)
{
    const auto found =
        std::lower_bound(kElements.begin(), kElements.end(), name,
                         [](const DtbookElement& element, std::string_view n) { return element.name < n; });
    return found != kElements.end() && found->name == name ? &*found : nullptr;
}

std::string_view dtbookListName(std::string_view type)
{
    return type == "ol" ? "ol" : "ul";
}

}  // namespace korvin
