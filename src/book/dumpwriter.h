#pragma once

#include <cstddef>
#include <ostream>
#include <string>
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

    void text(std::string_view text);
    void character(char c);
    void number(long long value);
    void escaped(std::string_view value);
    void flush();

private:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 18;

    void flushWhenFull()
    {
        if (m_block.size() >= kBlockBytes)
            flush();
    }

    std::ostream& m_out;
    std::string m_block;
};

}  // namespace korvin
