// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/bookarchives.h"

namespace korvin {

// The title of a book as a list of books shows it. `place` is a book folder
// or a zip file holding one book (see BookLocator). A DAISY 2.02 book's title
// is the text of the first heading of its "ncc.html" (found in any letter
// case), read by the reader's title rule and decoded with the book's
// character set; a DAISY 3 book's is the dc:Title of its package file.
// Empty when the book names no title; nullopt when the place holds no book
// or its first file cannot be read. Unpacks nothing.
std::optional<std::string> scanTitle(const std::string& place, const BookArchives& archives);

}  // namespace korvin
