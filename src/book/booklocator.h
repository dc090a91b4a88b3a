// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <variant>

#include "book/bookformat.h"
#include "book/zippedbook.h"
#include "platform/bookarchives.h"

namespace korvin {

// Finds the book a place names. A place is what the listener opens and what
// `Letztes.dl` and the lists of books record: a book folder (ending in "/"),
// a DAISY 3 book's package file, or a zip file that holds one book.
class BookLocator {
public:
    struct Located {
        std::string folder;  // the book folder the readers and the player use, ending in "/"
        BookStart start;     // kNone when the folder holds no book: read as DAISY 2.02, it fails
        std::unique_ptr<ZippedBook> zipped;  // the archive of a zipped book
    };

    // Why a zip file is not taken.
    enum class Fault {
        kZipUnreadable,
        kZipUnsafe,
        kZipTooLarge,
        kZipTooManyMembers,
        kZipEncrypted,
        kZipNoBook,
        kZipSeveralBooks,
    };

    // `archives` must outlive the locator.
    explicit BookLocator(const BookArchives& archives);

    // The book at `place`; for a zip file that cannot be taken, why.
    std::variant<Located, Fault> locate(const std::string& place) const;

    // The place of a file chosen in the file dialog or given on the command
    // line: a zip file itself; the folder of an "ncc.html" or of a package
    // file when that folder is its book; a package file beside another one
    // itself; a folder as it is, ending in "/".
    static std::string placeOfPath(const std::string& path);

    // Whether `place` names a zip file rather than a folder.
    static bool isZipPlace(const std::string& place);

private:
    const BookArchives& m_archives;
};

}  // namespace korvin
