// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/archivedbook.h"

#include <map>

#include "book/textcase.h"

namespace korvin {

namespace {

struct FolderFiles {
    std::string ncc;
    std::vector<std::string> packages;
};

bool isMacMetadata(std::string_view name, std::string_view file)
{
    return name.rfind("__MACOSX/", 0) == 0 || file.rfind("._", 0) == 0;
}

}  // namespace

bool isZipFileName(std::string_view path)
{
    return path.size() > 4 && lowerCase(path.substr(path.size() - 4)) == ".zip";
}

ArchivedBook findArchivedBook(const std::vector<std::string>& fileNames)
{
    std::map<std::string, FolderFiles, std::less<>> folders;
    for (const std::string& name : fileNames) {
        const std::size_t slash = name.rfind('/');
        const std::size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
        const std::string_view file = std::string_view(name).substr(fileStart);
        if (isMacMetadata(name, file))
            continue;
        const bool ncc = lowerCase(file) == "ncc.html";
        if (!ncc && !isPackageFileName(file))
            continue;
        FolderFiles& found = folders[name.substr(0, fileStart)];
        // Of two spellings of ncc.html the first in byte order is taken, as on the disk.
        if (ncc && (found.ncc.empty() || std::string_view(found.ncc) > file))
            found.ncc = std::string(file);
        else if (!ncc)
            found.packages.emplace_back(file);
    }
    ArchivedBook book;
    for (auto& [folder, files] : folders) {
        BookStart start;
        if (!files.ncc.empty())
            start = {BookFormat::kDaisy202, "ncc.html"};
        else if (files.packages.size() == 1)
            start = {BookFormat::kDaisy3, files.packages.front()};
        else
            continue;
        if (book.found == ArchivedBook::Found::kBook)
            return ArchivedBook{ArchivedBook::Found::kSeveral, {}, {}};
        book = ArchivedBook{ArchivedBook::Found::kBook, folder, std::move(start)};
    }
    return book;
}

}  // namespace korvin
