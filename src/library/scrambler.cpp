#include "library/scrambler.h"

#include <optional>

namespace korvin {

namespace {

const char32_t kPlain[] =
    U" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyzäöüÄÖÜßé!#$%&'()*+,-./:;<=>?";
const char32_t kCipher[] =
    U"*ö2ü<;nO/vT8)W#JimSyLEjaC7fßYXr bZV.:5c0ts4?9'éFN+=d-H3owlIDP$UQR6khMAqu,xÜ!Gz1&>gp(ä%ÖBÄKe";

// Decodes one UTF-8 character at the front of `text`; nullopt (and length 1)
// for a byte that does not start a valid sequence.
std::optional<char32_t> decodeOne(std::string_view text, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(0);
    length = 1;
    if (first < 0x80)
        return first;
    int extra = 0;
    char32_t code = 0;
    if ((first & 0xE0) == 0xC0) {
        extra = 1;
        code = first & 0x1F;
    } else if ((first & 0xF0) == 0xE0) {
        extra = 2;
        code = first & 0x0F;
    } else if ((first & 0xF8) == 0xF0) {
        extra = 3;
        code = first & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() <= static_cast<std::size_t>(extra))
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    length = static_cast<std::size_t>(extra) + 1;
    return code;
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

Scrambler::Scrambler()
    : Scrambler(kPlain, kCipher)
{
}

Scrambler::Scrambler(std::u32string plain, std::u32string cipher)
    : m_plain(std::move(plain))
    , m_cipher(std::move(cipher))
{
}

std::string Scrambler::scramble(std::string_view text) const
{
    return walk(text, m_plain, m_cipher, -2);
}

std::string Scrambler::unscramble(std::string_view text) const
{
    return walk(text, m_cipher, m_plain, 2);
}

// Rotating one table left and the other right by one place per character moves
// them two places against each other; indexing with the position does the same
// without copying the tables.
std::string Scrambler::walk(std::string_view text, const std::u32string& from, const std::u32string& to,
                            int direction) const
{
    std::string out;
    out.reserve(text.size());
    const long long n = static_cast<long long>(from.size());
    long long position = 0;
    while (!text.empty()) {
        std::size_t length = 1;
        const std::optional<char32_t> code = decodeOne(text, length);
        const std::size_t index = code ? from.find(*code) : std::u32string::npos;
        if (index == std::u32string::npos || to.size() != from.size()) {
            out.append(text.substr(0, length));
        } else {
            long long target = (static_cast<long long>(index) + direction * (position % n)) % n;
            if (target < 0)
                target += n;
            appendUtf8(out, to[static_cast<std::size_t>(target)]);
        }
        text.remove_prefix(length);
        ++position;
    }
    return out;
}

}  // namespace korvin
