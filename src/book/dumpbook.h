// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "book/booklocator.h"
#include "book/booktables.h"
#include "platform/bookarchives.h"

namespace korvin {

// What a dump that fails writes.
struct DumpFailureTexts {
    std::string notRead;  // the book's NCC or package file cannot be read
    // Why a zip file is not taken; `notRead` when not set.
    std::function<std::string(BookLocator::Fault)> zipFault;
};

// `korvin --dump-book BOOK`: reads the book with the reader the window uses and
// prints its tables as text, for checking a book without a window.
//
// BOOK is a book folder, the path of its "ncc.html" (in any letter case) or
// of a DAISY 3 book's package file (*.opf), or a zip file holding one book,
// read through `archives`; the book folder is derived as
// bookFolderFromArgument() says, a zipped book's is its folder within the
// archive below the archive's unpack folder. Returns 0 when the book was
// read; otherwise writes the failure's text and a line end to `err` and
// returns 2.
int dumpBook(const std::string& bookArgument, std::ostream& out, std::ostream& err, const BookArchives& archives,
             const DumpFailureTexts& texts);
// The same without zip files: a zip file counts as a book that cannot be read.
int dumpBook(const std::string& bookArgument, std::ostream& out, std::ostream& err, const std::string& failureMessage);

// The book folder of a --dump-book argument: a folder as given, or the folder
// of a file named "ncc.html" or "*.opf" in any letter case; "/" added when
// missing ("./" for an "ncc.html" without a folder).
std::string bookFolderFromArgument(const std::string& bookArgument);

// The dump of what a reading produced. Sections [book], [headings], [phrases],
// [pages], [groups], [tree]; cells separated by TAB; "\", TAB, CR and LF in
// values written as \\, \t, \r, \n; tree items depth first, an item before its
// children, as depth, item data and text.
void writeBookDump(std::ostream& out, const BookTables& tables, const BookInfo& info, int codePage,
                   const FeatureFlags& features);

}  // namespace korvin
