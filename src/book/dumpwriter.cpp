// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/dumpwriter.h"

#include <charconv>
#include <cstdint>

namespace korvin {

namespace {

constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255;
constexpr std::uint64_t kHighBits = kOnes * 128;

// Whether any of the eight bytes in `word` is TAB, LF, CR (9, 10, 13) or a
// backslash (92), eight bytes at a time: a byte between 8 and 14, or a byte
// that is zero once the backslash is taken out. Both tests are exact for
// "any"; 11 and 12 are merely looked at more closely.
bool mayNeedEscape(std::uint64_t word)
{
    const std::uint64_t low = word & (kOnes * 127);
    const std::uint64_t between = ((kOnes * (127 + 14) - low) & ~word & (low + kOnes * (127 - 8))) & kHighBits;
    const std::uint64_t backslashes = word ^ (kOnes * '\\');
    const std::uint64_t zero = (backslashes - kOnes) & ~backslashes & kHighBits;
    return (between | zero) != 0;
}

bool mayNeedEscapes(std::string_view value)
{
    std::size_t at = 0;
    for (; at + 8 <= value.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, value.data() + at, 8);
        if (mayNeedEscape(word))
            return true;
    }
    // The rest, with zero bytes after it (a zero needs no escape).
    std::uint64_t word = 0;
    std::memcpy(&word, value.data() + at, value.size() - at);
    return mayNeedEscape(word);
}

char escapeOf(char c)
{
    switch (c) {
    case '\\': return '\\';
    case '\t': return 't';
    case '\r': return 'r';
    case '\n': return 'n';
    default: return 0;
    }
}

}  // namespace

DumpWriter::DumpWriter(std::ostream& out)
    : m_out(out)
    , m_block(std::make_unique<char[]>(kBlockBytes))
{
}

DumpWriter::~DumpWriter()
{
    flush();
}

void DumpWriter::number(long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

bool DumpWriter::copyPlain(std::string_view value)
{
    const std::size_t size = value.size();
    if (kBlockBytes - m_used < size)
        return false;
    const char* from = value.data();
    char* to = m_block.get() + m_used;
    if (size >= 8) {
        for (std::size_t at = 0; at + 8 < size; at += 8) {
            std::uint64_t word;
            std::memcpy(&word, from + at, 8);
            if (mayNeedEscape(word))
                return false;
            std::memcpy(to + at, &word, 8);
        }
        // The last eight bytes, which may overlap the word before.
        std::uint64_t word;
        std::memcpy(&word, from + size - 8, 8);
        if (mayNeedEscape(word))
            return false;
        std::memcpy(to + size - 8, &word, 8);
    } else {
        for (std::size_t at = 0; at < size; ++at) {
            if (escapeOf(from[at]) != 0)
                return false;
            to[at] = from[at];
        }
    }
    m_used += size;
    return true;
}

void DumpWriter::escaped(std::string_view value)
{
    // Most values have nothing to escape: they are copied while they are
    // looked at, eight bytes at a time.
    if (copyPlain(value))
        return;
    if (!mayNeedEscapes(value))
        return text(value);
    std::size_t plain = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char escape = escapeOf(value[i]);
        if (escape == 0)
            continue;
        text(value.substr(plain, i - plain));
        character('\\');
        character(escape);
        plain = i + 1;
    }
    text(value.substr(plain));
}

void DumpWriter::writeLarge(std::string_view text)
{
    flush();
    if (text.size() >= kBlockBytes) {
        m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return;
    }
    std::memcpy(m_block.get(), text.data(), text.size());
    m_used = text.size();
}

void DumpWriter::flush()
{
    if (m_used == 0)
        return;
    m_out.write(m_block.get(), static_cast<std::streamsize>(m_used));
    m_used = 0;
}

}  // namespace korvin
