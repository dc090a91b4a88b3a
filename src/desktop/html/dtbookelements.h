// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace korvin {

// How a DTBook element is shown: as the HTML element the text view knows. An
// element that may stand as a block of its own or inside running text (a
// page number, a producer's note) takes the block form among blocks and the
// inline form inside a paragraph, heading or inline element. A renamed
// element keeps its DTBook name as its first class, so that the book's style
// sheet, written for DTBook names, still finds it.
struct DtbookElement {
    std::string_view name;        // the DTBook name
    std::string_view block;       // the HTML name among blocks
    std::string_view inlineName;  // the HTML name inside running text
};

// The DTBook elements that are not shown under their own name, sorted by
// name. h1-h6, p, em, strong, table and the other names HTML shares keep
// theirs, as does every name no one knows.
std::span<const DtbookElement> dtbookElements();

// The element called `name`; nullptr when it keeps its name.
const DtbookElement* dtbookElement(std::string_view name);

// How a list of `type` ol, ul or pl is shown: "ol" or "ul".
std::string_view dtbookListName(std::string_view type);

}  // namespace korvin
