// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmltextdocuments.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "book/regularfile.h"
#include "book/utf8.h"
#include "desktop/html/dtbookdocument.h"
#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlelements.h"
#include "desktop/html/htmlencoding.h"
#include "desktop/html/htmlnode.h"

namespace korvin {

namespace {

// What an element means for the text, as the text view shows it (one table of
// elements serves both). A hidden element's content runs up to its end tag. A
// head holds meta data, hidden elements and the head's own ones; any other
// element ends it, as it does for the parser.
enum class Kind { kInline, kBlock, kCell, kBreak, kPre, kHead, kHidden, kHeadOnly };

// Asked for every tag of every document a search reads.
Kind kindOf(std::string_view name)
{
    if (name == "br")
        return Kind::kBreak;
    if (name == "head")
        return Kind::kHead;
    const HtmlElement* element = htmlElement(name);
    if (!element)
        return Kind::kInline;
    if (element->display == HtmlDisplay::None)
        return Kind::kHidden;
    if (element->preformatted)
        return Kind::kPre;
    if (element->headContent)
        return Kind::kHeadOnly;
    switch (element->display) {
    case HtmlDisplay::Inline:
        return Kind::kInline;
    case HtmlDisplay::TableCell:
        return Kind::kCell;
    default:
        return Kind::kBlock;
    }
}

// The entities of the view's HTML parser. Its table answers by a walk over
// all its names; a document uses a handful again and again.
class EntityNames {
public:
    // 0 when there is no such entity.
    char32_t lookup(std::string_view name)
    {
        for (const auto& [known, value] : m_known)
            if (known == name)
                return value;
        const std::string terminated(name);
        const htmlEntityDesc* entity = htmlEntityLookup(reinterpret_cast<const xmlChar*>(terminated.c_str()));
        const char32_t value = entity ? entity->value : 0;
        if (m_known.size() < kKept)
            m_known.emplace_back(terminated, value);
        return value;
    }

private:
    static constexpr std::size_t kKept = 64;
    std::vector<std::pair<std::string, char32_t>> m_known;
};

constexpr std::size_t kLongestReference = 40;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameChar(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.';
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The character a reference stands for, and how much markup it takes (0
// when `markup` at `at` holds none): "&name;" by the parser's entity table,
// "&#228;" and "&#xE4;".
std::pair<char32_t, std::size_t> referenceAt(std::string_view markup, std::size_t at, EntityNames& entities)
{
    const std::size_t limit = std::min(markup.size(), at + kLongestReference);
    std::size_t end = at + 1;
    while (end < limit && (isNameChar(markup[end]) || markup[end] == '#'))
        ++end;
    if (end >= limit || markup[end] != ';' || end == at + 1)
        return {0, 0};
    const std::string_view name = markup.substr(at + 1, end - at - 1);
    if (name[0] != '#') {
        const char32_t value = entities.lookup(name);
        return {value, value == 0 ? 0 : end - at + 1};
    }
    const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty())
        return {0, 0};
    char32_t value = 0;
    for (const char c : digits) {
        const char lower = lowerAscii(c);
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && lower >= 'a' && lower <= 'f')
            digit = lower - 'a' + 10;
        else
            return {0, 0};
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > 0x10FFFF)
            return {0, 0};
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
        return {0, 0};
    return {value, end - at + 1};
}

// Writes the text with the separators it needs, and gives each id the offset
// of the first character that follows it.
class TextWriter {
public:
    enum class Gap { kNone, kSpace, kCell, kLine };

    TextWriter(DocumentText& out, EntityNames& entities, std::size_t expected)
        : m_out(out)
        , m_entities(entities)
    {
        m_out.text.reserve(expected);
    }

    void anchor(std::string id)
    {
        m_pending.push_back(m_out.anchors.size());
        m_out.anchors.push_back(DocumentText::Anchor{std::move(id), 0});
    }

    void gap(Gap gap)
    {
        if (!m_out.text.empty() && gap > m_gap)
            m_gap = gap;
    }

    // A stretch of markup between two tags.
    void text(std::string_view run, bool preformatted)
    {
        std::size_t i = 0;
        while (i < run.size()) {
            // Ordinary characters go over in one piece, single blanks between
            // words with them.
            std::size_t plain = i;
            while (plain < run.size()) {
                if (!isSpecial(run[plain])) {
                    ++plain;
                } else if (run[plain] == ' ' && plain > i && plain + 1 < run.size() && !isSpecial(run[plain + 1])) {
                    plain += 2;
                } else {
                    break;
                }
            }
            if (plain > i) {
                begin();
                m_out.text.append(run.data() + i, plain - i);
                i = plain;
                continue;
            }
            const char c = run[i];
            if (c == '&') {
                const auto [character, length] = referenceAt(run, i, m_entities);
                if (length > 0) {
                    character32(character, preformatted);
                    i += length;
                    continue;
                }
                begin();
                m_out.text += c;
            } else if (c == '\xC2') {
                if (i + 1 < run.size() && (run[i + 1] == '\xA0' || run[i + 1] == '\xAD')) {
                    character32(static_cast<unsigned char>(run[i + 1]), preformatted);
                    i += 2;
                    continue;
                }
                begin();
                m_out.text += c;
            } else if (c == '\r') {
            } else if (preformatted) {
                if (c == '\n')
                    gap(Gap::kLine);
                else
                    put(c);
            } else {
                gap(Gap::kSpace);
            }
            ++i;
        }
    }

