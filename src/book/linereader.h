#pragma once

#include <cstddef>
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
    std::optional<std::string_view> next();

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

}  // namespace korvin
