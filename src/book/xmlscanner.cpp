#include "book/xmlscanner.h"

#include <array>
#include <cstring>

#include "book/xmltext.h"

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;

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

}  // namespace

XmlScanner::XmlScanner(std::string_view document)
    : m_doc(document)
{
}

std::string_view XmlScanner::localName() const
{
    const std::size_t colon = m_name.rfind(':');
    return colon == npos ? m_name : m_name.substr(colon + 1);
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

std::size_t XmlScanner::nameEnd(std::size_t from) const
{
    std::size_t at = from;
    while (at < m_doc.size() && !kEndsName[static_cast<unsigned char>(m_doc[at])])
        ++at;
    return at;
}

XmlScanner::Token XmlScanner::next()
{
    if (m_endPending) {
        m_endPending = false;
        m_open.pop_back();
        m_emptyElement = false;
        m_attributes.clear();
        if (m_open.empty()) {
            m_ended = true;
            m_endToken = Token::kEnd;
        }
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
            const void* less = std::memchr(m_doc.data() + m_pos, '<', m_doc.size() - m_pos);
            m_pos = less ? static_cast<std::size_t>(static_cast<const char*>(less) - m_doc.data()) : m_doc.size();
            // Text outside the root element is white space in a sound file
            // and is of no use in any other.
            if (m_open.empty())
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
    std::size_t at = m_pos + 1;
    const std::size_t end = nameEnd(at);
    if (end == at)
        return fail("a tag without a name");
    if (m_open.size() >= kMaxDepth)
        return fail("elements nested too deeply");
    m_name = m_doc.substr(at, end - at);
    m_attributes.clear();
    m_emptyElement = false;
    at = end;
    for (;;) {
        const std::size_t spaceFrom = at;
        while (at < m_doc.size() && isSpace(m_doc[at]))
            ++at;
        if (at >= m_doc.size())
            return fail("a tag without its end");
        if (m_doc[at] == '>') {
            ++at;
            break;
        }
        if (m_doc[at] == '/') {
            if (at + 1 >= m_doc.size() || m_doc[at + 1] != '>')
                return fail("a \"/\" inside a tag");
            m_emptyElement = true;
            at += 2;
            break;
        }
        if (at == spaceFrom)
            return fail("an attribute without white space before it");
        const std::size_t nameStop = nameEnd(at);
        if (nameStop == at)
            return fail("an attribute without a name");
        const std::string_view attributeName = m_doc.substr(at, nameStop - at);
        at = nameStop;
        while (at < m_doc.size() && isSpace(m_doc[at]))
            ++at;
        if (at >= m_doc.size() || m_doc[at] != '=')
            return fail("an attribute without a value");
        ++at;
        while (at < m_doc.size() && isSpace(m_doc[at]))
            ++at;
        if (at >= m_doc.size() || (m_doc[at] != '"' && m_doc[at] != '\''))
            return fail("an attribute value without quotes");
        const char quote = m_doc[at];
        const std::size_t close = m_doc.find(quote, at + 1);
        if (close == npos)
            return fail("an attribute value without its end");
        const std::string_view value = m_doc.substr(at + 1, close - at - 1);
        if (value.find('<') != npos)
            return fail("a \"<\" inside an attribute value");
        m_attributes.emplace_back(attributeName, value);
        at = close + 1;
    }
    m_pos = at;
    m_rootSeen = true;
    m_open.push_back(m_name);
    m_endPending = m_emptyElement;
    return Token::kStartElement;
}

XmlScanner::Token XmlScanner::endTag()
{
    std::size_t at = m_pos + 2;
    const std::size_t end = nameEnd(at);
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
