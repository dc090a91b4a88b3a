// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "book/booktables.h"
#include "book/filesource.h"
#include "book/linereader.h"
#include "book/readingstate.h"
#include "book/smilreader.h"
#include "book/textdecoder.h"
#include "platform/dialogs.h"

namespace korvin {

// Reads a book: its "ncc.html" line by line and, at each heading, that
// heading's SMIL file, filling the heading, phrase, page and group tables and
// the heading tree in one pass.
//
// The reader empties the heading, phrase and page tables and the tree first
// (not the group table: the window's reset to no book has emptied it), then
// appends. It shows no message: when the NCC cannot be opened it returns
// kFailed with the tables left empty, and the caller shows the failure
// message. Progress goes to the ReadProgress given to read(), synchronously.
class NccReader {
public:
    enum Result { kRead = 1, kFailed = 2 };

    struct Texts {
        int languageOffset = 0;    // 0 German, 200 English
        std::string of = "von";    // string 40 + offset, for "17 von 245"
    };

    // Reads from the disk. `bookFolder` ends in "/".
    NccReader(BookTables& tables, std::string bookFolder);
    NccReader(BookTables& tables, std::string bookFolder, Texts texts);
    // Reads through `files`, which must outlive the reader.
    NccReader(BookTables& tables, std::string bookFolder, Texts texts, const FileSource& files);
    ~NccReader();

    Result read(ReadProgress& progress);

    // Valid after a reading that returned kRead.
    const BookInfo& info() const { return m_info; }
    int codePage() const { return m_codePage; }
    const BookCredits& credits() const { return m_credits; }
    const FeatureFlags& features() const { return m_state.features; }

private:
    void readLine(std::string_view line, std::string_view key, LineReader& lines, const FileSource& smilFiles,
                  ReadProgress& progress);
    void countLink(ReadProgress& progress);
    void readMeta(ReadProgress& progress);
    int takeTocItems();
    void readHeading(std::size_t at, LineReader& lines, const FileSource& smilFiles);
    void readPage(std::size_t at);
    void readGroup(std::size_t at);
    std::string decodeText(std::string_view bytes);

    BookTables& m_tables;
    std::string m_folder;
    Texts m_texts;
    std::unique_ptr<FileSource> m_ownFiles;
    const FileSource& m_files;

    BookInfo m_info;
    BookCredits m_credits;
    std::vector<std::string_view> m_creators;  // as written, decoded once the charset is known
    int m_codePage = 0;
    std::string m_linkStatusEnd;  // " von 245" after a link's number
    ReadingState m_state;
    SmilReader m_smil;
    std::optional<TextDecoder> m_decoder;

    // The NCC and its lower-cased copy.
    std::string m_bytes;
    std::string m_keys;
    // The line being examined and its key: views of the two above, or of
    // m_joined and m_joinedKey when a heading ran over several lines.
    std::string_view m_line;
    std::string_view m_key;
    std::string m_joined;
    std::string m_joinedKey;
};

// The head of a book's NCC: the six book texts, read as the full reading
// reads them (a missing date becomes "00-00-0000"), up to the first line with
// "</head>". nullopt when the NCC cannot be opened; the caller shows the
// failure message.
std::optional<BookInfo> readHead(const std::string& bookFolder);
std::optional<BookInfo> readHead(const std::string& bookFolder, const FileSource& files);

}  // namespace korvin
