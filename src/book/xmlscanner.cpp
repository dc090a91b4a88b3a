// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/xmlscanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "book/xmltext.h"

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kHighs = 0x8080808080808080;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The bytes that end a name: white space and the characters of the markup
// around names. Everything else (letters of any script, digits, ".", "-",
// ":", "_") belongs to it.
constexpr std::array<bool, 256> kEndsName = [] {
    std::array<bool, 256> ends{};
    for (unsigned char c : {' ', '\t', '\n', '\r', '/', '>', '<', '=', '"', '\'', '\0', '&', '?', '!'})
        ends[c] = true;
    return ends;
}();

// The first `c` in `data` from `from` on, before `end`; `end` when there is
// none. Eight bytes are looked at together (the bytes equal to `c` become 0,
// and the first 0 byte of a word shows in its lowest marked byte); a machine
// that stores words the other way round looks at one byte after another.
std::size_t findByteIn(const char* data, std::size_t from, std::size_t end, char c)
{
    std::size_t at = from;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t many = kOnes * static_cast<unsigned char>(c);
        for (; at + 8 <= end; at += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + at, sizeof word);
            const std::uint64_t x = word ^ many;
            const std::uint64_t found = (x - kOnes) & ~x & kHighs;
            if (found != 0)
                return at + static_cast<std::size_t>(std::countr_zero(found) / 8);
        }
    }
    for (; at < end; ++at)
        if (data[at] == c)
            return at;
    return end;
}

// Where the name that begins at `from` ends: at the first byte of kEndsName.
// `colon` becomes the place of the name's last ":" (npos without one), which
// is met on the way anyway.
inline std::size_t nameEndIn(const char* data, std::size_t from, std::size_t size, std::size_t& colon)
{
    colon = npos;
    std::size_t at = from;
    if constexpr (std::endian::native == std::endian::little) {
        // Every byte that ends a name is below "A"; letters and the bytes of
        // UTF-8 sequences are not, so words without such a byte are passed
        // whole, and a digit, "-", "." or ":" of a name is looked up.
        constexpr std::uint64_t kBelowA = kOnes * 'A';
        while (at + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + at, sizeof word);
            const std::uint64_t below = (word - kBelowA) & ~word & kHighs;
            if (below == 0) {
                at += 8;
                continue;
            }
            at += static_cast<std::size_t>(std::countr_zero(below) / 8);
            if (kEndsName[static_cast<unsigned char>(data[at])])
                return at;
            if (data[at] == ':')
                colon = at;
            ++at;
        }
    }
    for (; at < size && !kEndsName[static_cast<unsigned char>(data[at])]; ++at)
        if (data[at] == ':')
            colon = at;
    return at;
}

}  // namespace

XmlScanner::XmlScanner(std::string_view document)
    : m_doc(document)
{
}

std::string_view XmlScanner::attribute(std::string_view name) const
{
    for (const auto& [key, value] : m_attributes)
        if (key == name)
            return value;
    return {};
}

bool XmlScanner::hasAttribute(std::string_view name) const
{
    for (const auto& attribute : m_attributes)
        if (attribute.first == name)
            return true;
    return false;
}

XmlScanner::Token XmlScanner::fail(const char* why)
{
    m_why = why;
    m_ended = true;
    m_endToken = Token::kError;
    return m_endToken;
}

// The first "<" from `from` on, or the end. One search from a start tag's
// "<" finds the next tag: the scan of the tag needs no look for a "<" inside
// its values (there is none before it), and the text after the tag is passed
// without another look.
std::size_t XmlScanner::lessFrom(std::size_t from)
{
    if (from < m_lessSearched || from > m_nextLess) {
        const std::size_t size = m_doc.size();
        const void* less = from < size ? std::memchr(m_doc.data() + from, '<', size - from) : nullptr;
        m_nextLess = less ? static_cast<std::size_t>(static_cast<const char*>(less) - m_doc.data()) : size;
        m_lessSearched = from;
    }
    return m_nextLess;
}

void XmlScanner::setTextWanted(bool wanted)
{
    // Text passed over after the last start tag and not read since is handed
    // out after all.
    if (wanted && !m_textWanted && m_pos == m_skippedTo)
        m_pos = m_skippedFrom;
    m_textWanted = wanted;
}

