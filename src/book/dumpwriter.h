// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>
#include <string_view>

namespace korvin {

// Text for a stream gathered into large blocks: a book's dump has a million
// cells, and a stream operation for each would cost more than the reading.
// Values can be written escaped: "\", TAB, CR and LF become \\, \t, \r, \n.
//
// What is gathered reaches the stream at flush(), when a block is full, and
// when the writer is destroyed.
class DumpWriter {
public:
    explicit DumpWriter(std::ostream& out);
    ~DumpWriter();
    DumpWriter(const DumpWriter&) = delete;
    DumpWriter& operator=(const DumpWriter&) = delete;

    void text(std::string_view text)
    {
        if (text.size() > kBlockBytes - m_used)
            return writeLarge(text);
        std::memcpy(m_block.get() + m_used, text.data(), text.size());
        m_used += text.size();
    }
    void character(char c)
    {
        if (m_used == kBlockBytes)
            flush();
        m_block[m_used++] = c;
    }
    void number(long long value);
    void escaped(std::string_view value);
    void flush();

private:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 18;

    void writeLarge(std::string_view text);
    bool copyPlain(std::string_view value);

    std::ostream& m_out;
    std::unique_ptr<char[]> m_block;
    std::size_t m_used = 0;
};

}  // namespace korvin
