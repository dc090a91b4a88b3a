// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvin {

// The text of a piece of HTML markup as a reader meets it: what stands
// between the tags, outside comments and the content of script and style
// elements, with character references ("&amp;", "&lt;", "&#228;") decoded, a
// no-break space read as a space and a soft hyphen as nothing, as the search
// reads a document.
class MarkupText {
public:
    // A part of the markup, [begin, end).
    struct Range {
        std::size_t begin = 0;
        std::size_t end = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };

    // The places of `term` (lower-cased) in the lower-cased text of `markup`,
    // as parts of the markup that hold whole characters and references and
    // lie within one stretch of text between two tags, so that markup put
    // around each leaves the document as it was. Occurrences do not overlap,
    // and one that begins right after the previous one is passed over.
    static std::vector<Range> find(std::string_view markup, std::string_view term);

    // The text of `markup` that holds no tags: references decoded.
    static std::string decode(std::string_view markup);
};

}  // namespace korvin
