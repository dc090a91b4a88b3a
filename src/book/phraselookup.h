// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "book/booktables.h"

namespace korvin {

// Ids are unique within one SMIL file, not within a book: two files of the same
// book may both have a "par_12". A link or a page names its phrase by file and
// id, so both are compared. A file name that no heading of the book has (written
// in another way than the NCC writes it) leaves the id alone to decide, as it
// would without the file.

// The SMIL file of the heading that phrase row `row` belongs to; empty for a
// missing row.
const std::string& smilOfPhrase(const BookTables& tables, int row);

// The first phrase row of the SMIL file `smil` whose `Text-ID` or `par-id`
// equals `id`; -1 when there is none.
int findPhraseRow(const BookTables& tables, std::string_view smil, std::string_view id);

// The first phrase row of the SMIL file `smil` whose `Text-ID` equals `id`
// (its `par-id` is not compared); -1 when there is none.
int findTextIdRow(const BookTables& tables, std::string_view smil, std::string_view id);

// The first page row that begins at phrase row `row`: its `Fragment` equals the
// phrase's `Text-ID` or `par-id`, and its `Smil` names the phrase's SMIL file.
// -1 when there is none.
int findPageRowAt(const BookTables& tables, int row);

}  // namespace korvin
