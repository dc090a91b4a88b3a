// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textcase.h"

#include <cstring>

namespace korvin {

namespace {

// A branch-free loop the compiler turns into vector code; book files are
// lower-cased by the megabyte while a book is read.
void lowerCaseAscii(const unsigned char* from, unsigned char* to, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = from[i];
        to[i] = static_cast<unsigned char>(c + ((static_cast<unsigned char>(c - 'A') < 26u) << 5));
    }
}

// The Latin-1 capitals in UTF-8 are C3 followed by 80..9E; their small
// letters differ by 0x20 in the second byte. C3 is rare in most books, so
// memchr skips the rest quickly.
void lowerCaseLatin1(unsigned char* bytes, std::size_t size)
{
    unsigned char* end = bytes + size;
    unsigned char* p = bytes;
    while (p < end) {
        p = static_cast<unsigned char*>(std::memchr(p, 0xC3, static_cast<std::size_t>(end - p)));
        if (!p || p + 1 >= end)
            break;
        const unsigned char next = p[1];
        if (next >= 0x80 && next <= 0x9E && next != 0x97)
            p[1] = static_cast<unsigned char>(next + 0x20);
        ++p;
    }
}

}  // namespace

void lowerCaseInPlace(char* text, std::size_t size)
{
    auto* bytes = reinterpret_cast<unsigned char*>(text);
    lowerCaseAscii(bytes, bytes, size);
    lowerCaseLatin1(bytes, size);
}

void lowerCaseInto(std::string_view text, std::string& out)
{
    // A buffer reused for many lines or files keeps its storage; only a part
    // beyond the last size is filled before it is overwritten.
    if (out.size() < text.size())
        out.resize(text.size());
    else
        out.erase(text.size());
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    lowerCaseAscii(reinterpret_cast<const unsigned char*>(text.data()), bytes, text.size());
    lowerCaseLatin1(bytes, text.size());
}

std::string lowerCase(std::string_view text)
{
    std::string out(text);
    lowerCaseInPlace(out.data(), out.size());
    return out;
}

}  // namespace korvin
