// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookformat.h"

#include <filesystem>
#include <system_error>

#include "book/bookfilepath.h"
#include "book/textcase.h"

namespace korvin {

namespace {

constexpr std::string_view kNccName = "ncc.html";

bool isRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

bool isPackageFileName(std::string_view name)
{
    return name.size() > 4 && lowerCase(name.substr(name.size() - 4)) == ".opf";
}

BookStart findBookStart(const std::string& folder)
{
    if (isRegularFile(findBookFile(folder, kNccName)))
        return {BookFormat::kDaisy202, std::string(kNccName)};
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder),
                                                error);
    std::string package;
    int packages = 0;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (!isPackageFileName(name) || !isRegularFile(entries->path()))
            continue;
        ++packages;
        package = std::move(name);
    }
    if (packages == 1)
        return {BookFormat::kDaisy3, std::move(package)};
    return {};
}

BookStart bookStartOfPath(const std::string& path, const std::string& folder)
{
    std::error_code error;
    if (isPackageFileName(path) && !std::filesystem::is_directory(std::filesystem::path(path), error)) {
        const std::size_t slash = path.rfind('/');
        return {BookFormat::kDaisy3, path.substr(slash == std::string::npos ? 0 : slash + 1)};
    }
    return findBookStart(folder);
}

}  // namespace korvin
