// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/booksearch.h"

#include <utility>

#include "book/archivedbook.h"
#include "library/bookscan.h"
#include "library/titlescan.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

constexpr const char* kInformation = "Information";

std::string countText(std::string format, std::size_t count)
{
    const std::size_t at = format.find("%i");
    if (at != std::string::npos)
        format.replace(at, 2, std::to_string(count));
    return format;
}

}  // namespace

BookSearch::BookSearch(std::string root, const BookListFile& file, const StringTable& strings, int languageOffset,
                       Services services)
    : m_root(std::move(root))
    , m_file(file)
    , m_strings(strings)
    , m_languageOffset(languageOffset)
    , m_services(services)
{
}

void BookSearch::load()
{
    m_folders.clear();
    m_titles.clear();
    for (std::string& folder : m_file.read()) {
        const std::optional<std::string> title = scanTitle(folder, m_services.archives);
        if (!title)
            continue;
        m_titles.push_back(title->empty() ? text(str::kWithoutTitle) : *title);
        m_folders.push_back(std::move(folder));
    }
}

std::vector<std::string> BookSearch::lines() const
{
    std::vector<std::string> lines;
    lines.reserve(m_titles.size() + 1);
    lines.push_back(text(str::kCreateList));
    lines.insert(lines.end(), m_titles.begin(), m_titles.end());
    return lines;
}

void BookSearch::makeList()
{
    m_folders.clear();
    m_titles.clear();
    const std::string withoutTitle = text(str::kWithoutTitleShort);
    std::vector<std::string> folders;
    std::vector<std::string> titles;
    // The worker touches only its own vectors; they are taken over once it
    // has ended.
    const bool complete = m_services.waitWindow.run(
        text(str::kSearching),
        [&](const std::atomic<bool>& cancelled) {
            for (std::string& folder : scanForBooks(m_root, cancelled)) {
                const std::optional<std::string> title = scanTitle(folder, m_services.archives);
                if (!title)
                    continue;
                titles.push_back(title->empty() ? withoutTitle : *title);
                folders.push_back(std::move(folder));
            }
        },
        WaitWindow::Options{.onWorkerThread = true, .cancellable = true});
    m_folders = std::move(folders);
    m_titles = std::move(titles);
    // A list that cannot be kept is shown all the same. Only a complete walk
    // replaces the file: one the listener stopped shows what it found this
    // time, and the next showing has the list of the last complete walk.
    if (complete)
        m_file.write(m_folders);

    const std::string message = m_folders.size() == 1 ? text(str::kOneBookFound)
                                                      : countText(text(str::kBooksFound), m_folders.size());
    m_services.messageBoxes.show(message, kInformation, MessageBoxes::Icon::kInformation);
}

std::string BookSearch::folder(int line) const
{
    if (line < 1 || static_cast<std::size_t>(line) > m_folders.size())
        return std::string();
    const std::string& folder = m_folders[static_cast<std::size_t>(line) - 1];
    // A zipped book is the file itself.
    if (isZipFileName(folder) || (!folder.empty() && folder.back() == '/'))
        return folder;
    return folder + '/';
}

}  // namespace korvin