    void finish()
    {
        for (const std::size_t index : m_pending)
            m_out.anchors[index].offset = m_out.text.size();
        m_pending.clear();
    }

private:
    static bool isSpecial(char c) { return kSpecial[static_cast<unsigned char>(c)]; }

    // White space, '&' and the first byte of a no-break space or soft hyphen.
    static constexpr std::array<bool, 256> kSpecial = [] {
        std::array<bool, 256> special{};
        for (const unsigned char c : {' ', '\t', '\n', '\r', '\f', '&', '\xC2'})
            special[c] = true;
        return special;
    }();

    void character32(char32_t character, bool preformatted)
    {
        // "&#146;" means what the text view shows for it, Windows-1252's ’.
        if (character >= 0x80 && character <= 0x9F && windows1252CodePoint(static_cast<unsigned char>(character)) != 0)
            character = windows1252CodePoint(static_cast<unsigned char>(character));
        if (character == 0xAD)
            return;
        if (character == 0xA0) {
            put(' ');
            return;
        }
        if (character < 0x80 && isSpace(static_cast<char>(character))) {
            text(std::string(1, static_cast<char>(character)), preformatted);
            return;
        }
        begin();
        appendUtf8(m_out.text, character);
    }

    void put(char c)
    {
        begin();
        m_out.text += c;
    }

    // Before a character: the gap that comes before it, and the ids waiting for it.
    void begin()
    {
        if (m_gap != Gap::kNone) {
            static constexpr char kGapText[] = {'\0', ' ', '\t', '\n'};
            m_out.text += kGapText[static_cast<int>(m_gap)];
            m_gap = Gap::kNone;
        }
        if (!m_pending.empty())
            finish();
    }

