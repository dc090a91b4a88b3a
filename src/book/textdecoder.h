// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace korvin {

// Turns text in one of the book's code pages into UTF-8 (heading titles and
// group labels).
//
// Code page 0 reads the bytes as UTF-8 when they are valid UTF-8 and as
// Windows-1252 otherwise; 65001 is UTF-8. Bytes that do not form a character
// of the code page become U+FFFD. A code page that cannot be converted here
// is read like code page 0. The result holds at most kMaxBytes bytes, cut at
// a character boundary: no real title comes near it, and a file that is one
// endless line cannot make a title of its size.
class TextDecoder {
public:
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    explicit TextDecoder(int codePage);
    ~TextDecoder();
    TextDecoder(TextDecoder&&) noexcept;
    TextDecoder& operator=(TextDecoder&&) noexcept;

    int codePage() const { return m_codePage; }
    std::string decode(std::string_view bytes);

private:
    struct IconvCloser {
        void operator()(void* converter) const;
    };

    std::string decodeWithIconv(std::string_view bytes);

    int m_codePage = 0;
    std::unique_ptr<void, IconvCloser> m_iconv;
};

// One-off decoding; opens a converter for the call.
std::string decode(std::string_view bytes, int codePage);

// Whether `bytes` are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

}  // namespace korvin
