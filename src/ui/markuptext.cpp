// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/markuptext.h"

#include <algorithm>
#include <cstring>

#include "book/textcase.h"
#include "book/utf8.h"

namespace korvin {

namespace {

// A stretch of text whose markup is not the text itself: a reference, a
// no-break space or a soft hyphen. Offsets are within one run of text.
struct Unit {
    std::size_t textBegin;
    std::size_t textLength;
    std::size_t markupBegin;
    std::size_t markupLength;
};

constexpr std::size_t kLongestReference = 40;

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(text[at + i]) != prefix[i])
            return false;
    return true;
}

// Appends what a space and a soft hyphen are for a reader: a space, nothing.
void appendCharacter(std::string& out, char32_t character)
{
    if (character == 0xA0)
        out += ' ';
    else if (character != 0xAD)
        appendUtf8(out, character);
}

// The reference at markup[at] ('&') appended to `out`; the markup it takes,
// 0 when none stands there (the '&' is then text).
std::size_t decodeReference(std::string_view markup, std::size_t at, std::string& out)
{
    const std::size_t limit = std::min(markup.size(), at + kLongestReference);
    std::size_t end = at + 1;
    while (end < limit && markup[end] != ';' && markup[end] != '&' && markup[end] != '<' && !isSpace(markup[end]))
        ++end;
    if (end >= limit || markup[end] != ';' || end == at + 1)
        return 0;
    const std::string_view name = markup.substr(at + 1, end - at - 1);
    const std::size_t length = end - at + 1;
    if (name[0] == '#') {
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            return 0;
        char32_t value = 0;
        for (const char c : digits) {
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f')
                digit = lowerAscii(c) - 'a' + 10;
            else
                return 0;
            value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
            if (value > 0x10FFFF)
                return 0;
        }
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
            return 0;
        appendCharacter(out, value);
        return length;
    }
    static constexpr std::pair<std::string_view, char32_t> kNames[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}, {"shy", 0xAD},
    };
    for (const auto& [known, character] : kNames) {
        if (name == known) {
            appendCharacter(out, character);
            return length;
        }
    }
    return 0;
}

// The text of markup[begin, end), which holds no tags, with the units where
// it differs from the markup.
void decodeRun(std::string_view markup, std::size_t begin, std::size_t end, std::string& text,
               std::vector<Unit>& units)
{
    text.clear();
    units.clear();
    const std::string_view run = markup.substr(begin, end - begin);
    std::size_t i = 0;
    while (i < run.size()) {
        const char c = run[i];
        const std::size_t before = text.size();
        std::size_t used = 0;
        if (c == '&')
            used = decodeReference(run, i, text);
        else if (c == '\xC2' && i + 1 < run.size() && (run[i + 1] == '\xA0' || run[i + 1] == '\xAD'))
            used = 2, appendCharacter(text, static_cast<unsigned char>(run[i + 1]));
        if (used > 0) {
            units.push_back(Unit{before, text.size() - before, i, used});
            i += used;
            continue;
        }
        text += c;
        ++i;
    }
}

// The unit at or before text offset `at`, nullptr when none.
const Unit* unitBefore(const std::vector<Unit>& units, std::size_t at)
{
    const auto after = std::upper_bound(units.begin(), units.end(), at,
                                        [](std::size_t offset, const Unit& unit) { return offset < unit.textBegin; });
    return after == units.begin() ? nullptr : &*(after - 1);
}

// Where the character at text offset `at` begins in the markup.
std::size_t markupBegin(const std::vector<Unit>& units, std::size_t at)
{
    const Unit* unit = unitBefore(units, at);
    if (!unit)
        return at;
    if (at < unit->textBegin + unit->textLength)
        return unit->markupBegin;
    return unit->markupBegin + unit->markupLength + (at - unit->textBegin - unit->textLength);
}

