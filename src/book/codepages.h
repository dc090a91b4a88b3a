// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace korvin {

// Windows code page numbers, as the charset table of a book names them, and
// the iconv encodings behind them.

// The code page a charset meta line names; 0 when no known name is in the
// line or none of its code pages can be converted here. The whole line is
// searched without regard to letter case, so a name anywhere in it counts.
int codePageFromCharsetLine(std::string_view line);

// The iconv name of a Windows code page number; empty for numbers outside
// the charset table (0 included).
std::string_view iconvName(int codePage);

// Whether iconv can convert from the code page to UTF-8 on this system.
// Opens a converter to find out; nothing is remembered.
bool isCodePageAvailable(int codePage);

}  // namespace korvin
