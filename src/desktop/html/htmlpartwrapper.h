// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <optional>
#include <string_view>

namespace korvin {

// A span set around the whole content of an element that holds only parts of
// itself — a table (rows), a row (cells), a list (items) — would be moved by the
// parser out of the way or left where nothing inline may stand, and the text
// would show unmarked. Such markup is split here: the content is parsed alone,
// and a copy of the span goes around the content of every cell or item.
class HtmlPartWrapper {
public:
    // Whether `element` holds only parts (table, thead, tbody, tfoot, tr, ul,
    // ol, dir, menu, dl).
    static bool holdsOnlyParts(const xmlNode* element);

    struct Split {
        std::string_view open;   // "<span ...>"
        std::string_view inner;  // what the span encloses
    };
    // `markup` as a span start tag, content and the span's end tag at its very
    // end; nullopt when it is not one span around everything.
    static std::optional<Split> split(std::string_view markup);

    // Puts a copy of `wrapper` (its attributes, not its children) around the
    // content of each part below `element`, and around text standing directly
    // in a part holder.
    static void spread(xmlDoc* doc, const xmlNode* wrapper, xmlNode* element);
};

}  // namespace korvin
