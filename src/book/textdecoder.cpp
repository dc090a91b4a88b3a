// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textdecoder.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "book/codepages.h"
#include "book/utf8.h"

namespace korvin {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Appends the code point as UTF-8 unless that would pass the length bound.
bool appendCodePoint(std::string& out, char32_t c)
{
    const std::size_t before = out.size();
    appendUtf8(out, c);
    if (out.size() > TextDecoder::kMaxBytes) {
        out.resize(before);
        return false;
    }
    return true;
}

// The length of the well-formed UTF-8 sequence at the front of `bytes`, or,
// when it is not well formed, 0 and in `invalid` the length of its longest
// well-formed start (at least 1): that much becomes one U+FFFD.
std::size_t utf8Sequence(std::string_view bytes, std::size_t& invalid)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    invalid = 1;
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size())
            return 0;
        const unsigned char c = byte(i);
        if (i == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF))
            return 0;
        invalid = i + 1;
    }
    return length;
}

std::string decodeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(std::min(bytes.size(), TextDecoder::kMaxBytes));
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t invalid = 0;
        const std::size_t length = utf8Sequence(bytes.substr(i), invalid);
        if (length == 0) {
            if (out.size() + kReplacement.size() > TextDecoder::kMaxBytes)
                break;
            out.append(kReplacement);
            i += invalid;
            continue;
        }
        if (out.size() + length > TextDecoder::kMaxBytes)
            break;
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out;
}

std::string decodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(std::min(bytes.size() + bytes.size() / 2, TextDecoder::kMaxBytes));
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        const char32_t known = windows1252CodePoint(c);
        const char32_t codePoint = known != 0 || c == 0 ? known : 0xFFFD;
        if (!appendCodePoint(out, codePoint))
            break;
    }
    return out;
}

iconv_t asIconv(void* converter)
{
    return static_cast<iconv_t>(converter);
}

}  // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        // ASCII runs are the common case; take eight bytes at a time.
        while (i + 8 <= bytes.size()) {
            unsigned char any = 0;
            for (std::size_t k = 0; k < 8; ++k)
                any |= static_cast<unsigned char>(bytes[i + k]);
            if (any & 0x80)
                break;
            i += 8;
        }
        if (i >= bytes.size())
            break;
        std::size_t invalid = 0;
        const std::size_t length = utf8Sequence(bytes.substr(i), invalid);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void TextDecoder::IconvCloser::operator()(void* converter) const
{
    iconv_close(asIconv(converter));
}

TextDecoder::TextDecoder(int codePage)
    : m_codePage(codePage)
{
    if (codePage == 0 || codePage == 65001)
        return;
    const std::string name(iconvName(codePage));
    if (name.empty())
        return;
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    if (converter != reinterpret_cast<iconv_t>(-1))
        m_iconv.reset(converter);
}

TextDecoder::~TextDecoder() = default;
TextDecoder::TextDecoder(TextDecoder&&) noexcept = default;
TextDecoder& TextDecoder::operator=(TextDecoder&&) noexcept = default;

std::string TextDecoder::decode(std::string_view bytes)
{
    if (m_codePage == 65001)
        return decodeUtf8(bytes);
    if (m_iconv)
        return decodeWithIconv(bytes);
    return isValidUtf8(bytes) ? decodeUtf8(bytes) : decodeWindows1252(bytes);
}

std::string TextDecoder::decodeWithIconv(std::string_view bytes)
{
    iconv_t converter = asIconv(m_iconv.get());
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state

    // Three bytes of UTF-8 per byte of input cover the code pages of the
    // table; the buffer grows up to the bound if a text needs more.
    std::string out(std::min(kMaxBytes, bytes.size() * 3 + 16), '\0');
    std::size_t used = 0;
    // iconv takes non-const input pointers but never writes through them.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    const auto convert = [&](char** input, std::size_t* inputLeft) {
        char* to = out.data() + used;
        std::size_t toLeft = out.size() - used;
        const std::size_t result = iconv(converter, input, inputLeft, &to, &toLeft);
        const int error = errno;
        used = out.size() - toLeft;
        return result == static_cast<std::size_t>(-1) ? error : 0;
    };
    const auto grow = [&] {
        if (out.size() >= kMaxBytes)
            return false;
        out.resize(std::min(kMaxBytes, out.size() * 2));
        return true;
    };
    const auto replace = [&] {
        while (out.size() - used < kReplacement.size())
            if (!grow())
                return false;
        out.replace(used, kReplacement.size(), kReplacement);
        used += kReplacement.size();
        return true;
    };
    while (inLeft > 0) {
        const int error = convert(&in, &inLeft);
        if (error == 0)
            break;
        if (error == E2BIG) {
            if (!grow())
                break;  // the length bound is reached
        } else if (error == EILSEQ) {
            // One byte that starts no character of the code page: replace it
            // and go on behind it.
            if (!replace())
                break;
            ++in;
            --inLeft;
        } else {
            replace();  // EINVAL: a character cut off by the end of the text
            break;
        }
    }
    // Stateful code pages (ISO-2022, UTF-7) may owe a last character.
    while (convert(nullptr, nullptr) == E2BIG && grow()) {
    }
    out.resize(used);
    return out;
}

std::string decode(std::string_view bytes, int codePage)
{
    return TextDecoder(codePage).decode(bytes);
}

}  // namespace korvin
