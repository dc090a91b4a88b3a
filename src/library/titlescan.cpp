// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/titlescan.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "book/archivedbook.h"
#include "book/codepages.h"
#include "book/diskfilesource.h"
#include "book/linecuts.h"
#include "book/linereader.h"
#include "book/packagefile.h"
#include "book/textcase.h"
#include "book/textdecoder.h"
#include "book/textsearch.h"
#include "book/zippedbook.h"

namespace korvin {

namespace {

std::string nccTitle(const std::string& bytes)
{
    int codePage = 0;
    std::string key;
    LineReader lines(bytes);
    while (const auto line = lines.next()) {
        lowerCaseInto(*line, key);
        if (containsText(key, "ncc:charset"))
            codePage = codePageFromCharsetLine(*line);
        const std::size_t at = findText(key, "<h");
        if (at == std::string::npos || at + 2 >= key.size() || key[at + 2] < '1' || key[at + 2] > '6')
            continue;
        std::string joined(*line);
        std::string joinedKey = key;
        // A heading over several lines is joined without a separator until
        // its end tag; only the new part is searched, so this stays linear.
        bool ended = containsText(key, "</h");
        while (!ended) {
            const auto next = lines.next();
            if (!next)
                break;
            const std::size_t joint = joined.size();
            joined += *next;
            joinedKey += *next;
            const std::size_t from = joint > 0 ? joint - 1 : 0;
            lowerCaseInPlace(joinedKey.data() + from, joinedKey.size() - from);
            ended = findText(joinedKey, "</h", joint >= 2 ? joint - 2 : 0) != std::string::npos;
        }
        return decode(headingTitle(joined, joinedKey), codePage);
    }
    return std::string();
}

std::optional<std::string> bookTitle(const FileSource& files, const std::string& folder, const BookStart& start)
{
    if (start.format == BookFormat::kNone)
        return std::nullopt;
    std::string bytes;
    if (!files.read(folder, start.fileName, bytes))
        return std::nullopt;
    if (start.format == BookFormat::kDaisy3)
        return readPackageFile(bytes, start.fileName).title;
    return nccTitle(bytes);
}

}  // namespace

std::optional<std::string> scanTitle(const std::string& place, const BookArchives& archives)
{
    std::error_code error;
    if (isZipFileName(place) && !std::filesystem::is_directory(std::filesystem::path(place), error)) {
        BookArchives::Opened opened = archives.open(place);
        if (!opened.archive)
            return std::nullopt;
        ArchivedBook book = findArchivedBook(opened.archive->fileNames());
        if (book.found != ArchivedBook::Found::kBook)
            return std::nullopt;
        const ZippedBook zipped(std::move(opened.archive), std::move(book));
        return bookTitle(zipped, zipped.folder(), zipped.start());
    }
    const std::string folder = place.empty() || place.back() == '/' ? place : place + '/';
    return bookTitle(DiskFileSource(), folder, findBookStart(folder));
}

}  // namespace korvin
