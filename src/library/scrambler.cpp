// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/scrambler.h"

#include "book/utf8.h"

namespace korvin {

namespace {

const char32_t kPlain[] =
    U" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyzäöüÄÖÜßé!#$%&'()*+,-./:;<=>?";
const char32_t kCipher[] =
    U"*ö2ü<;nO/vT8)W#JimSyLEjaC7fßYXr bZV.:5c0ts4?9'éFN+=d-H3owlIDP$UQR6khMAqu,xÜ!Gz1&>gp(ä%ÖBÄKe";

}  // namespace

Scrambler::Scrambler()
    : Scrambler(kPlain, kCipher)
{
}

Scrambler::Scrambler(std::u32string plain, std::u32string cipher)
    : m_plain(std::move(plain))
    , m_cipher(std::move(cipher))
    , m_plainIndex(indexOf(m_plain))
    , m_cipherIndex(indexOf(m_cipher))
{
}

Scrambler::Index Scrambler::indexOf(const std::u32string& table)
{
    Index index;
    index.fill(-1);
    // The first occurrence counts, as a search from the front would find it.
    for (std::size_t i = table.size(); i-- > 0;)
        if (table[i] < index.size())
            index[table[i]] = static_cast<std::int32_t>(i);
    return index;
}

std::string Scrambler::scramble(std::string_view text) const
{
    return walk(text, m_plain, m_plainIndex, m_cipher, -2);
}

std::string Scrambler::unscramble(std::string_view text) const
{
    return walk(text, m_cipher, m_cipherIndex, m_plain, 2);
}

// Rotating one table left and the other right by one place per character moves
// them two places against each other; indexing with the position does the same
// without copying the tables.
std::string Scrambler::walk(std::string_view text, const std::u32string& from, const Index& fromIndex,
                            const std::u32string& to, int direction) const
{
    std::string out;
    out.reserve(text.size());
    const long long n = static_cast<long long>(from.size());
    long long position = 0;
    while (!text.empty()) {
        // A byte that does not start a valid sequence is a character of its own.
        const std::size_t valid = utf8SequenceLength(text, 0);
        const std::size_t length = valid == 0 ? 1 : valid;
        std::size_t index = std::u32string::npos;
        if (valid != 0) {
            // Every line of every state file passes through here: a look-up
            // instead of a search keeps large files quick to read and write.
            const char32_t codePoint = utf8CodePoint(text, 0, valid);
            if (codePoint < fromIndex.size())
                index =
                    fromIndex[codePoint] < 0 ? std::u32string::npos : static_cast<std::size_t>(fromIndex[codePoint]);
            else
                index = from.find(codePoint);
        }
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

std::string scrambledLines(std::span<const std::string> lines, const Scrambler& scrambler)
{
    std::string contents;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        contents += scrambler.scramble(lines[i]);
        if (i + 1 < lines.size())
            contents += '\n';
    }
    return contents;
}

}  // namespace korvin