    DocumentText& m_out;
    EntityNames& m_entities;
    std::vector<std::size_t> m_pending;
    Gap m_gap = Gap::kNone;
};

// One tag of the markup.
struct Tag {
    // The name in lower case, cut after kNameLength characters (longer than
    // any name that matters); empty for comments and declarations.
    static constexpr std::size_t kNameLength = 15;
    std::array<char, kNameLength> nameBuffer{};
    std::size_t nameLength = 0;
    std::string_view name() const { return {nameBuffer.data(), nameLength}; }
    bool end = false;
    bool selfClosing = false;
    std::string id;
    std::size_t next = 0;  // where the markup goes on after it
};

// The value of the attribute that begins at `at` (after its '='); moves `at` past it.
std::string_view attributeValue(std::string_view markup, std::size_t& at)
{
    while (at < markup.size() && isSpace(markup[at]))
        ++at;
    if (at < markup.size() && (markup[at] == '"' || markup[at] == '\'')) {
        const char quote = markup[at];
        const std::size_t close = markup.find(quote, at + 1);
        const std::size_t end = close == std::string_view::npos ? markup.size() : close;
        const std::string_view value = markup.substr(at + 1, end - at - 1);
        at = close == std::string_view::npos ? markup.size() : close + 1;
        return value;
    }
    const std::size_t begin = at;
    while (at < markup.size() && !isSpace(markup[at]) && markup[at] != '>')
        ++at;
    return markup.substr(begin, at - begin);
}

std::string decodedValue(std::string_view value, EntityNames& entities)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '&') {
            const auto [character, length] = referenceAt(value, i, entities);
            if (length > 0) {
                appendUtf8(out, character);
                i += length - 1;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

// The tag at `at` ('<'); nullopt when the '<' opens nothing and is text.
std::optional<Tag> tagAt(std::string_view markup, std::size_t at, EntityNames& entities)
{
    const std::size_t size = markup.size();
    Tag tag;
    if (at + 3 < size && markup[at + 1] == '!' && markup[at + 2] == '-' && markup[at + 3] == '-') {
        const std::size_t close = markup.find("-->", at + 4);
        tag.next = close == std::string_view::npos ? size : close + 3;
        return tag;
    }
    const char next = at + 1 < size ? markup[at + 1] : '\0';
    if (next == '!' || next == '?') {
        const std::size_t close = markup.find('>', at + 2);
        tag.next = close == std::string_view::npos ? size : close + 1;
        return tag;
    }
    std::size_t i = at + 1;
    if (next == '/') {
        tag.end = true;
        ++i;
    }
    if (i >= size || !isLetter(markup[i]))
        return std::nullopt;
    while (i < size && isNameChar(markup[i])) {
        const char c = lowerAscii(markup[i++]);
        if (tag.nameLength < Tag::kNameLength)
            tag.nameBuffer[tag.nameLength++] = c;
    }
    // Attributes, up to the '>' that is not inside a quoted value.
    while (i < size && markup[i] != '>') {
        if (isSpace(markup[i]) || markup[i] == '/') {
            tag.selfClosing = markup[i] == '/';
            ++i;
            continue;
        }
        const std::size_t nameBegin = i;
        while (i < size && !isSpace(markup[i]) && markup[i] != '=' && markup[i] != '>' && markup[i] != '/')
            ++i;
        const std::string_view name = markup.substr(nameBegin, i - nameBegin);
        std::size_t after = i;
        while (after < size && isSpace(markup[after]))
            ++after;
        if (after < size && markup[after] == '=') {
            i = after + 1;
            const std::string_view value = attributeValue(markup, i);
            tag.selfClosing = false;
            if (!tag.end && tag.id.empty() && name.size() == 2 && lowerAscii(name[0]) == 'i' &&
                lowerAscii(name[1]) == 'd')
                tag.id = value.find('&') == std::string_view::npos ? std::string(value) : decodedValue(value, entities);
        } else if (i == nameBegin) {
            ++i;
        }
    }
    tag.next = i < size ? i + 1 : size;
    return tag;
}

// Where the content of a hidden element ends: at its end tag.
std::size_t endOfHidden(std::string_view markup, std::size_t from, std::string_view name)
{
    for (std::size_t at = markup.find("</", from); at != std::string_view::npos; at = markup.find("</", at + 2)) {
        std::size_t i = 0;
        while (i < name.size() && at + 2 + i < markup.size() && lowerAscii(markup[at + 2 + i]) == name[i])
            ++i;
        if (i == name.size() && (at + 2 + i >= markup.size() || !isNameChar(markup[at + 2 + i])))
            return at;
    }
    return markup.size();
}

}  // namespace

std::optional<DocumentText> HtmlTextDocuments::read(const std::string& path)
{
    std::string bytes;
    if (!readRegularFile(path, bytes, HtmlDocument::kMaxFileBytes))
        return std::nullopt;
    if (DtbookDocument::recognizes(bytes)) {
        // The markup of the HTML it is shown as, so that the search reads the
        // text as the view shows it.
        const HtmlDocument document = HtmlDocument::fromBytes(bytes);
        bytes = std::string();
        return textOf(document.outerHtml(document.body()));
    }
    const std::string markup = HtmlEncoding::toUtf8(bytes);
    bytes = std::string();
    return textOf(markup);
}

DocumentText HtmlTextDocuments::textOf(std::string_view markup)
{
    DocumentText out;
    EntityNames entities;
    TextWriter writer(out, entities, markup.size() / 2);
    int preformatted = 0;
    bool inHead = false;
    std::size_t textBegin = 0;
    std::size_t at = 0;
    const auto flushText = [&](std::size_t end) {
        if (end > textBegin && !inHead)
            writer.text(markup.substr(textBegin, end - textBegin), preformatted > 0);
    };
    while (at < markup.size()) {
        const void* found = std::memchr(markup.data() + at, '<', markup.size() - at);
        if (!found)
            break;
        at = static_cast<std::size_t>(static_cast<const char*>(found) - markup.data());
        const std::optional<Tag> tag = tagAt(markup, at, entities);
        if (!tag) {
            ++at;
            continue;
        }
        flushText(at);
        at = textBegin = tag->next;
        if (tag->nameLength == 0)
            continue;
        const Kind kind = kindOf(tag->name());
        if (kind == Kind::kHead) {
            inHead = !tag->end;
            continue;
        }
        if (inHead && !tag->end && kind != Kind::kHidden && kind != Kind::kHeadOnly)
            inHead = false;
        if (kind == Kind::kHidden && !tag->end) {
            // An element without content (input, meta) has no end tag to look for.
            if (!tag->selfClosing && !HtmlNode::isVoidName(tag->name()))
                at = textBegin = endOfHidden(markup, at, tag->name());
            continue;
        }
        if (inHead)
            continue;
        switch (kind) {
        case Kind::kPre:
            preformatted = tag->end ? std::max(preformatted - 1, 0) : preformatted + 1;
            writer.gap(TextWriter::Gap::kLine);
            break;
        case Kind::kBlock:
        case Kind::kBreak:
            writer.gap(TextWriter::Gap::kLine);
            break;
        case Kind::kCell:
            writer.gap(TextWriter::Gap::kCell);
            break;
        default:
            break;
        }
        if (!tag->id.empty())
            writer.anchor(tag->id);
    }
    flushText(markup.size());
    writer.finish();
    return out;
}

}  // namespace korvin
