// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvin {

// A zipped book's archive, open for reading. Its file names are relative
// paths with "/" between the parts (a "\" written by Windows tools counts as
// "/"), decoded to UTF-8 whether the archive wrote them in UTF-8 or in the old
// DOS code page 437. Every name was checked when the archive was opened.
// Used on one thread at a time.
class BookArchive {
public:
    virtual ~BookArchive() = default;

    // The names of the archive's files (not its folders), in archive order.
    virtual const std::vector<std::string>& fileNames() const = 0;

    // Reads the whole file `name` (as fileNames() has it) into `bytes`,
    // reusing its storage; false, with `bytes` empty, when there is no such
    // file, it holds more than `maxBytes`, or its data is damaged.
    virtual bool read(std::string_view name, std::string& bytes, std::size_t maxBytes) const = 0;

    // The private folder the files are unpacked into (absolute, ending in
    // "/"): file "a/b.mp3" lands at unpackFolder() + "a/b.mp3". Named when the
    // archive is opened, made when the first file is unpacked, and removed
    // with all it holds when the archive is destroyed.
    virtual const std::string& unpackFolder() const = 0;

    // Unpacks the file `name` into the unpack folder unless it is there
    // already. False when there is no such file, its data is damaged, or the
    // disk would be left nearly full.
    virtual bool unpack(std::string_view name) = 0;
};

// Opens zipped books.
class BookArchives {
public:
    // Why an archive is not opened.
    enum class Fault {
        kUnreadable,      // not a zip archive, damaged, or cannot be opened
        kUnsafeMember,    // a member named with "..", an absolute path, or a link
        kTooLarge,        // unpacked size or compression ratio beyond the bounds (a zip bomb)
        kTooManyMembers,  // more members than a book has
        kEncrypted,       // a member needs a password
    };
    struct Opened {
        std::unique_ptr<BookArchive> archive;  // null when refused
        Fault fault = Fault::kUnreadable;      // why, when refused
    };

    virtual ~BookArchives() = default;

    // Opens the zip archive at `path` after checking every member: none may
    // be a link or be named with ".." or an absolute path, and their sizes
    // must stay within the bounds of checkArchiveMembers(). Unpacks nothing.
    // May run on any thread, also beside other calls of open().
    virtual Opened open(const std::string& path) const = 0;
};

}  // namespace korvin
