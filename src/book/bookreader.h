// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "book/bookformat.h"
#include "book/booktables.h"
#include "book/daisy3reader.h"
#include "book/filesource.h"
#include "book/nccreader.h"
#include "platform/dialogs.h"

namespace korvin {

// Reads a book of either kind into the tables: a DAISY 2.02 book with the NCC
// reader, a DAISY 3 book with the DAISY 3 reader. Both fill the same tables,
// book information and feature flags, and fail the same way (kFailed, the
// tables empty, no message) when the book's first file cannot be read.
class BookReader {
public:
    enum Result { kRead = 1, kFailed = 2 };

    // The book in `bookFolder` (ending in "/"), from the disk, of the kind
    // findBookStart() finds there; a folder that holds neither kind is read as
    // a DAISY 2.02 book, whose NCC then cannot be opened.
    BookReader(BookTables& tables, std::string bookFolder, NccReader::Texts texts = NccReader::Texts());
    // The book `start` names in `bookFolder`: its DAISY 3 package file, or
    // (any other start) its NCC. From the disk, or through `files`, which
    // must outlive the reader.
    BookReader(BookTables& tables, std::string bookFolder, const BookStart& start, NccReader::Texts texts);
    BookReader(BookTables& tables, std::string bookFolder, const BookStart& start, NccReader::Texts texts,
               const FileSource& files);
    ~BookReader();

    Result read(ReadProgress& progress);

    // Valid after a reading that returned kRead.
    const BookInfo& info() const;
    const BookCredits& credits() const;
    int codePage() const;
    const FeatureFlags& features() const;

private:
    std::unique_ptr<NccReader> m_ncc;
    std::unique_ptr<Daisy3Reader> m_daisy3;
};

// The six texts that identify the book `start` names in `bookFolder`, as a
// full reading gives them, for the volume test of a change of volume: a
// DAISY 2.02 book's from its NCC head; a DAISY 3 book's from a reading of
// the whole book (its toc items count what the reading finds). nullopt when
// the book's first file cannot be read.
std::optional<BookInfo> readBookHead(const std::string& bookFolder, const BookStart& start, const FileSource& files);

}  // namespace korvin
