// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookreader.h"

namespace korvin {

BookReader::BookReader(BookTables& tables, std::string bookFolder, NccReader::Texts texts)
    : BookReader(tables, bookFolder, findBookStart(bookFolder), std::move(texts))
{
}

BookReader::BookReader(BookTables& tables, std::string bookFolder, const BookStart& start, NccReader::Texts texts)
{
    if (start.format == BookFormat::kDaisy3)
        m_daisy3 = std::make_unique<Daisy3Reader>(tables, std::move(bookFolder), start.fileName, texts.of);
    else
        m_ncc = std::make_unique<NccReader>(tables, std::move(bookFolder), std::move(texts));
}

BookReader::BookReader(BookTables& tables, std::string bookFolder, const BookStart& start, NccReader::Texts texts,
                       const FileSource& files)
{
    if (start.format == BookFormat::kDaisy3)
        m_daisy3 = std::make_unique<Daisy3Reader>(tables, std::move(bookFolder), start.fileName, texts.of, files);
    else
        m_ncc = std::make_unique<NccReader>(tables, std::move(bookFolder), std::move(texts), files);
}

BookReader::~BookReader() = default;

BookReader::Result BookReader::read(ReadProgress& progress)
{
    if (m_daisy3)
        return m_daisy3->read(progress) == Daisy3Reader::kRead ? kRead : kFailed;
    return m_ncc->read(progress) == NccReader::kRead ? kRead : kFailed;
}

const BookInfo& BookReader::info() const
{
    return m_daisy3 ? m_daisy3->info() : m_ncc->info();
}

const BookCredits& BookReader::credits() const
{
    return m_daisy3 ? m_daisy3->credits() : m_ncc->credits();
}

int BookReader::codePage() const
{
    return m_daisy3 ? m_daisy3->codePage() : m_ncc->codePage();
}

const FeatureFlags& BookReader::features() const
{
    return m_daisy3 ? m_daisy3->features() : m_ncc->features();
}

std::optional<BookInfo> readBookHead(const std::string& bookFolder, const BookStart& start, const FileSource& files)
{
    if (start.format != BookFormat::kDaisy3)
        return readHead(bookFolder, files);
    BookTables tables;
    Daisy3Reader reader(tables, bookFolder, start.fileName, std::string(), files);
    NoProgress progress;
    if (reader.read(progress) != Daisy3Reader::kRead)
        return std::nullopt;
    return reader.info();
}

}  // namespace korvin
