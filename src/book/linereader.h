// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

namespace korvin {

// The lines of a text held in memory. A line ends at LF; the LF and one CR
// before it are not part of it, so files with CR LF and LF line ends read
// the same. A last line without a line end counts; an empty text has no
// lines. Empty lines are returned like any other, and every other byte
// (NUL included) belongs to its line.
class LineReader {
public:
    explicit LineReader(std::string_view text)
        : m_text(text)
    {
    }

    // The next line, or nullopt after the last. The view points into the text.
    // Inline: a book has a million lines.
    std::optional<std::string_view> next()
    {
        if (m_position >= m_text.size())
            return std::nullopt;
        const char* begin = m_text.data() + m_position;
        const std::size_t left = m_text.size() - m_position;
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', left));
        std::size_t length = newline ? static_cast<std::size_t>(newline - begin) : left;
        m_position += newline ? length + 1 : length;
        if (length > 0 && begin[length - 1] == '\r')
            --length;
        return std::string_view(begin, length);
    }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

}  // namespace korvin
