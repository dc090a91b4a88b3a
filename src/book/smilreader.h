// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "book/booktables.h"
#include "book/filesource.h"
#include "book/readingstate.h"

namespace korvin {

// Reads the SMIL file of one heading during the reading of a book: one phrase
// row per "<par" line (and one more for every further audio clip of a par
// written over several lines), and the heading's "Zeit" and "Zeit verg." cells.
//
// Works on the reading's shared state, which carries over from one SMIL file
// to the next. The heading is the one at state.headingCounter, whose row the
// caller has already inserted.
class SmilReader {
public:
    SmilReader(BookTables& tables, ReadingState& state, const std::string& bookFolder, const FileSource& files);

    // Reads the file `name` of the book folder. When it cannot be opened
    // nothing is written and false is returned (no message: a book may lack
    // a SMIL file and still be read).
    bool read(std::string_view name);

private:
    struct Tags;

    void readLine(std::string_view line, std::string_view key, const Tags& tags);
    void readHeadLine(std::string_view line, std::string_view key);
    void readParLine(std::string_view line, std::string_view key, std::size_t at);
    void readTextLine(std::string_view line, std::size_t at);
    void readAudioLine(std::string_view line, std::size_t at);
    void finishFile();

    BookTables& m_tables;
    ReadingState& m_state;
    const std::string& m_folder;
    const FileSource& m_files;
    // The file and its lower-cased copy, whose storage is reused from file to
    // file; a line's key is the part of m_keys at the line's place.
    std::string m_bytes;
    std::string m_keys;
};

}  // namespace korvin
