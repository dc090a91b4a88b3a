// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string_view>

namespace korvin {

// A DAISY 3 text (DTBook XML) read as the HTML the text view shows.
//
// The bytes are parsed by libxml2's XML parser as untrusted input: nothing is
// fetched from the network, no external DTD or entity is read, and entities
// the document declares itself are not declared at all, so that a reference
// to one reads as nothing rather than as a file or a billion words. Broken
// XML is read as far as the parser can make sense of it.
//
// The tree is then turned into HTML in place (dtbookElements): names lose
// their namespace and take their HTML form, a renamed element keeps its
// DTBook name as its first class, ids and the other attributes stay. A
// <?xml-stylesheet?> instruction becomes a <link rel="stylesheet"> in the
// head; a noteref or annoref a link to its note; an image shows its alt text
// after it, both inside a span that takes over its id.
class DtbookDocument {
public:
    struct XmlDocFree {
        void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
    };
    using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

    // Whether the first element of the XML is <dtbook> (in any namespace).
    // Only the prolog is read.
    static bool recognizes(std::string_view bytes);

    // The document as HTML with an html root; nullptr when nothing could be
    // parsed. Names are never shared with a dictionary.
    static XmlDocPtr toHtml(std::string_view bytes);

    // The sheet of defaults given before the book's own, in DTBook names.
    static std::string_view defaultStyleSheet();
};

}  // namespace korvin
