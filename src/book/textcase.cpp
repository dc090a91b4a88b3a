#include "book/textcase.h"

#include <cstring>

namespace korvin {

void lowerCaseInPlace(char* text, std::size_t size)
{
    // A branch-free loop the compiler turns into vector code; book lines are
    // lower-cased by the megabyte while a book is read.
    auto* bytes = reinterpret_cast<unsigned char*>(text);
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = bytes[i];
        bytes[i] = static_cast<unsigned char>(c + ((static_cast<unsigned char>(c - 'A') < 26u) << 5));
    }
    // The Latin-1 capitals in UTF-8 are C3 followed by 80..9E; their small
    // letters differ by 0x20 in the second byte. C3 is rare in most books, so
    // memchr skips the rest quickly.
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

void lowerCaseInto(std::string_view text, std::string& out)
{
    out.assign(text.data(), text.size());
    lowerCaseInPlace(out.data(), out.size());
}

std::string lowerCase(std::string_view text)
{
    std::string out(text);
    lowerCaseInPlace(out.data(), out.size());
    return out;
}

}  // namespace korvin
