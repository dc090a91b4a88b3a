// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <string_view>

namespace korvin {

// Reads a well-formed XHTML text with libxml2's XML parser, which is several
// times quicker than its tolerant HTML parser, into the very tree the HTML
// parser builds from it: names without namespaces (xmlns and prefixed
// attributes as plain attributes), style and script content as CDATA, the XML
// declaration as a processing instruction, an HTML document node.
//
// Only markup that opens with an XML declaration is tried, and it is given up
// (nullptr: parse it as HTML) wherever the two parsers could read it
// differently: anything not well-formed, a reference to an entity other than
// XML's own five, an internal DTD subset, a CDATA section, a processing
// instruction, a tab or line break within an attribute value (the XML parser
// makes spaces of them), a reference or tag within a style or script, a name
// with a capital letter or a namespace prefix, text outside head and body, an
// element the HTML parser would close before its child (a p in a p, a table
// in a p, a heading in a heading...), content in an element that has none.
// Nothing is fetched; no entity is expanded. The caller owns the result.
class XhtmlReader {
public:
    static xmlDoc* read(std::string_view utf8);
};

}  // namespace korvin
