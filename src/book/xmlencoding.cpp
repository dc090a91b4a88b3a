// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/xmlencoding.h"

#include "book/codepages.h"
#include "book/textcase.h"
#include "book/utf8.h"
#include "book/xmltext.h"

namespace korvin {

namespace {

constexpr int kUtf8 = 65001;

std::string fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::string text;
    text.reserve(bytes.size());
    const auto unit = [&](std::size_t at) {
        const auto high = static_cast<unsigned char>(bytes[bigEndian ? at : at + 1]);
        const auto low = static_cast<unsigned char>(bytes[bigEndian ? at + 1 : at]);
        return static_cast<char32_t>(high << 8 | low);
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xD800 && c <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t next = unit(at + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                at += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        appendUtf8(text, c);
    }
    return text;
}

enum class Signature { kNone, kUtf8, kUtf16LittleEndian, kUtf16BigEndian };

Signature signatureOf(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return Signature::kUtf8;
    if (bytes.size() < 2)
        return Signature::kNone;
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    if ((first == 0xFF && second == 0xFE) || (first == '<' && second == 0))
        return Signature::kUtf16LittleEndian;
    if ((first == 0xFE && second == 0xFF) || (first == 0 && second == '<'))
        return Signature::kUtf16BigEndian;
    return Signature::kNone;
}

}  // namespace

std::string_view utf8Document(std::string_view bytes, std::string& storage)
{
    switch (signatureOf(bytes)) {
    case Signature::kUtf8:
        return bytes.substr(3);
    case Signature::kUtf16LittleEndian:
        storage = fromUtf16(bytes.substr(bytes[0] == '<' ? 0 : 2), false);
        return storage;
    case Signature::kUtf16BigEndian:
        storage = fromUtf16(bytes.substr(bytes[0] == '\0' ? 0 : 2), true);
        return storage;
    case Signature::kNone:
        break;
    }
    return bytes;
}

std::string_view declaredEncoding(std::string_view document)
{
    if (document.substr(0, 5) != "<?xml")
        return {};
    const std::string_view declaration = document.substr(0, document.find("?>"));
    const std::size_t name = declaration.find("encoding");
    if (name == std::string_view::npos)
        return {};
    std::size_t at = declaration.find_first_of("\"'", name);
    if (at == std::string_view::npos)
        return {};
    const std::size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos)
        return {};
    ++at;
    return declaration.substr(at, close - at);
}

int documentCodePage(std::string_view bytes)
{
    // A byte order mark or UTF-16 tells how the file was written, whatever
    // its declaration names: utf8Document() has made it UTF-8.
    if (signatureOf(bytes) != Signature::kNone)
        return kUtf8;
    const std::string_view declared = declaredEncoding(bytes);
    // Nearly every file declares UTF-8, or nothing.
    if (declared.empty() || equalsIgnoringAsciiCase(declared, "utf-8"))
        return kUtf8;
    const std::string encoding = lowerCase(declared);
    if (encoding == "utf8" || encoding.rfind("utf-16", 0) == 0)
        return kUtf8;
    return codePageFromCharsetLine(encoding);
}

}  // namespace korvin