void XmlScanner::closeEmptyElement()
{
    if (!m_endPending)
        return;
    m_endPending = false;
    m_open.pop_back();
    m_emptyElement = false;
    m_attributes.clear();
    if (m_open.empty()) {
        m_ended = true;
        m_endToken = Token::kEnd;
    }
}

XmlScanner::Token XmlScanner::next()
{
    if (m_endPending) {
        closeEmptyElement();
        return Token::kEndElement;
    }
    while (!m_ended) {
        if (m_pos >= m_doc.size()) {
            if (!m_open.empty())
                return fail("the document ends inside an element");
            if (!m_rootSeen)
                return fail("no element");
            m_ended = true;
            break;
        }
        if (m_doc[m_pos] != '<') {
            const std::size_t start = m_pos;
            m_pos = lessFrom(m_pos);
            // Text outside the root element is white space in a sound file
            // and is of no use in any other.
            if (m_open.empty() || !m_textWanted)
                continue;
            m_text = m_doc.substr(start, m_pos - start);
            m_cdata = false;
            return Token::kText;
        }
        const std::string_view rest = m_doc.substr(m_pos);
        if (rest.size() < 2)
            return fail("a lone \"<\"");
        switch (rest[1]) {
        case '/':
            return endTag();
        case '?': {
            const std::size_t end = rest.find("?>", 2);
            if (end == npos)
                return fail("a processing instruction without its end");
            m_pos += end + 2;
            continue;
        }
        case '!':
            if (rest.substr(0, 4) == "<!--") {
                const std::size_t end = rest.find("-->", 4);
                if (end == npos)
                    return fail("a comment without its end");
                m_pos += end + 3;
                continue;
            }
            if (rest.substr(0, 9) == "<![CDATA[") {
                const std::size_t end = rest.find("]]>", 9);
                if (end == npos)
                    return fail("a CDATA section without its end");
                if (m_open.empty())
                    return fail("a CDATA section outside the root element");
                m_text = rest.substr(9, end - 9);
                m_cdata = true;
                m_pos += end + 3;
                if (!m_textWanted)
                    continue;
                return Token::kText;
            }
            if (rest.substr(0, 9) == "<!DOCTYPE") {
                if (m_rootSeen)
                    return fail("a DOCTYPE inside the document");
                if (!skipDoctype())
                    return fail("a DOCTYPE without its end");
                continue;
            }
            return fail("an unknown declaration");
        default:
            return startTag();
        }
    }
    return m_endToken;
}

// Passed over as a whole: the internal subset between "[" and "]" with its
// quoted literals and comments, which may hold any of "[]<>" themselves.
bool XmlScanner::skipDoctype()
{
    std::size_t at = m_pos + 9;
    int subset = 0;
    while (at < m_doc.size()) {
        const char c = m_doc[at];
        if (c == '"' || c == '\'') {
            const std::size_t close = m_doc.find(c, at + 1);
            if (close == npos)
                return false;
            at = close + 1;
        } else if (subset > 0 && m_doc.compare(at, 4, "<!--") == 0) {
            const std::size_t close = m_doc.find("-->", at + 4);
            if (close == npos)
                return false;
            at = close + 3;
        } else if (c == '[') {
            ++subset;
            ++at;
        } else if (c == ']') {
            if (subset > 0)
                --subset;
            ++at;
        } else if (c == '>' && subset == 0) {
            m_pos = at + 1;
            return true;
        } else {
            ++at;
        }
    }
    return false;
}

