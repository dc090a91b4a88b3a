#include "book/linereader.h"

#include <cstring>

namespace korvin {

std::optional<std::string_view> LineReader::next()
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

}  // namespace korvin
