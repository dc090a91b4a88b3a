// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "book/filereadahead.h"
#include "book/linereader.h"
#include "book/textsearch.h"

namespace korvin {

// How the reading of an NCC finds its headings, shared by the reading and by
// the walk that names their SMIL files ahead of it.

// The tags of a key line (the lower-cased line) the reading looks at, from
// one pass over its "<": the answers a search for each would give.
struct NccLineTags {
    static constexpr auto npos = std::string_view::npos;
    bool head = false;           // "<head>"
    bool headEnd = false;        // "</head>"
    bool body = false;           // "<body>"
    bool bodyEnd = false;        // "</body>"
    bool link = false;           // "<a href"
    std::size_t heading = npos;  // the first "<h"
    std::size_t group = npos;    // the first "<div"

    explicit NccLineTags(std::string_view key)
    {
        for (std::size_t at = key.find('<'); at != npos; at = key.find('<', at + 1)) {
            switch (at + 1 < key.size() ? key[at + 1] : '\0') {
            case 'h':
                if (heading == npos)
                    heading = at;
                head = head || hasTextAt(key, at + 1, "head>");
                break;
            case 'b': body = body || hasTextAt(key, at + 1, "body>"); break;
            case 'a': link = link || hasTextAt(key, at + 1, "a href"); break;
            case 'd':
                if (group == npos && hasTextAt(key, at + 1, "div"))
                    group = at;
                break;
            case '/':
                headEnd = headEnd || hasTextAt(key, at + 1, "/head>");
                bodyEnd = bodyEnd || hasTextAt(key, at + 1, "/body>");
                break;
            default: break;
            }
        }
    }
};

// Whether the "<h" at `at` of a body line opens a heading: "<h1" to "<h6"
// not followed by "/". Only the first "<h" of a line counts: a rule tag
// before a heading tag hides the heading.
inline bool opensHeading(std::string_view line, std::size_t at)
{
    if (at == std::string_view::npos || at + 2 >= line.size())
        return false;
    const char digit = line[at + 2];
    return digit >= '1' && digit <= '6' && (at + 3 >= line.size() || line[at + 3] != '/');
}

// A heading written over several lines is joined without a separator until
// its end tag; the end of the file ends it as well. When the line `line` (with
// its key `key`) holds no end tag, takes the following lines from `lines` and
// joins them into `joined` and `joinedKey`; returns whether it joined any.
bool joinHeadingLines(std::string_view line, std::string_view key, LineReader& lines, std::string& joined,
                      std::string& joinedKey);

// The names of the SMIL files of an NCC's headings, in the order of the
// headings, as the reading of the NCC meets them. `bytes` and `keys` (its
// lower-cased copy) must outlive the walk.
class NccSmilNames final : public FileReadAhead::Names {
public:
    NccSmilNames(std::string_view bytes, std::string_view keys);
    std::optional<std::string_view> next() override;

private:
    std::string_view m_bytes;
    std::string_view m_keys;
    LineReader m_lines;
    bool m_inBody = false;
    std::string m_joined;
    std::string m_joinedKey;
};

}  // namespace korvin
