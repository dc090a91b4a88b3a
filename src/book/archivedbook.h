// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "book/bookformat.h"

namespace korvin {

// Where the one book of a zip archive lies.
struct ArchivedBook {
    enum class Found { kBook, kNone, kSeveral };
    Found found = Found::kNone;
    std::string folder;  // within the archive: empty (its root) or ending in "/"
    BookStart start;     // the book's first file in `folder`, as findBookStart() names it
};

// Whether `path` names a zip archive by its name (".zip" in any letter case).
bool isZipFileName(std::string_view path);

// The book among the file names of an archive (as BookArchive::fileNames()
// gives them). A folder of the archive is a book as a folder on the disk is
// (findBookStart()): it holds "ncc.html" in any letter case, or else exactly
// one "*.opf". kBook when exactly one folder is a book, at the root or at any
// depth; kNone when none is, kSeveral when more are. What macOS adds to an
// archive ("__MACOSX/", "._name") is no part of a book.
ArchivedBook findArchivedBook(const std::vector<std::string>& fileNames);

}  // namespace korvin
