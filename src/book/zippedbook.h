// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "book/archivedbook.h"
#include "book/filesource.h"
#include "platform/bookarchives.h"

namespace korvin {

// A book read from a zip archive. The readers read its files from the
// archive itself; the player and the text view, which open files by path,
// get them unpacked into the archive's private folder, each file when it is
// first asked for.
//
// The book's folder is the unpack folder followed by the book's folder within
// the archive: every path of the book is a path below it, whether its file
// was unpacked yet or not. Names are found as on the disk: exactly as written,
// else the one file whose name differs only in letter case (the first in byte
// order of several).
class ZippedBook final : public FileSource {
public:
    ZippedBook(std::unique_ptr<BookArchive> archive, ArchivedBook book);

    // The book folder (absolute, ending in "/").
    const std::string& folder() const { return m_folder; }
    const BookStart& start() const { return m_book.start; }

    using FileSource::read;
    // `folder` is the book folder or a folder below it; a folder elsewhere holds nothing.
    bool read(const std::string& folder, std::string_view name, std::string& bytes) const override;

    // The path to open for `path`, a path below the book folder: the file
    // unpacked, under the name the archive gives it. `path` as it is when no
    // file of the archive answers to it or it cannot be unpacked.
    std::string openablePath(const std::string& path);

    // Unpacks every file of the book the text view may read: the text
    // documents with their style sheets and pictures, which it reads beside
    // one another. Audio waits until it is played; SMIL, NCX, package and
    // resource files are only ever read from the archive.
    void unpackTexts();

private:
    std::optional<std::string> memberOf(std::string_view pathInArchive) const;

    std::unique_ptr<BookArchive> m_archive;
    ArchivedBook m_book;
    std::string m_folder;
    std::unordered_set<std::string> m_names;
    std::unordered_map<std::string, std::string> m_nameOfLowerCase;  // the first in byte order
};

}  // namespace korvin
