// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace korvin {

namespace textsearch {

// Where `needle` first stands in `text` from `from` on: each place of its
// first byte (found with memchr) is then tried by `matches`.
template <std::size_t N, typename Matches>
std::size_t findWith(std::string_view text, const char (&needle)[N], std::size_t from, Matches matches)
{
    constexpr std::size_t length = N - 1;
    static_assert(length > 0, "an empty needle");
    if (from >= text.size() || text.size() - from < length)
        return std::string_view::npos;
    const char* begin = text.data();
    const char* last = begin + (text.size() - length);  // the last place a match can start
    for (const char* at = begin + from; at <= last; ++at) {
        at = static_cast<const char*>(std::memchr(at, needle[0], static_cast<std::size_t>(last - at) + 1));
        if (!at)
            break;
        if (matches(at))
            return static_cast<std::size_t>(at - begin);
    }
    return std::string_view::npos;
}

}  // namespace textsearch

// Where the fixed text `needle` first stands in `text` from `from` on; npos
// when it does not. The same answer as std::string_view::find, faster for the
// short needles and lines of book files: the needle's length is known when
// compiling, so the comparison after each candidate first byte is inlined.
template <std::size_t N>
std::size_t findText(std::string_view text, const char (&needle)[N], std::size_t from = 0)
{
    return textsearch::findWith(text, needle, from,
                                [&](const char* at) { return std::memcmp(at + 1, needle + 1, N - 2) == 0; });
}

// findText for a needle whose byte `K` is rarer in the text than its first
// (the "=" of an attribute after a blank): the places of that byte are the
// candidates. The same answer as findText.
template <std::size_t K, std::size_t N>
std::size_t findTextBy(std::string_view text, const char (&needle)[N], std::size_t from = 0)
{
    constexpr std::size_t length = N - 1;
    static_assert(K < length, "the byte is not in the needle");
    if (from >= text.size() || text.size() - from < length)
        return std::string_view::npos;
    const char* begin = text.data();
    const char* last = begin + (text.size() - length) + K;  // the byte's last place in a match
    for (const char* at = begin + from + K; at <= last; ++at) {
        at = static_cast<const char*>(std::memchr(at, needle[K], static_cast<std::size_t>(last - at) + 1));
        if (!at)
            break;
        if (std::memcmp(at - K, needle, length) == 0)
            return static_cast<std::size_t>(at - K - begin);
    }
    return std::string_view::npos;
}

template <std::size_t N>
bool containsText(std::string_view text, const char (&needle)[N])
{
    return findText(text, needle) != std::string_view::npos;
}

// Whether `needle` stands in `text` at `at`.
template <std::size_t N>
bool hasTextAt(std::string_view text, std::size_t at, const char (&needle)[N])
{
    constexpr std::size_t length = N - 1;
    return at <= text.size() && text.size() - at >= length && std::memcmp(text.data() + at, needle, length) == 0;
}

// The ASCII lower case of a byte; every other byte stays as it is.
inline char asciiLower(char c)
{
    return static_cast<char>(c + ((static_cast<unsigned char>(c - 'A') < 26u) << 5));
}

// hasTextAt and findText for a lower-case ASCII `needle`, with the ASCII
// letters of `text` compared without their case: the answers a search in
// lowerCase(text) gives, whose other changes touch no ASCII byte. For the
// markup of a line, which then needs no lower-cased copy.
template <std::size_t N>
bool hasTextAtIgnoringCase(std::string_view text, std::size_t at, const char (&needle)[N])
{
    constexpr std::size_t length = N - 1;
    if (at > text.size() || text.size() - at < length)
        return false;
    if constexpr (length <= 8 && std::endian::native == std::endian::little) {
        // One load of the text: a letter of the needle matches its capital
        // once the case bit is set on both sides; other bytes compare as
        // they are. The needle is known when compiling, and so are the two
        // words made of it.
        std::uint64_t wanted = 0, caseBits = 0;
        for (std::size_t i = 0; i < length; ++i) {
            wanted |= std::uint64_t{static_cast<unsigned char>(needle[i])} << (8 * i);
            if (needle[i] >= 'a' && needle[i] <= 'z')
                caseBits |= std::uint64_t{0x20} << (8 * i);
        }
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, length);
        return (word | caseBits) == wanted;
    } else {
        for (std::size_t i = 0; i < length; ++i)
            if (asciiLower(text[at + i]) != needle[i])
                return false;
        return true;
    }
}

// `needle` begins with a byte that is no letter, which is looked for as it is.
template <std::size_t N>
std::size_t findTextIgnoringCase(std::string_view text, const char (&needle)[N], std::size_t from = 0)
{
    return textsearch::findWith(text, needle, from, [&](const char* at) {
        return hasTextAtIgnoringCase(text, static_cast<std::size_t>(at - text.data()), needle);
    });
}

}  // namespace korvin
