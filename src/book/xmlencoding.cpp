// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/xmlencoding.h"

#include "book/codepages.h"
#include "book/textcase.h"
#include "book/utf8.h"

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

}  // namespace

std::string_view utf8Document(std::string_view bytes, std::string& storage)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return bytes.substr(3);
    if (bytes.size() >= 2) {
        const auto first = static_cast<unsigned char>(bytes[0]);
        const auto second = static_cast<unsigned char>(bytes[1]);
        if ((first == 0xFF && second == 0xFE) || (first == '<' && second == 0)) {
            storage = fromUtf16(bytes.substr(first == 0xFF ? 2 : 0), false);
            return storage;
        }
        if ((first == 0xFE && second == 0xFF) || (first == 0 && second == '<')) {
            storage = fromUtf16(bytes.substr(first == 0xFE ? 2 : 0), true);
            return storage;
        }
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

int documentCodePage(std::string_view document)
{
    const std::string encoding = lowerCase(declaredEncoding(document));
    if (encoding.empty() || encoding == "utf-8" || encoding == "utf8" || encoding.rfind("utf-16", 0) == 0)
        return kUtf8;
    return codePageFromCharsetLine(encoding);
}

}  // namespace korvin
