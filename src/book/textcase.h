// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// Lower-cases ASCII letters and the two-byte UTF-8 forms of the Latin-1 capitals
// (C3 80 to C3 9E, except C3 97, the multiplication sign) in place of the
// originals. Every other byte stays as it is, so the result has the length of
// the input and a position found in the result is the same position in the
// input. The same function serves book lines, search terms and texts, so that
// a term and a text always agree on what "lower case" means.
std::string lowerCase(std::string_view text);

// The same into `out`, reusing its storage (for line-by-line readers).
void lowerCaseInto(std::string_view text, std::string& out);

// The same on a range of bytes in place.
void lowerCaseInPlace(char* text, std::size_t size);

}  // namespace korvin
