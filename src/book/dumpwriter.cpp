#include "book/dumpwriter.h"

#include <array>
#include <charconv>

namespace korvin {

namespace {

// The escape letter of each byte that needs one, 0 for the others.
constexpr std::array<char, 256> kEscapes = [] {
    std::array<char, 256> escapes{};
    escapes['\\'] = '\\';
    escapes['\t'] = 't';
    escapes['\r'] = 'r';
    escapes['\n'] = 'n';
    return escapes;
}();

}  // namespace

DumpWriter::DumpWriter(std::ostream& out)
    : m_out(out)
{
    m_block.reserve(kBlockBytes + kBlockBytes / 4);
}

DumpWriter::~DumpWriter()
{
    flush();
}

void DumpWriter::text(std::string_view text)
{
    m_block.append(text);
    flushWhenFull();
}

void DumpWriter::character(char c)
{
    m_block.push_back(c);
    flushWhenFull();
}

void DumpWriter::number(long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_block.append(digits, end);
    flushWhenFull();
}

void DumpWriter::escaped(std::string_view value)
{
    // Most values have nothing to escape and go in one piece.
    std::size_t plain = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char escape = kEscapes[static_cast<unsigned char>(value[i])];
        if (escape == 0)
            continue;
        m_block.append(value.data() + plain, i - plain);
        m_block.push_back('\\');
        m_block.push_back(escape);
        plain = i + 1;
    }
    m_block.append(value.data() + plain, value.size() - plain);
    flushWhenFull();
}

void DumpWriter::flush()
{
    if (m_block.empty())
        return;
    m_out.write(m_block.data(), static_cast<std::streamsize>(m_block.size()));
    m_block.clear();
}

}  // namespace korvin
