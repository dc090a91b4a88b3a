// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvin {

// The reversible character substitution every line of the program's .dl files
// passes through. Two tables hold the same 91 characters (space, digits, both
// Latin alphabets, ä ö ü Ä Ö Ü ß é and twenty punctuation marks; no backslash,
// no double quote) in two orders; a character at index j of the plain table at
// position i of the line is written as the character at index j - 2i of the
// cipher table (modulo 91). Characters outside the set pass through unchanged,
// so a line keeps its length in characters. Text is UTF-8; bytes that are not
// valid UTF-8 pass through unchanged as characters of their own.
class Scrambler {
public:
    Scrambler();
    // Any pair of tables of the same characters; a file can only be read back
    // with the pair that wrote it.
    Scrambler(std::u32string plain, std::u32string cipher);

    std::string scramble(std::string_view text) const;
    std::string unscramble(std::string_view text) const;

private:
    // Where each code point below 256 stands in a table, -1 when it is not in it.
    using Index = std::array<std::int32_t, 256>;

    std::string walk(std::string_view text, const std::u32string& from, const Index& fromIndex,
                     const std::u32string& to, int direction) const;
    static Index indexOf(const std::u32string& table);

    std::u32string m_plain;
    std::u32string m_cipher;
    Index m_plainIndex;
    Index m_cipherIndex;
};

// The contents of a state file of one value a line (`Settings.dl`,
// `Optionen.dl`): each line scrambled, each followed by a line end but the last.
std::string scrambledLines(std::span<const std::string> lines, const Scrambler& scrambler);

}  // namespace korvin
