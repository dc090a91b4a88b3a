// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <string>
#include <unordered_map>

namespace korvin {

// Writes nodes as markup in one fixed form, the one the text view reads back:
// tag names in upper case; attributes in source order as name="value" with
// & and " escaped; text with only &, < and > escaped, every other character as
// UTF-8; void elements (BR, IMG...) without an end tag; script and style
// content raw; comments as they are.
//
// The form is stable: markup in this form, parsed and written again, gives the
// same text. An element listed in `kept` is written with its start tag, the
// kept text as its content, and its end tag, instead of its parsed content.
class HtmlSerializer {
public:
    using KeptText = std::unordered_map<const xmlNode*, std::string>;

    explicit HtmlSerializer(const KeptText& kept) : m_kept(kept) {}

    // The content of `parent` (its children and below).
    void appendContent(std::string& out, const xmlNode* parent) const;
    // `node` itself with its content.
    void appendNode(std::string& out, const xmlNode* node) const;

    static void appendStartTag(std::string& out, const xmlNode* element);
    static void appendEndTag(std::string& out, const xmlNode* element);
    static void appendEscapedText(std::string& out, const char* text);

private:
    // Everything up to, not including, the children of `node`; true when its
    // children are to be written.
    bool appendOpening(std::string& out, const xmlNode* node) const;
    void appendClosing(std::string& out, const xmlNode* node) const;

    const KeptText& m_kept;
};

}  // namespace korvin
