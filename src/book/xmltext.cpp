// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/xmltext.h"

#include "book/utf8.h"

namespace korvin {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The character of a reference "&#...;" or "&#x...;" whose digits are
// `digits`; kReplacement when they name no character.
char32_t characterReference(std::string_view digits, bool hex)
{
    if (digits.empty() || digits.size() > 8)
        return kReplacement;
    char32_t value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return kReplacement;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return kReplacement;
    return value;
}

// Appends the replacement of the reference `name` (between "&" and ";");
// false when it is no reference this reader replaces.
bool appendReference(std::string_view name, std::string& out)
{
    if (name == "lt")
        out += '<';
    else if (name == "gt")
        out += '>';
    else if (name == "amp")
        out += '&';
    else if (name == "quot")
        out += '"';
    else if (name == "apos")
        out += '\'';
    else if (name.size() > 1 && name[0] == '#' && (name[1] == 'x' || name[1] == 'X'))
        appendUtf8(out, characterReference(name.substr(2), true));
    else if (!name.empty() && name[0] == '#')
        appendUtf8(out, characterReference(name.substr(1), false));
    else
        return false;
    return true;
}

}  // namespace

void appendXmlText(std::string_view raw, std::string& out)
{
    std::size_t at = 0;
    while (at < raw.size()) {
        const std::size_t amp = raw.find('&', at);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(at));
            return;
        }
        out.append(raw.substr(at, amp - at));
        // A reference is short: a ";" far away belongs to something else.
        const std::size_t semicolon = raw.substr(amp, 32).find(';');
        if (semicolon == std::string_view::npos || !appendReference(raw.substr(amp + 1, semicolon - 1), out)) {
            out += '&';
            at = amp + 1;
            continue;
        }
        at = amp + semicolon + 1;
    }
}

std::string xmlText(std::string_view raw)
{
    std::string text;
    appendXmlText(raw, text);
    return text;
}

void assignXmlText(std::string_view raw, std::string& out)
{
    if (raw.find('&') == std::string_view::npos) {
        out.assign(raw);
        return;
    }
    out.clear();
    appendXmlText(raw, out);
}

std::string collapseWhiteSpace(std::string text)
{
    std::size_t kept = 0;
    bool space = false;
    for (const char c : text) {
        if (isSpace(c)) {
            space = kept > 0;
            continue;
        }
        if (space)
            text[kept++] = ' ';
        space = false;
        text[kept++] = c;
    }
    text.resize(kept);
    return text;
}

std::string bookText(std::string text, TextDecoder& decoder)
{
    const bool utf8 = decoder.codePage() == 65001 || decoder.codePage() == 0;
    if (utf8 && text.size() <= TextDecoder::kMaxBytes && isValidUtf8(text))
        return text;
    return decoder.decode(text);
}

bool isAscii(std::string_view text)
{
    unsigned char any = 0;
    for (const char c : text)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

std::string nameText(std::string_view raw, TextDecoder& decoder)
{
    if (decoder.codePage() == 65001 || isAscii(raw))
        return xmlText(raw);
    return xmlText(bookText(std::string(raw), decoder));
}

std::string_view trimWhiteSpace(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view nextWord(std::string_view list, std::size_t& at)
{
    while (at < list.size() && isSpace(list[at]))
        ++at;
    const std::size_t start = at;
    while (at < list.size() && !isSpace(list[at]))
        ++at;
    return list.substr(start, at - start);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

}  // namespace korvin
