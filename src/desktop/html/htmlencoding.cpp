// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlencoding.h"

#include "book/utf8.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <type_traits>

namespace korvin {
namespace {

constexpr std::size_t kSniffLength = 4096;

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char ch) {
        return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    });
    return out;
}

bool isNameChar(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' || ch == '.'
           || ch == ':';
}

// The charset name that starts at `from` in `text` (lower case), after an
// optional quote.
std::string nameAt(const std::string& text, std::size_t from)
{
    while (from < text.size() && (text[from] == ' ' || text[from] == '"' || text[from] == '\''))
        ++from;
    std::size_t end = from;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    return text.substr(from, end - from);
}

std::string charsetOfXmlDeclaration(const std::string& head)
{
    if (head.rfind("<?xml", 0) != 0)
        return {};
    const std::size_t close = head.find("?>");
    const std::size_t encoding = head.find("encoding", 0);
    if (encoding == std::string::npos || (close != std::string::npos && encoding > close))
        return {};
    const std::size_t equals = head.find('=', encoding);
    return equals == std::string::npos ? std::string() : nameAt(head, equals + 1);
}

// <meta charset="x"> and <meta http-equiv="Content-Type" content="...; charset=x">.
std::string charsetOfMeta(const std::string& head)
{
    for (std::size_t meta = head.find("<meta"); meta != std::string::npos;
         meta = head.find("<meta", meta + 5)) {
        const std::size_t end = head.find('>', meta);
        const std::string tag = head.substr(meta, end == std::string::npos ? std::string::npos : end - meta);
        const std::size_t charset = tag.find("charset");
        if (charset == std::string::npos)
            continue;
        std::size_t at = charset + 7;
        while (at < tag.size() && tag[at] == ' ')
            ++at;
        if (at < tag.size() && tag[at] == '=') {
            const std::string name = nameAt(tag, at + 1);
            if (!name.empty())
                return name;
        }
    }
    return {};
}

bool isUtf8Name(const std::string& name)
{
    return name == "utf-8" || name == "utf8";
}

bool isWindows1252Name(const std::string& name)
{
    return name == "iso-8859-1" || name == "iso8859-1" || name == "latin1" || name == "latin-1"
           || name == "l1" || name == "us-ascii" || name == "ascii" || name == "windows-1252"
           || name == "cp1252" || name == "x-cp1252" || name == "iso_8859-1";
}

std::string windows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        // The five bytes Windows-1252 leaves out keep the C1 control of their number.
        const char32_t c = windows1252CodePoint(b);
        if (b < 0x80)
            out += ch;
        else
            appendUtf8(out, c != 0 ? c : b);
    }
    return out;
}

// nullopt when iconv does not know the set.
std::optional<std::string> convertWithIconv(const std::string& charset, std::string_view bytes)
{
    const iconv_t opened = iconv_open("UTF-8", charset.c_str());
    if (opened == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    IconvHandle handle(opened);
    std::string out;
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::array<char, 16384> buffer{};
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(handle.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // An invalid or cut-off sequence: show a replacement and go on.
            appendUtf8(out, 0xFFFD);
            ++in;
            --inLeft;
        }
    }
    return out;
}

}  // namespace

std::string HtmlEncoding::declaredCharset(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return "utf-8";
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return "utf-16le";
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return "utf-16be";
    const std::string head = lowerAscii(bytes.substr(0, kSniffLength));
    std::string name = charsetOfXmlDeclaration(head);
    if (name.empty())
        name = charsetOfMeta(head);
    return name;
}

std::string HtmlEncoding::toUtf8(std::string_view bytes)
{
    const std::string charset = declaredCharset(bytes);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return utf8OrWindows1252(bytes.substr(3));
    if (charset == "utf-16le" || charset == "utf-16be") {
        if (auto text = convertWithIconv(charset, bytes.substr(2)))
            return *text;
        return {};
    }
    return converted(charset, bytes);
}

std::string HtmlEncoding::converted(const std::string& charset, std::string_view bytes)
{
    // A 16- or 32-bit set declared inside the file cannot be true of a file
    // whose declaration could be read as ASCII.
    if (charset.empty() || isUtf8Name(charset) || charset.rfind("utf-16", 0) == 0
        || charset.rfind("utf-32", 0) == 0 || charset.rfind("ucs", 0) == 0)
        return utf8OrWindows1252(bytes);
    if (isWindows1252Name(charset))
        return windows1252(bytes);
    if (auto text = convertWithIconv(charset, bytes))
        return *text;
    return utf8OrWindows1252(bytes);
}

std::string HtmlEncoding::utf8OrWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b < 0x80) {
            // Runs of ASCII are the common case; copy them in one go.
            std::size_t end = i + 1;
            // Eight bytes at a time while none has its high bit set.
            std::uint64_t word;
            while (end + sizeof word <= bytes.size()) {
                std::memcpy(&word, bytes.data() + end, sizeof word);
                if (word & 0x8080808080808080u)
                    break;
                end += sizeof word;
            }
            while (end < bytes.size() && static_cast<std::uint8_t>(bytes[end]) < 0x80)
                ++end;
            out.append(bytes.substr(i, end - i));
            i = end;
            continue;
        }
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length > 0) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += windows1252(bytes.substr(i, 1));
            ++i;
        }
    }
    return out;
}

bool HtmlEncoding::replaceC1Controls(std::string& text)
{
    // In valid UTF-8, 0xC2 only ever leads a character, and U+0080..U+009F
    // are exactly C2 80..C2 9F.
    std::size_t at = text.find('\xC2');
    bool changed = false;
    while (at != std::string::npos && at + 1 < text.size()) {
        const auto low = static_cast<std::uint8_t>(text[at + 1]);
        const char32_t meant = low >= 0x80 && low <= 0x9F ? windows1252CodePoint(low) : 0;
        std::size_t next = at + 2;
        if (meant != 0) {
            std::string character;
            appendUtf8(character, meant);
            text.replace(at, 2, character);
            next = at + character.size();
            changed = true;
        }
        at = text.find('\xC2', next);
    }
    return changed;
}

}  // namespace korvin
