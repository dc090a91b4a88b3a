// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// Which kind of book a folder holds, and the file its reading starts from.
enum class BookFormat { kNone, kDaisy202, kDaisy3 };

struct BookStart {
    BookFormat format = BookFormat::kNone;
    // "ncc.html" for a DAISY 2.02 book; the package file's name as it is in
    // the folder ("Book.OPF") for a DAISY 3 book.
    std::string fileName;
};

// The book in `folder` (empty or ending in "/"): a DAISY 2.02 book when the
// folder holds "ncc.html" in any letter case; otherwise a DAISY 3 book when it
// holds exactly one file whose name ends in ".opf" in any letter case (of two
// packages neither is the book's). kNone when it holds neither. A book with
// both files is read as the DAISY 2.02 book it has always been.
BookStart findBookStart(const std::string& folder);

// Whether `name` (a file name or a path) ends in ".opf" in any letter case.
bool isPackageFileName(std::string_view name);

// The book a path names that is given for a book (on the command line): the
// package file itself when the path is one ("books/x/Book.opf"), otherwise
// the book findBookStart() finds in `folder`, the folder the path stands for.
BookStart bookStartOfPath(const std::string& path, const std::string& folder);

}  // namespace korvin
