// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace korvin {

// Brings the content of an element in line with new markup that is its old
// markup with marker spans put in or taken out around text, without parsing
// the new markup: a search term marked all through a long text (and unmarked
// again) would otherwise have the whole text parsed and built anew.
//
// A marker span is <span style="..."> with no other attribute, the value in
// double quotes without references, holding text alone, closed by </span>
// in any letter case. The edit is taken only where parsing the new markup
// would give just the old content with those spans: the old markup must read
// as the content it came from (as HtmlSerializer writes it, or kept markup of
// that form), and each change must fall within text standing in an element
// that holds inline content (p, a, li, td, h1, div...). Otherwise nothing is
// changed and the caller parses the markup.
class HtmlMarkerEdit {
public:
    using IsMarker = std::function<bool(const xmlNode*)>;

    struct Result {
        // Spans taken out (and those made anew), unlinked: the caller frees them.
        std::vector<xmlNode*> removed;
        // Spans put in.
        std::vector<xmlNode*> added;
        // Whether every span taken out or put in passes `isMarker`.
        bool onlyMarkers = true;
    };

    // `old` is the markup the content of `element` reads as now, `markup` the
    // new one. New nodes belong to `doc`. `isMarker` is asked about spans in
    // place.
    static std::optional<Result> apply(xmlDoc* doc, xmlNode* element, std::string_view old, std::string_view markup,
                                       const IsMarker& isMarker);
};

}  // namespace korvin
