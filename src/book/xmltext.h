// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "book/textdecoder.h"

namespace korvin {

// The text of an XML document as a reader wants it.

// Appends `raw` (text or an attribute value as written) to `out` with the five
// predefined entities (&lt; &gt; &amp; &quot; &apos;) and character
// references (&#38; &#x26;) replaced by their characters. A reference to any
// other entity is kept as written: nothing a book declares is ever expanded.
// A character reference to no character (0, a surrogate, beyond U+10FFFF)
// becomes U+FFFD.
void appendXmlText(std::string_view raw, std::string& out);
std::string xmlText(std::string_view raw);

// `raw` decoded as above into `out`, which is replaced; without a "&" in it
// a plain copy.
void assignXmlText(std::string_view raw, std::string& out);

// White space (space, tab, CR, LF) taken off both ends and every run of it
// inside made one space: "  Chapter\n  One\n" gives "Chapter One". Labels in
// navigation files are indented and broken over lines as the producer's tool
// wrote them.
std::string collapseWhiteSpace(std::string text);

// `text` of a book file whose code page is `decoder`'s as UTF-8: valid UTF-8
// of a file in UTF-8 (the rule) as it is, anything else through the decoder.
std::string bookText(std::string text, TextDecoder& decoder);

// An attribute value that names a file or an element (`raw` as written) as
// UTF-8, references decoded: the bytes of a file in an 8-bit code page are
// converted first, so that a name with letters beyond ASCII matches the same
// name written by a file in another encoding (and the name on the disk); a
// file in UTF-8 keeps its bytes as they are.
std::string nameText(std::string_view raw, TextDecoder& decoder);

// Whether every byte of `text` is ASCII.
bool isAscii(std::string_view text);

// White space taken off both ends only.
std::string_view trimWhiteSpace(std::string_view text);

// The next word of a list of names separated by white space ("note list"),
// from `at`, which moves past it; empty after the last.
std::string_view nextWord(std::string_view list, std::size_t& at);

// Whether two names are the same without regard to the case of ASCII letters
// ("dc:Title" and "dc:title": books write both).
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace korvin
