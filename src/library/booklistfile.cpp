// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/booklistfile.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

#include "book/linereader.h"
#include "library/statefile.h"

namespace korvin {

namespace {

// Readable part of the key; the hash makes it unique.
constexpr std::size_t kMaxReadableKey = 48;

std::uint32_t fnv1a(const std::string& text)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

BookListFile::BookListFile(const std::string& folder, const std::string& root, const Scrambler& scrambler)
    : m_path(folder + "/" + nameFor(root))
    , m_scrambler(scrambler)
{
}

std::string BookListFile::nameFor(const std::string& root)
{
    std::string readable;
    for (const char c : root) {
        if (readable.size() == kMaxReadableKey)
            break;
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (plain)
            readable += c;
        else if (!readable.empty() && readable.back() != '_')
            readable += '_';
    }
    if (readable.empty())
        readable = "root";
    char hash[16];
    std::snprintf(hash, sizeof hash, "-%08x", static_cast<unsigned>(fnv1a(root)));
    return "Buecher_" + readable + hash + ".dl";
}

std::vector<std::string> BookListFile::read() const
{
    std::vector<std::string> folders;
    struct stat info {};
    // No list of books comes near the size; such a file is not one.
    if (::stat(m_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > kMaxBytes)
        return folders;
    const FileBytes file = readFileBytes(m_path);
    if (file.status != FileBytes::Status::kRead)
        return folders;
    LineReader lines(file.bytes);
    while (const auto line = lines.next()) {
        if (folders.size() == kMaxLines)
            break;
        if (!line->empty())
            folders.push_back(m_scrambler.unscramble(*line));
    }
    return folders;
}

bool BookListFile::write(const std::vector<std::string>& folders) const
{
    std::string contents;
    for (const std::string& folder : folders) {
        contents += m_scrambler.scramble(folder);
        contents += '\n';
    }
    return writeFileAtomically(m_path, contents);
}

}  // namespace korvin
