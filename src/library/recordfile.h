// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "book/booktables.h"
#include "library/scrambler.h"
#include "library/statefile.h"

namespace korvin {

// A state file of records of a fixed number of lines, one field a line, each
// line passed through the line scrambling; no header, no separators
// (`AResume.dl`: nine lines a record, `MResume.dl`: ten). Records are read
// while the first line of one can be read; a record cut short at the end of the
// file reads its missing fields as empty. Lines end in LF; CRs before it are
// dropped when reading.
//
// The file's records stay as they stand in it: a field is unscrambled only when
// asked for, and a record copied into the next contents is copied as it stands,
// which is what unscrambling and scrambling it again gives (the scrambling maps
// the lines one to one). Memory: the file's bytes and one offset per record.
class RecordFile {
public:
    using Fields = std::vector<std::string>;

    RecordFile(std::string path, std::size_t fieldCount, const Scrambler& scrambler);

    // A field as it is written: one line, CR and LF in it turned into spaces
    // (a line end inside it would shift every later record by a line).
    static std::string asOneLine(std::string text);

    // Reads the file; see FileBytes for what the status means. A file that is
    // missing or unreadable has no records.
    FileBytes::Status load();
    FileBytes::Status status() const { return m_status; }

    std::size_t recordCount() const { return m_starts.size(); }
    // Field `field` (from 0) of record `record`, unscrambled.
    std::string field(std::size_t record, std::size_t field) const;
    bool firstFieldEmpty(std::size_t record) const { return line(record, 0).empty(); }

    // The opening fields of a record compared with `key`, as exact texts. Make
    // the key once with makeKey(); it is compared with the lines as they stand.
    class Key {
    private:
        friend class RecordFile;
        std::vector<std::string> m_lines;
    };
    Key makeKey(const Fields& fields) const;
    bool startsWith(std::size_t record, const Key& key) const;

    // The next contents of the file, record by record, written in one step.
    class Writer {
    public:
        // Room for as much as the file held is taken at once.
        explicit Writer(const RecordFile& file);
        // A record of plain fields; fields past the file's count are ignored,
        // missing ones written empty.
        void append(const Fields& fields);
        // A record of the file as read.
        void copy(std::size_t record);
        // Replaces the file with the records added (temporary file, flush,
        // rename). False, leaving the file as it was, when it cannot be written
        // or when it was unreadable when loaded.
        bool commit() const;

    private:
        const RecordFile& m_file;
        std::string m_contents;
    };

private:
    std::string_view line(std::size_t record, std::size_t field) const;

    std::string m_path;
    std::size_t m_fieldCount;
    const Scrambler& m_scrambler;
    FileBytes::Status m_status = FileBytes::Status::kMissing;
    std::string m_bytes;
    std::vector<std::size_t> m_starts;  // where each record's first line begins
};

// The six fields that open every record of `AResume.dl` and `MResume.dl` and
// tell whose it is, in the files' order: date, identifier, title, set info,
// toc items, total time.
RecordFile::Fields bookRecordKey(const BookInfo& info);

}  // namespace korvin
