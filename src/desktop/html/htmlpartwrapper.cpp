// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlpartwrapper.h"

#include "desktop/html/htmlnode.h"

#include <array>
#include <vector>

namespace korvin {
namespace {

char lowerAscii(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerAscii(text[at + i]) != prefix[i])
            return false;
    }
    return true;
}

bool endsTagName(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return false;
    const char ch = text[at];
    return ch == '>' || ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '/';
}

// Where the start tag at `at` ends (after its '>'), quotes respected; npos when it does not.
std::size_t endOfTag(std::string_view markup, std::size_t at)
{
    char quote = 0;
    for (std::size_t i = at + 1; i < markup.size(); ++i) {
        const char ch = markup[i];
        if (quote) {
            if (ch == quote)
                quote = 0;
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
        } else if (ch == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

bool isBlank(const xmlNode* text)
{
    for (const xmlChar* c = text->content; c && *c; ++c) {
        if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r' && *c != '\f')
            return false;
    }
    return true;
}

// Puts a copy of `wrapper` around the siblings `first` to `last`.
void wrapChildren(xmlDoc* doc, const xmlNode* wrapper, xmlNode* first, xmlNode* last)
{
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(wrapper), doc, 2);
    if (!copy)
        return;
    xmlAddPrevSibling(first, copy);
    for (xmlNode* node = first; node;) {
        xmlNode* next = node == last ? nullptr : node->next;
        xmlUnlinkNode(node);
        xmlAddChild(copy, node);
        node = next;
    }
}

}  // namespace

bool HtmlPartWrapper::holdsOnlyParts(const xmlNode* element)
{
    static constexpr std::array<std::string_view, 10> kHolders = {"table", "thead", "tbody", "tfoot", "tr",
                                                                  "ul",    "ol",    "dir",   "menu",  "dl"};
    if (!HtmlNode::isElement(element))
        return false;
    const std::string_view name = HtmlNode::name(element);
    for (const std::string_view holder : kHolders) {
        if (name == holder)
            return true;
    }
    return false;
}

std::optional<HtmlPartWrapper::Split> HtmlPartWrapper::split(std::string_view markup)
{
    constexpr std::string_view kClose = "</span>";
    if (!startsWithNoCase(markup, 0, "<span") || !endsTagName(markup, 5))
        return std::nullopt;
    const std::size_t openEnd = endOfTag(markup, 0);
    if (openEnd == std::string_view::npos || markup.size() - openEnd < kClose.size() ||
        !startsWithNoCase(markup, markup.size() - kClose.size(), kClose))
        return std::nullopt;
    const std::string_view inner = markup.substr(openEnd, markup.size() - kClose.size() - openEnd);
    // The last end tag must close the first start tag, not one opened inside.
    int depth = 0;
    for (std::size_t at = inner.find('<'); at != std::string_view::npos; at = inner.find('<', at + 1)) {
        if (startsWithNoCase(inner, at, "<span") && endsTagName(inner, at + 5))
            ++depth;
        else if (startsWithNoCase(inner, at, "</span") && endsTagName(inner, at + 6) && --depth < 0)
            return std::nullopt;
    }
    return Split{markup.substr(0, openEnd), inner};
}

void HtmlPartWrapper::spread(xmlDoc* doc, const xmlNode* wrapper, xmlNode* element)
{
    // A worklist, not recursion: tag soup nests tables thousands deep.
    std::vector<xmlNode*> pending{element};
    while (!pending.empty()) {
        xmlNode* node = pending.back();
        pending.pop_back();
        if (!holdsOnlyParts(node)) {
            if (node->children)
                wrapChildren(doc, wrapper, node->children, node->last);
            continue;
        }
        for (xmlNode* child = node->children; child;) {
            xmlNode* next = child->next;
            if (HtmlNode::isElement(child) && !HtmlNode::isVoid(child))
                pending.push_back(child);
            else if (child->type == XML_TEXT_NODE && !isBlank(child))
                wrapChildren(doc, wrapper, child, child);
            child = next;
        }
    }
}

}  // namespace korvin
