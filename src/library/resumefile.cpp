// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/resumefile.h"

namespace korvin {

namespace {

enum Field { kHeading = 6, kPosition = 7, kRow = 8 };

}  // namespace

ResumeFile::ResumeFile(std::string path, const Scrambler& scrambler)
    : m_path(std::move(path))
    , m_scrambler(scrambler)
{
}

std::optional<ResumeRecord> ResumeFile::find(const BookInfo& book) const
{
    RecordFile file(m_path, kFieldCount, m_scrambler);
    file.load();
    const RecordFile::Key key = file.makeKey(bookRecordKey(book));
    for (std::size_t record = 0; record < file.recordCount(); ++record)
        if (file.startsWith(record, key))
            return ResumeRecord{file.field(record, kHeading), file.field(record, kPosition), file.field(record, kRow)};
    return std::nullopt;
}

bool ResumeFile::save(const BookInfo& book, const ResumeRecord& place) const
{
    RecordFile file(m_path, kFieldCount, m_scrambler);
    if (file.load() == FileBytes::Status::kUnreadable)
        return false;
    RecordFile::Fields fields = bookRecordKey(book);
    fields.insert(fields.end(), {place.heading, place.position, place.row});
    const RecordFile::Key key = file.makeKey(bookRecordKey(book));

    RecordFile::Writer next(file);
    bool written = false;
    for (std::size_t record = 0; record < file.recordCount(); ++record) {
        if (file.startsWith(record, key)) {
            next.append(fields);
            written = true;
        } else if (!file.firstFieldEmpty(record)) {
            next.copy(record);
        } else if (!written) {
            next.append(fields);
            written = true;
        }
    }
    if (!written)
        next.append(fields);
    return next.commit();
}

}  // namespace korvin