// Where the character at text offset `at` ends in the markup.
std::size_t markupEnd(const std::vector<Unit>& units, std::size_t at)
{
    const Unit* unit = unitBefore(units, at);
    if (!unit)
        return at + 1;
    if (at < unit->textBegin + unit->textLength)
        return unit->markupBegin + unit->markupLength;
    return unit->markupBegin + unit->markupLength + (at - unit->textBegin - unit->textLength) + 1;
}

// The end of what raw-text elements hold: their end tag.
std::size_t endOfRawText(std::string_view markup, std::size_t from, std::string_view name)
{
    for (std::size_t at = markup.find("</", from); at != std::string_view::npos; at = markup.find("</", at + 2))
        if (startsWithNoCase(markup, at + 2, name))
            return at;
    return markup.size();
}

// Where the markup that begins with the '<' at `at` ends; `at` itself when the
// '<' opens nothing and is text.
std::size_t endOfMarkup(std::string_view markup, std::size_t at)
{
    const std::size_t size = markup.size();
    if (markup.compare(at, 4, "<!--") == 0) {
        const std::size_t close = markup.find("-->", at + 4);
        return close == std::string_view::npos ? size : close + 3;
    }
    const char next = at + 1 < size ? markup[at + 1] : '\0';
    const bool startTag = isLetter(next);
    if (!startTag && !(next == '/' && at + 2 < size && isLetter(markup[at + 2])) && next != '!' && next != '?')
        return at;
    // Quoted attribute values may hold '>'.
    std::size_t i = at + 1;
    char previous = '\0';
    while (i < size && markup[i] != '>') {
        const char c = markup[i];
        if ((c == '"' || c == '\'') && previous == '=') {
            const std::size_t close = markup.find(c, i + 1);
            if (close == std::string_view::npos)
                return size;
            i = close + 1;
            previous = c;
            continue;
        }
        if (!isSpace(c))
            previous = c;
        ++i;
    }
    if (i >= size)
        return size;
    const std::size_t end = i + 1;
    if (startTag && markup[i - 1] != '/') {
        for (const std::string_view raw : {std::string_view("script"), std::string_view("style")}) {
            const std::size_t after = at + 1 + raw.size();
            if (startsWithNoCase(markup, at + 1, raw) && after < size && !isLetter(markup[after]) &&
                !(markup[after] >= '0' && markup[after] <= '9'))
                return endOfRawText(markup, end, raw);
        }
    }
    return end;
}

// Calls `run(begin, end)` for every stretch of text between two pieces of markup.
template <typename Run>
void forEachRun(std::string_view markup, Run&& run)
{
    std::size_t textBegin = 0;
    std::size_t at = 0;
    while (at < markup.size()) {
        const void* found = std::memchr(markup.data() + at, '<', markup.size() - at);
        if (!found)
            break;
        at = static_cast<std::size_t>(static_cast<const char*>(found) - markup.data());
        const std::size_t end = endOfMarkup(markup, at);
        if (end == at) {
            ++at;
            continue;
        }
        if (at > textBegin)
            run(textBegin, at);
        textBegin = at = end;
    }
    if (markup.size() > textBegin)
        run(textBegin, markup.size());
}

}  // namespace

std::vector<MarkupText::Range> MarkupText::find(std::string_view markup, std::string_view term)
{
    std::vector<Range> ranges;
    if (term.empty())
        return ranges;
    std::string text;
    std::vector<Unit> units;
    forEachRun(markup, [&](std::size_t begin, std::size_t end) {
        decodeRun(markup, begin, end, text, units);
        lowerCaseInPlace(text.data(), text.size());
        std::size_t from = 0;
        std::size_t at;
        while (from < text.size() && (at = text.find(term, from)) != std::string::npos) {
            const std::size_t last = at + term.size() - 1;
            ranges.push_back(Range{begin + markupBegin(units, at), begin + markupEnd(units, last)});
            from = last + 2;
        }
    });
    return ranges;
}

std::string MarkupText::decode(std::string_view markup)
{
    std::string text;
    std::vector<Unit> units;
    decodeRun(markup, 0, markup.size(), text, units);
    return text;
}

}  // namespace korvin