XmlScanner::Token XmlScanner::startTag()
{
    // The document in locals: the attributes written meanwhile could alias
    // the members for all the compiler knows.
    const char* const data = m_doc.data();
    const std::size_t size = m_doc.size();
    std::size_t at = m_pos + 1;
    // No "<" comes before this one inside the tag; one after it ends a value
    // as a fault.
    const std::size_t less = lessFrom(at);
    std::size_t colon = npos;
    const std::size_t end = nameEndIn(data, at, size, colon);
    if (end == at)
        return fail("a tag without a name");
    if (m_open.size() >= kMaxDepth)
        return fail("elements nested too deeply");
    m_name = std::string_view(data + at, end - at);
    m_localName = colon == npos ? m_name : std::string_view(data + colon + 1, end - colon - 1);
    m_attributes.clear();
    m_emptyElement = false;
    at = end;
    for (;;) {
        const std::size_t spaceFrom = at;
        // Attributes are mostly parted by one space.
        if (at < size && data[at] == ' ')
            ++at;
        while (at < size && isSpace(data[at]))
            ++at;
        if (at >= size)
            return fail("a tag without its end");
        if (data[at] == '>') {
            ++at;
            break;
        }
        if (data[at] == '/') {
            if (at + 1 >= size || data[at + 1] != '>')
                return fail("a \"/\" inside a tag");
            m_emptyElement = true;
            at += 2;
            break;
        }
        if (at == spaceFrom)
            return fail("an attribute without white space before it");
        const std::size_t nameStop = nameEndIn(data, at, size, colon);
        if (nameStop == at)
            return fail("an attribute without a name");
        const std::string_view attributeName(data + at, nameStop - at);
        at = nameStop;
        if (at < size && data[at] != '=')
            while (at < size && isSpace(data[at]))
                ++at;
        if (at >= size || data[at] != '=')
            return fail("an attribute without a value");
        ++at;
        if (at < size && data[at] != '"')
            while (at < size && isSpace(data[at]))
                ++at;
        if (at >= size || (data[at] != '"' && data[at] != '\''))
            return fail("an attribute value without quotes");
        // The first quote before the next "<" ends the value.
        const std::size_t close = findByteIn(data, at + 1, less, data[at]);
        if (close >= size)
            return fail("an attribute value without its end");
        if (close == less)
            return fail("a \"<\" inside an attribute value");
        m_attributes.emplace_back(attributeName, std::string_view(data + at + 1, close - at - 1));
        at = close + 1;
    }
    // Text after the tag that is not wanted is passed over at once: it ends
    // at the next "<", which is known.
    m_pos = at;
    if (!m_textWanted) {
        m_skippedFrom = at;
        m_skippedTo = less;
        m_pos = less;
    }
    m_rootSeen = true;
    m_open.push_back(m_name);
    m_endPending = m_emptyElement;
    return Token::kStartElement;
}

XmlScanner::Token XmlScanner::endTag()
{
    std::size_t at = m_pos + 2;
    std::size_t colon = npos;
    const std::size_t end = nameEndIn(m_doc.data(), at, m_doc.size(), colon);
    const std::string_view name = m_doc.substr(at, end - at);
    at = end;
    while (at < m_doc.size() && isSpace(m_doc[at]))
        ++at;
    if (at >= m_doc.size() || m_doc[at] != '>')
        return fail("an end tag without its end");
    if (m_open.empty() || m_open.back() != name)
        return fail("an end tag that closes no open element");
    m_pos = at + 1;
    m_name = name;
    m_localName = colon == npos ? name : m_doc.substr(colon + 1, end - colon - 1);
    m_open.pop_back();
    m_attributes.clear();
    m_emptyElement = false;
    if (m_open.empty()) {
        m_ended = true;
        m_endToken = Token::kEnd;
    }
    return Token::kEndElement;
}

std::string elementText(XmlScanner& scanner, std::size_t maxBytes)
{
    std::string text;
    const std::size_t depth = scanner.depth();
    for (;;) {
        const XmlScanner::Token token = scanner.next();
        if (token == XmlScanner::Token::kEnd || token == XmlScanner::Token::kError)
            break;
        if (token == XmlScanner::Token::kEndElement && scanner.depth() < depth)
            break;
        if (token != XmlScanner::Token::kText || text.size() >= maxBytes)
            continue;
        // Decoding never makes a text longer, so the part that can fit is enough.
        const std::string_view raw = scanner.text().substr(0, maxBytes - text.size());
        if (scanner.isCData())
            text.append(raw);
        else
            appendXmlText(raw, text);
    }
    if (text.size() > maxBytes)
        text.resize(maxBytes);
    return text;
}

}  // namespace korvin
