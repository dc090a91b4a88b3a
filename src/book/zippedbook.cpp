// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/zippedbook.h"

#include <array>
#include <vector>

#include "book/regularfile.h"
#include "book/textcase.h"

namespace korvin {

namespace {

// "a/./b" and "a/x/../b" name "a/b"; a ".." above the archive's root names nothing.
std::optional<std::string> normalised(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('/', start);
        const std::string_view part =
            path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (part == "..") {
            if (parts.empty())
                return std::nullopt;
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    std::string joined;
    for (const std::string_view part : parts) {
        if (!joined.empty())
            joined += '/';
        joined += part;
    }
    return joined;
}

// Files the text view never opens: audio waits until it is played, and the
// SMIL, navigation and package files are read from the archive. A book of
// thousands of SMIL files opened many seconds late while they were unpacked.
bool isNotViewedName(std::string_view name)
{
    static constexpr std::array<std::string_view, 15> kNotViewed = {".mp3",  ".mp2",  ".mpg", ".wav", ".mp4",
                                                                    ".m4a",  ".aac",  ".ogg", ".oga", ".opus",
                                                                    ".flac", ".smil", ".ncx", ".opf", ".res"};
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = lowerCase(name.substr(dot));
    for (const std::string_view notViewed : kNotViewed)
        if (extension == notViewed)
            return true;
    return false;
}

}  // namespace

ZippedBook::ZippedBook(std::unique_ptr<BookArchive> archive, ArchivedBook book)
    : m_archive(std::move(archive))
    , m_book(std::move(book))
    , m_folder(m_archive->unpackFolder() + m_book.folder)
{
    for (const std::string& name : m_archive->fileNames()) {
        m_names.insert(name);
        auto [at, added] = m_nameOfLowerCase.try_emplace(lowerCase(name), name);
        if (!added && name < at->second)
            at->second = name;
    }
}

std::optional<std::string> ZippedBook::memberOf(std::string_view pathInArchive) const
{
    const std::optional<std::string> name = normalised(pathInArchive);
    if (!name || name->empty())
        return std::nullopt;
    if (m_names.count(*name) > 0)
        return name;
    const auto found = m_nameOfLowerCase.find(lowerCase(*name));
    if (found == m_nameOfLowerCase.end())
        return std::nullopt;
    return found->second;
}

bool ZippedBook::read(const std::string& folder, std::string_view name, std::string& bytes) const
{
    bytes.clear();
    const std::string& root = m_archive->unpackFolder();
    if (folder.compare(0, root.size(), root) != 0)
        return false;
    std::string path = folder.substr(root.size());
    path += name;
    const std::optional<std::string> member = memberOf(path);
    return member && m_archive->read(*member, bytes, kMaxBookFileBytes);
}

std::string ZippedBook::openablePath(const std::string& path)
{
    const std::string& root = m_archive->unpackFolder();
    if (path.compare(0, root.size(), root) != 0)
        return path;
    const std::optional<std::string> member = memberOf(std::string_view(path).substr(root.size()));
    if (!member || !m_archive->unpack(*member))
        return path;
    return root + *member;
}

void ZippedBook::unpackTexts()
{
    for (const std::string& name : m_archive->fileNames())
        if (name.compare(0, m_book.folder.size(), m_book.folder) == 0 && !isNotViewedName(name))
            m_archive->unpack(name);
}

}  // namespace korvin
