// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/bookmarkfile.h"

#include "library/recordfile.h"

namespace korvin {

namespace {

enum Field { kTitel = 6, kZeit = 7, kTitelId = 8, kEventId = 9 };

}  // namespace

BookmarkFile::BookmarkFile(std::string path, const Scrambler& scrambler)
    : m_path(std::move(path))
    , m_scrambler(scrambler)
{
}

std::vector<BookmarkRecord> BookmarkFile::load(const BookInfo& book) const
{
    RecordFile file(m_path, kFieldCount, m_scrambler);
    file.load();
    const RecordFile::Key key = file.makeKey(bookRecordKey(book));
    std::vector<BookmarkRecord> bookmarks;
    for (std::size_t record = 0; record < file.recordCount(); ++record)
        if (file.startsWith(record, key))
            bookmarks.push_back({file.field(record, kTitel), file.field(record, kZeit), file.field(record, kTitelId),
                                 file.field(record, kEventId)});
    return bookmarks;
}

bool BookmarkFile::save(const BookInfo& book, const std::vector<BookmarkRecord>& bookmarks) const
{
    RecordFile file(m_path, kFieldCount, m_scrambler);
    if (file.load() == FileBytes::Status::kUnreadable)
        return false;
    const RecordFile::Fields key = bookRecordKey(book);
    RecordFile::Writer next(file);
    for (const BookmarkRecord& bookmark : bookmarks) {
        RecordFile::Fields fields = key;
        fields.insert(fields.end(), {bookmark.titel, bookmark.zeit, bookmark.titelId, bookmark.eventId});
        next.append(fields);
    }
    const RecordFile::Key scrambledKey = file.makeKey(key);
    for (std::size_t record = 0; record < file.recordCount(); ++record)
        if (!file.startsWith(record, scrambledKey))
            next.copy(record);
    return next.commit();
}

}  // namespace korvin
