// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookfilepath.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "book/textcase.h"

namespace korvin {

namespace {

bool exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

// The entry of `folder` whose name equals `part` without regard to letter case.
std::optional<std::string> matchInFolder(const std::string& folder, std::string_view part)
{
    const std::string wanted = lowerCase(part);
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder),
                                                error);
    std::optional<std::string> best;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (name.size() != wanted.size() || lowerCase(name) != wanted)
            continue;
        if (!best || name < *best)
            best = std::move(name);
    }
    return best;
}

}  // namespace

std::string findBookFile(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    path += name;
    if (exists(path) || path.find('\0') != std::string::npos)
        return path;

    std::string current(folder);
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        const std::string_view part = name.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (!part.empty() && part != "." && part != "..") {
            std::string candidate = current + std::string(part);
            if (!exists(candidate)) {
                if (auto match = matchInFolder(current, part))
                    candidate = current + *match;
            }
            current = std::move(candidate);
        } else {
            current += part;
        }
        if (slash == std::string_view::npos)
            break;
        current += '/';
        start = slash + 1;
    }
    return current;
}

std::string openableBookPath(const std::string& bookFolder, const std::string& path)
{
    if (bookFolder.empty() || path.compare(0, bookFolder.size(), bookFolder) != 0)
        return path;
    return findBookFile(bookFolder, std::string_view(path).substr(bookFolder.size()));
}

}  // namespace korvin
