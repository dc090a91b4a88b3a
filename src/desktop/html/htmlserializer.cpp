// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlserializer.h"

#include "desktop/html/htmlnode.h"

#include <cstring>

namespace korvin {
namespace {

void appendUpper(std::string& out, const xmlChar* name)
{
    for (const xmlChar* c = name; c && *c; ++c) {
        const char ch = static_cast<char>(*c);
        out += ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
    }
}

void appendEscapedAttribute(std::string& out, const xmlAttr* attribute)
{
    for (const xmlNode* part = attribute->children; part; part = part->next) {
        if (part->type == XML_ENTITY_REF_NODE) {
            out += '&';
            out += reinterpret_cast<const char*>(part->name);
            out += ';';
            continue;
        }
        for (const xmlChar* c = part->content; c && *c; ++c) {
            if (*c == '&')
                out += "&amp;";
            else if (*c == '"')
                out += "&quot;";
            else
                out += static_cast<char>(*c);
        }
    }
}

bool isRawTextParent(const xmlNode* node)
{
    const std::string_view parent = HtmlNode::name(node->parent);
    return parent == "script" || parent == "style";
}

}  // namespace

void HtmlSerializer::appendStartTag(std::string& out, const xmlNode* element)
{
    out += '<';
    appendUpper(out, element->name);
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        out += ' ';
        out += reinterpret_cast<const char*>(attribute->name);
        if (attribute->children) {
            out += "=\"";
            appendEscapedAttribute(out, attribute);
            out += '"';
        }
    }
    out += '>';
}

void HtmlSerializer::appendEndTag(std::string& out, const xmlNode* element)
{
    out += "</";
    appendUpper(out, element->name);
    out += '>';
}

void HtmlSerializer::appendEscapedText(std::string& out, const char* text)
{
    const char* run = text;
    for (const char* c = text; *c; ++c) {
        const char* replacement = nullptr;
        switch (*c) {
        case '&': replacement = "&amp;"; break;
        case '<': replacement = "&lt;"; break;
        case '>': replacement = "&gt;"; break;
        default: continue;
        }
        out.append(run, c);
        out += replacement;
        run = c + 1;
    }
    out.append(run);
}

bool HtmlSerializer::appendOpening(std::string& out, const xmlNode* node) const
{
    switch (node->type) {
    case XML_ELEMENT_NODE: {
        appendStartTag(out, node);
        if (!m_kept.empty()) {
            const auto kept = m_kept.find(node);
            if (kept != m_kept.end()) {
                out += kept->second;
                return false;
            }
        }
        return !HtmlNode::isVoid(node);
    }
    case XML_TEXT_NODE:
        if (node->content) {
            if (isRawTextParent(node))
                out += reinterpret_cast<const char*>(node->content);
            else
                appendEscapedText(out, reinterpret_cast<const char*>(node->content));
        }
        return false;
    case XML_CDATA_SECTION_NODE:
        if (node->content)
            out += reinterpret_cast<const char*>(node->content);
        return false;
    case XML_COMMENT_NODE:
        out += "<!--";
        if (node->content)
            out += reinterpret_cast<const char*>(node->content);
        out += "-->";
        return false;
    case XML_ENTITY_REF_NODE:
        out += '&';
        out += reinterpret_cast<const char*>(node->name);
        out += ';';
        return false;
    case XML_PI_NODE:
        out += "<?";
        out += reinterpret_cast<const char*>(node->name);
        if (node->content && *node->content) {
            out += ' ';
            out += reinterpret_cast<const char*>(node->content);
        }
        out += '>';
        return false;
    default:
        return false;
    }
}

void HtmlSerializer::appendClosing(std::string& out, const xmlNode* node) const
{
    if (node->type == XML_ELEMENT_NODE && !HtmlNode::isVoid(node))
        appendEndTag(out, node);
}

void HtmlSerializer::appendNode(std::string& out, const xmlNode* node) const
{
    if (!appendOpening(out, node)) {
        appendClosing(out, node);
        return;
    }
    appendContent(out, node);
    appendClosing(out, node);
}

void HtmlSerializer::appendContent(std::string& out, const xmlNode* parent) const
{
    if (parent->type == XML_ELEMENT_NODE && !m_kept.empty()) {
        const auto kept = m_kept.find(parent);
        if (kept != m_kept.end()) {
            out += kept->second;
            return;
        }
    }
    // Iterative, so that deeply nested tag soup cannot exhaust the stack.
    const xmlNode* node = parent->children;
    while (node) {
        if (appendOpening(out, node) && node->children) {
            node = node->children;
            continue;
        }
        appendClosing(out, node);
        while (node != parent && !node->next) {
            node = node->parent;
            if (node != parent)
                appendClosing(out, node);
        }
        node = node == parent ? nullptr : node->next;
    }
}

}  // namespace korvin
