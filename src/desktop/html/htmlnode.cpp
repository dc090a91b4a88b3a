// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlnode.h"

#include <libxml/HTMLparser.h>

#include <vector>

namespace korvin {
namespace {

// Asked for every attribute of every element a long text shows: compared in
// place, without measuring the name first.
bool isNamed(const xmlAttr* attribute, std::string_view name)
{
    const xmlChar* own = attribute->name;
    for (const char wanted : name) {
        if (*own++ != static_cast<xmlChar>(wanted))
            return false;
    }
    return *own == '\0';
}

}  // namespace

std::string_view HtmlNode::name(const xmlNode* node)
{
    return node && node->name ? std::string_view(reinterpret_cast<const char*>(node->name)) : std::string_view();
}

bool HtmlNode::isVoid(const xmlNode* element)
{
    if (!isElement(element))
        return false;
    const htmlElemDesc* description = htmlTagLookup(element->name);
    return description && description->empty;
}

bool HtmlNode::isVoidName(std::string_view name)
{
    const std::string terminated(name);
    const htmlElemDesc* description = htmlTagLookup(reinterpret_cast<const xmlChar*>(terminated.c_str()));
    return description && description->empty;
}

std::string_view HtmlNode::attribute(const xmlNode* element, std::string_view name)
{
    if (!isElement(element))
        return {};
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (!isNamed(attribute, name))
            continue;
        // The HTML parser leaves a value as one text child.
        const xmlNode* value = attribute->children;
        if (value && value->type == XML_TEXT_NODE && value->content && !value->next)
            return reinterpret_cast<const char*>(value->content);
        return {};
    }
    return {};
}

bool HtmlNode::hasAttribute(const xmlNode* element, std::string_view name)
{
    if (!isElement(element))
        return false;
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (isNamed(attribute, name))
            return true;
    }
    return false;
}

xmlNode* HtmlNode::next(const xmlNode* root, const xmlNode* node, bool skipChildren)
{
    if (!skipChildren && node->children && node->type != XML_ENTITY_REF_NODE)
        return node->children;
    while (node && node != root) {
        if (node->next)
            return node->next;
        node = node->parent;
    }
    return nullptr;
}

bool HtmlNode::precedes(const xmlNode* a, const xmlNode* b)
{
    std::vector<const xmlNode*> pathA;
    std::vector<const xmlNode*> pathB;
    for (const xmlNode* n = a; n; n = n->parent)
        pathA.push_back(n);
    for (const xmlNode* n = b; n; n = n->parent)
        pathB.push_back(n);
    auto ia = pathA.rbegin();
    auto ib = pathB.rbegin();
    while (ia != pathA.rend() && ib != pathB.rend() && *ia == *ib)
        ++ia, ++ib;
    if (ia == pathA.rend())
        return ib != pathB.rend();  // a contains b
    if (ib == pathB.rend())
        return false;
    for (const xmlNode* sibling = (*ia)->next; sibling; sibling = sibling->next) {
        if (sibling == *ib)
            return true;
    }
    return false;
}

bool HtmlNode::contains(const xmlNode* ancestor, const xmlNode* node)
{
    for (const xmlNode* up = node ? node->parent : nullptr; up; up = up->parent) {
        if (up == ancestor)
            return true;
    }
    return false;
}

}  // namespace korvin
