// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// Turns the bytes of an HTML file into UTF-8 text.
//
// The character set comes from a byte-order mark, else from the XML declaration,
// else from a <meta> charset in the first few kilobytes. Text declared as (or
// assumed to be) UTF-8 is decoded byte by byte: a byte that does not start a
// valid UTF-8 sequence is read as Windows-1252, so an undeclared Latin-1 file
// and a UTF-8 file with a few stray bytes both come out readable. ISO-8859-1 is
// read as Windows-1252, as browsers do. Any other set goes through iconv; one
// iconv does not know is read as undeclared. Never fails.
class HtmlEncoding {
public:
    // The declared character set in lower case ("utf-8", "windows-1252",
    // "utf-16le"...), empty when the file declares none.
    static std::string declaredCharset(std::string_view bytes);

    // The whole file as UTF-8, without a byte-order mark.
    static std::string toUtf8(std::string_view bytes);

    // 8-bit `bytes` decoded as the character set `charset` (as declaredCharset()
    // names it, "" for none) says, the way toUtf8() decodes a file declaring it.
    static std::string converted(const std::string& charset, std::string_view bytes);

    // `bytes` as UTF-8 where valid, other bytes as Windows-1252.
    static std::string utf8OrWindows1252(std::string_view bytes);

    // Replaces the C1 controls U+0080..U+009F in UTF-8 `text` by the
    // characters Windows-1252 gives their numbers (U+0092 becomes U+2019), as
    // browsers read "&#146;": books written on Windows mean those, never a
    // control. The five numbers Windows-1252 leaves out stay. True when
    // anything changed.
    static bool replaceC1Controls(std::string& text);
};

}  // namespace korvin
