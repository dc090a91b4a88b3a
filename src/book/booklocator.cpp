// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/booklocator.h"

#include <filesystem>
#include <system_error>

#include "book/archivedbook.h"

namespace korvin {

namespace {

bool isFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

std::string folderOfFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

BookLocator::Fault faultOf(BookArchives::Fault fault)
{
    switch (fault) {
    case BookArchives::Fault::kUnsafeMember:
        return BookLocator::Fault::kZipUnsafe;
    case BookArchives::Fault::kTooLarge:
        return BookLocator::Fault::kZipTooLarge;
    case BookArchives::Fault::kTooManyMembers:
        return BookLocator::Fault::kZipTooManyMembers;
    case BookArchives::Fault::kEncrypted:
        return BookLocator::Fault::kZipEncrypted;
    case BookArchives::Fault::kUnreadable:
        break;
    }
    return BookLocator::Fault::kZipUnreadable;
}

}  // namespace

BookLocator::BookLocator(const BookArchives& archives)
    : m_archives(archives)
{
}

bool BookLocator::isZipPlace(const std::string& place)
{
    return isZipFileName(place) && !isFolder(place);
}

std::string BookLocator::placeOfPath(const std::string& path)
{
    if (isFolder(path))
        return !path.empty() && path.back() == '/' ? path : path + '/';
    if (isZipFileName(path))
        return path;
    const std::string folder = folderOfFile(path);
    if (isPackageFileName(path) && findBookStart(folder).format != BookFormat::kDaisy3)
        return path;
    return folder;
}

std::variant<BookLocator::Located, BookLocator::Fault> BookLocator::locate(const std::string& place) const
{
    if (isZipPlace(place)) {
        BookArchives::Opened opened = m_archives.open(place);
        if (!opened.archive)
            return faultOf(opened.fault);
        ArchivedBook book = findArchivedBook(opened.archive->fileNames());
        if (book.found == ArchivedBook::Found::kNone)
            return Fault::kZipNoBook;
        if (book.found == ArchivedBook::Found::kSeveral)
            return Fault::kZipSeveralBooks;
        auto zipped = std::make_unique<ZippedBook>(std::move(opened.archive), std::move(book));
        Located located{zipped->folder(), zipped->start(), nullptr};
        located.zipped = std::move(zipped);
        return located;
    }
    if (isPackageFileName(place) && !isFolder(place)) {
        const std::string folder = folderOfFile(place);
        return Located{folder, bookStartOfPath(place, folder), nullptr};
    }
    const std::string folder = place.empty() || place.back() == '/' ? place : place + '/';
    return Located{folder, findBookStart(folder), nullptr};
}

}  // namespace korvin
