// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
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
    SmilReader(BookTables& tables, ReadingState& state, const std::string& bookFolder);

    // Reads the file `name` of the book folder from `files`. When it cannot be opened
    // nothing is written and false is returned (no message: a book may lack
    // a SMIL file and still be read).
    bool read(const FileSource& files, std::string_view name);

private:
    struct Tags;

    void readLine(std::string_view line, const Tags& tags);
    void readHeadLine(std::string_view line);
    void readParLine(std::string_view line, std::size_t at);
    void readTextLine(std::string_view line, std::size_t at);
    void readAudioLine(std::string_view line, std::size_t at);
    void finishFile();
    std::span<std::string> newPhraseRow();

    BookTables& m_tables;
    ReadingState& m_state;
    const std::string& m_folder;
    // The file, and the lower-cased copy of a line that needs one; their
    // storage is reused from file to file.
    std::string m_bytes;
    std::string m_key;
};

}  // namespace korvin
