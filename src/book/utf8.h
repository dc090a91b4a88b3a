// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvin {

// Small pieces of UTF-8 and Windows-1252 handling shared by the readers of book
// text, HTML documents and the program's own files.

// The length of the well-formed UTF-8 sequence that starts at `at` (1 for an
// ASCII byte), 0 when the bytes there do not form one: no overlong forms, no
// surrogates, nothing past U+10FFFF, no sequence cut off by the end.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at);

// The code point of the well-formed sequence of `length` bytes at `at`.
char32_t utf8CodePoint(std::string_view bytes, std::size_t at, std::size_t length);

// Appends `codePoint` (at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

// The character Windows-1252 gives a byte; 0 for the five bytes of 0x80..0x9F
// it leaves undefined.
char32_t windows1252CodePoint(unsigned char byte);

}  // namespace korvin
