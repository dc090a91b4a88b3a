// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "book/booktables.h"
#include "library/scrambler.h"

namespace korvin {

// One bookmark as `MResume.dl` and the bookmark table keep it.
struct BookmarkRecord {
    std::string titel;    // the heading's title
    std::string zeit;     // seconds within the phrase's audio file, "%f"; empty at the end of the file
    std::string titelId;  // heading index
    std::string eventId;  // phrase row
    friend bool operator==(const BookmarkRecord&, const BookmarkRecord&) = default;
};

// `MResume.dl`: the bookmarks of every book, ten lines a record, a book
// recognised by its six book-information texts.
class BookmarkFile {
public:
    static constexpr std::size_t kFieldCount = 10;

    BookmarkFile(std::string path, const Scrambler& scrambler);

    // The book's bookmarks in the file's order; none when the file is missing
    // or cannot be read.
    std::vector<BookmarkRecord> load(const BookInfo& book) const;

    // Writes the book's bookmarks first, then every record of other books in its
    // old order; the book's older records go. A missing file is created. False,
    // leaving the file as it was, when it cannot be read or written.
    bool save(const BookInfo& book, const std::vector<BookmarkRecord>& bookmarks) const;

private:
    std::string m_path;
    const Scrambler& m_scrambler;
};

}  // namespace korvin
