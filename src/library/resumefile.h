// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "book/booktables.h"
#include "library/recordfile.h"
#include "library/scrambler.h"

namespace korvin {

// Where the listener left a book, as `AResume.dl` keeps it: the texts of the
// record's last three lines.
struct ResumeRecord {
    std::string heading;   // `TreeID` of the phrase row
    std::string position;  // seconds within the row's audio file, "%.3f"
    std::string row;       // the phrase row, "%i"
    friend bool operator==(const ResumeRecord&, const ResumeRecord&) = default;
};

// `AResume.dl`: the resume position of every book played, nine lines a record,
// a book recognised by its six book-information texts.
class ResumeFile {
public:
    static constexpr std::size_t kFieldCount = 9;

    ResumeFile(std::string path, const Scrambler& scrambler);

    // The first record of the book; nullopt when there is none, the file is
    // missing or cannot be read.
    std::optional<ResumeRecord> find(const BookInfo& book) const;

    // Puts `place` in the place of every record of the book, or of the first
    // record whose first line is empty, or at the end; drops the other records
    // whose first line is empty and keeps all others in their order. A missing
    // file is created. False, leaving the file as it was, when it cannot be
    // read or written.
    bool save(const BookInfo& book, const ResumeRecord& place) const;

private:
    std::string m_path;
    const Scrambler& m_scrambler;
};

}  // namespace korvin
