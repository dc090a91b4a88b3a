// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// The encoding of an XML file of a book. The scanner works on UTF-8 (and on
// the 8-bit sets, whose markup is ASCII as well); the texts a reader keeps are
// decoded with documentCodePage().

// The document as the scanner reads it: a UTF-8 byte order mark taken off; a
// document in UTF-16 (found by its byte order mark, or by "<" as its first
// character) converted to UTF-8 in `storage`, unpaired surrogates becoming
// U+FFFD. The view points into `bytes` or `storage`.
std::string_view utf8Document(std::string_view bytes, std::string& storage);

// The value of the encoding in the XML declaration that opens `document`;
// empty when there is none.
std::string_view declaredEncoding(std::string_view document);

// The code page of the charset table for the texts of the file `bytes` (as
// read, before utf8Document()): 65001 (UTF-8) for a file with a byte order
// mark or in UTF-16, whatever it declares (utf8Document() makes it UTF-8);
// else that of the encoding its declaration names, 65001 without one and for
// UTF-8; 0 for a name the table does not know.
int documentCodePage(std::string_view bytes);

}  // namespace korvin
