#pragma once

#include <ostream>
#include <string>

#include "book/booktables.h"

namespace korvin {

// `korvin --dump-book BOOK`: reads the book with the reader the window uses and
// prints its tables as text, for checking a book without a window.
//
// BOOK is a book folder, the path of its "ncc.html" (in any letter case) or
// of a DAISY 3 book's package file (*.opf); the book folder is derived as
// bookFolderFromArgument() says. Returns 0 when the book was read; when its
// NCC or package file cannot be opened, writes `failureMessage` and a line
// end to `err` and returns 2.
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
