// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A libxml2 tree written out as text, one line a node, with everything of it
// the document, the renderer and the serializer read: node types and names,
// namespaces, attributes in order with their values, content character for
// character (line ends included), the DTD. Two trees that dump alike are the
// same to the text view. Shared by the fuzz target and the unit tests that
// hold the XHTML reader to the HTML parser's trees.

#include <libxml/tree.h>

#include <string>

namespace korvin::xmltreedump {

inline std::string text(const xmlChar* value)
{
    return value ? reinterpret_cast<const char*>(value) : "-";
}

inline void dump(const xmlNode* node, std::string& out)
{
    for (; node; node = node->next) {
        out += std::to_string(node->type) + ' ' + text(node->name);
        if (node->ns)
            out += " ns=" + text(node->ns->prefix) + ',' + text(node->ns->href);
        if (node->nsDef)
            out += " nsDef";
        if (node->type == XML_DTD_NODE) {
            const auto* dtd = reinterpret_cast<const xmlDtd*>(node);
            out += ' ' + text(dtd->ExternalID) + ' ' + text(dtd->SystemID);
        } else if (node->type != XML_ELEMENT_NODE) {
            out += " [" + text(node->content) + ']';
        }
        for (const xmlAttr* a = node->type == XML_ELEMENT_NODE ? node->properties : nullptr; a; a = a->next) {
            out += " @" + text(a->name) + (a->ns ? "(ns)" : "") + '=';
            for (const xmlNode* value = a->children; value; value = value->next)
                out += std::to_string(value->type) + '[' + text(value->content) + ']';
        }
        out += '\n';
        if (node->type == XML_ELEMENT_NODE)
            dump(node->children, out);
    }
}

inline std::string dumped(const xmlDoc* doc)
{
    std::string out = std::to_string(doc->type) + (doc->intSubset ? " DTD\n" : "\n");
    dump(doc->children, out);
    return out;
}

}  // namespace korvin::xmltreedump
