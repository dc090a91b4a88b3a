// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace korvin {

// Small questions asked of libxml2's nodes in many places. Names of elements and
// attributes are lower case, as the HTML parser leaves them.
class HtmlNode {
public:
    static bool isElement(const xmlNode* node) { return node && node->type == XML_ELEMENT_NODE; }
    static std::string_view name(const xmlNode* node);
    // Whether an element of this name never has content (br, img, hr...).
    static bool isVoid(const xmlNode* element);
    static bool isVoidName(std::string_view name);

    // The attribute's value; empty when missing or without a value.
    static std::string_view attribute(const xmlNode* element, std::string_view name);
    static bool hasAttribute(const xmlNode* element, std::string_view name);

    // Document-order walk of the subtree below `root` (root itself excluded):
    // the node after `node`, or nullptr when the subtree is done. With
    // `skipChildren` the children of `node` are passed over.
    static xmlNode* next(const xmlNode* root, const xmlNode* node, bool skipChildren = false);

    // Whether `a` comes before `b` in document order (an ancestor comes before
    // what it contains).
    static bool precedes(const xmlNode* a, const xmlNode* b);

    // Whether `ancestor` contains `node` (a node does not contain itself).
    static bool contains(const xmlNode* ancestor, const xmlNode* node);
};

}  // namespace korvin
