// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlmarkeredit.h"

#include "desktop/html/htmlnode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

namespace korvin {
namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string_view textOf(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// Markup text with the references the serializer writes decoded; false for
// any other reference, which the parser's table would have to read.
bool decode(std::string_view raw, std::string& out)
{
    static constexpr std::array<std::pair<std::string_view, char>, 4> kReferences = {
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}}};
    out.clear();
    std::size_t at = 0;
    for (std::size_t amp = raw.find('&'); amp != std::string_view::npos; amp = raw.find('&', at)) {
        out.append(raw.substr(at, amp - at));
        const auto known = std::find_if(kReferences.begin(), kReferences.end(),
                                        [&](const auto& reference) { return raw.substr(amp).starts_with(reference.first); });
        if (known == kReferences.end())
            return false;
        out += known->second;
        at = amp + known->first.size();
    }
    out.append(raw.substr(at));
    return true;
}

// Elements whose text may get markers: they hold inline content, and the
// parser leaves a span started in them where it stands. (Around a table's
// or list's parts it moves it; after <pre> it drops a line break.)
bool takesMarkers(std::string_view name)
{
    static constexpr std::array<std::string_view, 45> kNames = {
        "a",      "abbr",    "acronym", "address", "b",      "big",   "blockquote", "body", "caption",
        "center", "cite",    "code",    "dd",      "del",    "dfn",   "div",        "dt",   "em",
        "font",   "h1",      "h2",      "h3",      "h4",     "h5",    "h6",         "i",    "ins",
        "kbd",    "label",   "li",      "p",       "q",      "s",     "samp",       "small", "span",
        "strike", "strong",  "sub",     "sup",     "td",     "th",    "tt",         "u",    "var"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

struct Attribute {
    std::string_view name;
    std::string_view value;  // as written, between its quotes
    bool doubleQuoted = false;
};

// A start tag as the serializer writes it: every value quoted, no "/>".
struct StartTag {
    std::string_view name;
    std::vector<Attribute> attributes;
    std::size_t end = 0;  // after its '>'
};

// Reads the start tag at `at` into `tag`, whose storage a reader of many
// tags reuses; false when there is none.
bool startTagAt(std::string_view markup, std::size_t at, StartTag& tag)
{
    tag.attributes.clear();
    tag.end = 0;
    std::size_t i = at + 1;
    while (i < markup.size() && !isSpace(markup[i]) && markup[i] != '>' && markup[i] != '/' && markup[i] != '<')
        ++i;
    tag.name = markup.substr(at + 1, i - at - 1);
    if (tag.name.empty() || !isLetter(tag.name.front()))
        return false;
    while (true) {
        while (i < markup.size() && isSpace(markup[i]))
            ++i;
        if (i >= markup.size() || markup[i] == '/' || markup[i] == '<')
            return false;
        if (markup[i] == '>') {
            tag.end = i + 1;
            return true;
        }
        const std::size_t nameBegin = i;
        while (i < markup.size() && !isSpace(markup[i]) && markup[i] != '>' && markup[i] != '=' && markup[i] != '/'
               && markup[i] != '<' && markup[i] != '"' && markup[i] != '\'')
            ++i;
        Attribute attribute;
        attribute.name = markup.substr(nameBegin, i - nameBegin);
        if (attribute.name.empty())
            return false;
        std::size_t after = i;
        while (after < markup.size() && isSpace(markup[after]))
            ++after;
        if (after < markup.size() && markup[after] == '=') {
            i = after + 1;
            while (i < markup.size() && isSpace(markup[i]))
                ++i;
            if (i >= markup.size() || (markup[i] != '"' && markup[i] != '\''))
                return false;
            const char quote = markup[i];
            const std::size_t close = markup.find(quote, i + 1);
            if (close == std::string_view::npos)
                return false;
            attribute.value = markup.substr(i + 1, close - i - 1);
            attribute.doubleQuoted = quote == '"';
            i = close + 1;
        }
        tag.attributes.push_back(attribute);
    }
}

// The length of "</name>" at `at` in any letter case, 0 when there is none.
std::size_t endTagAt(std::string_view markup, std::size_t at, std::string_view name)
{
    const std::size_t close = at + 2 + name.size();
    if (close >= markup.size() || markup.compare(at, 2, "</") != 0 || !equalsNoCase(markup.substr(at + 2, name.size()), name)
        || markup[close] != '>')
        return 0;
    return close + 1 - at;
}

// A marker's start tag at `at`: its length and its style.
std::optional<std::pair<std::size_t, std::string_view>> markerStartAt(std::string_view markup, std::size_t at)
{
    if (markup.size() - at < 6 || !equalsNoCase(markup.substr(at, 6), "<span "))
        return std::nullopt;
    StartTag tag;
    if (!startTagAt(markup, at, tag) || tag.attributes.size() != 1 || !equalsNoCase(tag.attributes.front().name, "style")
        || !tag.attributes.front().doubleQuoted || tag.attributes.front().value.find('&') != std::string_view::npos)
        return std::nullopt;
    return std::make_pair(tag.end - at, tag.attributes.front().value);
}

constexpr std::size_t kMarkerEndLength = 7;  // "</span>"

bool markerEndAt(std::string_view markup, std::size_t at)
{
    return endTagAt(markup, at, "span") == kMarkerEndLength;
}

// Siblings that are text and marker spans, one after the other.
struct Stretch {
    xmlNode* parent = nullptr;
    xmlNode* first = nullptr;
    xmlNode* last = nullptr;
    std::size_t begin = 0;  // in the old markup
    std::size_t end = 0;
};

// Reads the old markup in step with the content it came from, noting where
// its tags and its stretches of text and marker spans stand.
class OldMarkup {
public:
    OldMarkup(std::string_view markup, xmlNode* element) : m_markup(markup), m_element(element) {}

    bool read();

    const std::vector<Stretch>& stretches() const { return m_stretches; }
    // Where the tag that `at` lies inside begins; `at` itself when it lies in none.
    std::size_t tagStart(std::size_t at) const;

private:
    struct Level {
        xmlNode* element = nullptr;
        xmlNode* next = nullptr;  // the child to come
        bool marker = false;      // a span that holds text alone so far
        std::size_t openBegin = 0;
        bool stretchOpen = false;
        Stretch stretch;
    };

    bool readComment(std::size_t& at);
    bool readEndTag(std::size_t& at);
    bool readStartTag(std::size_t& at);
    bool readText(std::size_t& at);
    void closeStretch(Level& level);
    void extendStretch(Level& level, xmlNode* node, std::size_t begin, std::size_t end);

    std::string_view m_markup;
    xmlNode* m_element;
    std::vector<Level> m_levels;
    std::vector<std::pair<std::size_t, std::size_t>> m_tags;
    std::vector<Stretch> m_stretches;
    std::string m_decoded;
    StartTag m_tag;  // the one read last
};

bool OldMarkup::read()
{
    Level top;
    top.element = m_element;
    top.next = m_element->children;
    m_levels.push_back(top);
    std::size_t at = 0;
    while (at < m_markup.size()) {
        bool ok;
        if (m_markup[at] != '<')
            ok = readText(at);
        else if (m_markup.compare(at, 4, "<!--") == 0)
            ok = readComment(at);
        else if (at + 1 < m_markup.size() && m_markup[at + 1] == '/')
            ok = readEndTag(at);
        else
            ok = readStartTag(at);
        if (!ok)
            return false;
    }
    if (m_levels.size() != 1 || m_levels.back().next)
        return false;
    closeStretch(m_levels.back());
    std::sort(m_stretches.begin(), m_stretches.end(),
              [](const Stretch& a, const Stretch& b) { return a.begin < b.begin; });
    return true;
}

bool OldMarkup::readComment(std::size_t& at)
{
    Level& level = m_levels.back();
    const std::size_t close = m_markup.find("-->", at + 4);
    xmlNode* node = level.next;
    if (close == std::string_view::npos || !node || node->type != XML_COMMENT_NODE
        || textOf(node->content) != m_markup.substr(at + 4, close - at - 4))
        return false;
    closeStretch(level);
    m_tags.emplace_back(at, close + 3);
    level.next = node->next;
    at = close + 3;
    return true;
}

bool OldMarkup::readEndTag(std::size_t& at)
{
    if (m_levels.size() == 1)
        return false;
    Level level = std::move(m_levels.back());
    const std::size_t length = endTagAt(m_markup, at, HtmlNode::name(level.element));
    if (length == 0 || level.next)
        return false;
    m_tags.emplace_back(at, at + length);
    m_levels.pop_back();
    Level& parent = m_levels.back();
    if (level.marker)
        extendStretch(parent, level.element, level.openBegin, at + length);
    else
        closeStretch(level);
    parent.next = level.element->next;
    at += length;
    return true;
}

bool OldMarkup::readStartTag(std::size_t& at)
{
    const StartTag* const tag = startTagAt(m_markup, at, m_tag) ? &m_tag : nullptr;
    Level& level = m_levels.back();
    xmlNode* node = level.next;
    if (!tag || !node || node->type != XML_ELEMENT_NODE || !equalsNoCase(HtmlNode::name(node), tag->name))
        return false;
    const xmlAttr* attribute = node->properties;
    for (const Attribute& written : tag->attributes) {
        if (!attribute || !equalsNoCase(textOf(attribute->name), written.name) || !decode(written.value, m_decoded))
            return false;
        const xmlNode* value = attribute->children;
        if (value ? value->type != XML_TEXT_NODE || value->next || textOf(value->content) != m_decoded
                  : !m_decoded.empty())
            return false;
        attribute = attribute->next;
    }
    if (attribute)
        return false;
    m_tags.emplace_back(at, tag->end);
    const bool marker = equalsNoCase(tag->name, "span") && tag->attributes.size() == 1
                        && equalsNoCase(tag->attributes.front().name, "style");
    // An element in a marker makes it none: the stretch its parent was
    // building ends before it.
    if (level.marker) {
        level.marker = false;
        closeStretch(m_levels[m_levels.size() - 2]);
    }
    if (!marker)
        closeStretch(level);
    const std::size_t begin = at;
    at = tag->end;
    if (HtmlNode::isVoid(node)) {
        if (node->children)
            return false;
        level.next = node->next;
        return true;
    }
    const std::string_view name = HtmlNode::name(node);
    if (name == "script" || name == "style") {
        // Raw text up to the end tag.
        std::size_t end = at;
        std::size_t length = 0;
        for (; end < m_markup.size(); ++end) {
            if (m_markup[end] == '<' && (length = endTagAt(m_markup, end, name)) > 0)
                break;
        }
        const xmlNode* text = node->children;
        const std::string_view raw = m_markup.substr(at, end - at);
        if (length == 0 || (text ? text->type != XML_TEXT_NODE || text->next || textOf(text->content) != raw : !raw.empty()))
            return false;
        m_tags.emplace_back(end, end + length);
        level.next = node->next;
        at = end + length;
        return true;
    }
    Level child;
    child.element = node;
    child.next = node->children;
    child.marker = marker;
    child.openBegin = begin;
    m_levels.push_back(child);
    return true;
}

bool OldMarkup::readText(std::size_t& at)
{
    Level& level = m_levels.back();
    const void* found = std::memchr(m_markup.data() + at, '<', m_markup.size() - at);
    const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - m_markup.data())
                                  : m_markup.size();
    xmlNode* node = level.next;
    if (!node || node->type != XML_TEXT_NODE || !decode(m_markup.substr(at, end - at), m_decoded)
        || textOf(node->content) != m_decoded)
        return false;
    if (!level.marker)
        extendStretch(level, node, at, end);
    level.next = node->next;
    at = end;
    return true;
}

void OldMarkup::closeStretch(Level& level)
{
    if (level.stretchOpen && !level.marker)
        m_stretches.push_back(level.stretch);
    level.stretchOpen = false;
}

void OldMarkup::extendStretch(Level& level, xmlNode* node, std::size_t begin, std::size_t end)
{
    if (!level.stretchOpen) {
        level.stretch = Stretch{level.element, node, node, begin, end};
        level.stretchOpen = true;
        return;
    }
    level.stretch.last = node;
    level.stretch.end = end;
}

std::size_t OldMarkup::tagStart(std::size_t at) const
{
    auto after = std::upper_bound(m_tags.begin(), m_tags.end(), at,
                                  [](std::size_t x, const std::pair<std::size_t, std::size_t>& tag) { return x < tag.first; });
    if (after == m_tags.begin())
        return at;
    --after;
    return at < after->second ? after->first : at;
}

// A change between the old markup and the new: a tag taken out or put in.
struct Change {
    std::size_t oldAt = 0;
    std::size_t oldLength = 0;
    std::size_t newLength = 0;
};

// The changes that turn `old` into `markup`, each a marker's start or end
// tag; nullopt when the two differ otherwise.
std::optional<std::vector<Change>> changesBetween(const OldMarkup& reader, std::string_view old, std::string_view markup)
{
    std::vector<Change> changes;
    std::size_t i = 0;
    std::size_t j = 0;
    while (true) {
        const auto [x, y] = std::mismatch(old.begin() + static_cast<std::ptrdiff_t>(i), old.end(),
                                          markup.begin() + static_cast<std::ptrdiff_t>(j), markup.end());
        const std::size_t same = static_cast<std::size_t>(x - old.begin()) - i;
        i += same;
        j += same;
        if (i == old.size() && j == markup.size())
            return changes;
        // A difference inside a tag is one of the whole tag.
        const std::size_t back = i - reader.tagStart(i);
        if (back > same)
            return std::nullopt;
        i -= back;
        j -= back;
        std::optional<std::pair<std::size_t, std::string_view>> start;
        if ((start = markerStartAt(markup, j))) {
            changes.push_back(Change{i, 0, start->first});
            j += start->first;
        } else if (markerEndAt(markup, j)) {
            changes.push_back(Change{i, 0, kMarkerEndLength});
            j += kMarkerEndLength;
        } else if ((start = markerStartAt(old, i))) {
            changes.push_back(Change{i, start->first, 0});
            i += start->first;
        } else if (markerEndAt(old, i)) {
            changes.push_back(Change{i, kMarkerEndLength, 0});
            i += kMarkerEndLength;
        } else {
            return std::nullopt;
        }
    }
}

struct NodeListFree {
    void operator()(std::vector<xmlNode*>* nodes) const
    {
        for (xmlNode* node : *nodes)
            xmlFreeNode(node);
    }
};

void linkBefore(xmlNode* parent, xmlNode* next, xmlNode* node)
{
    node->parent = parent;
    node->next = next;
    node->prev = next ? next->prev : parent->last;
    (node->prev ? node->prev->next : parent->children) = node;
    (next ? next->prev : parent->last) = node;
}

void unlink(xmlNode* node)
{
    xmlNode* parent = node->parent;
    (node->prev ? node->prev->next : parent->children) = node->next;
    (node->next ? node->next->prev : parent->last) = node->prev;
    node->parent = node->prev = node->next = nullptr;
}

// The nodes the parser makes of text and marker spans, or false.
bool parseStretch(xmlDoc* doc, std::string_view markup, std::vector<xmlNode*>& nodes, std::vector<xmlNode*>& spans)
{
    std::string text;
    xmlNode* span = nullptr;
    std::size_t at = 0;
    while (at < markup.size()) {
        if (markup[at] == '<') {
            if (const auto start = markerStartAt(markup, at)) {
                if (span)
                    return false;
                span = xmlNewDocNode(doc, nullptr, BAD_CAST "span", nullptr);
                if (!span)
                    return false;
                nodes.push_back(span);
                spans.push_back(span);
                const std::string style(start->second);
                if (!xmlNewProp(span, BAD_CAST "style", BAD_CAST style.c_str()))
                    return false;
                at += start->first;
            } else if (markerEndAt(markup, at) && span) {
                span = nullptr;
                at += kMarkerEndLength;
            } else {
                return false;
            }
            continue;
        }
        const std::size_t end = std::min(markup.find('<', at), markup.size());
        if (!decode(markup.substr(at, end - at), text))
            return false;
        xmlNode* node = xmlNewDocText(doc, BAD_CAST text.c_str());
        if (!node)
            return false;
        if (span)
            linkBefore(span, nullptr, node);
        else
            nodes.push_back(node);
        at = end;
    }
    return !span;
}

}  // namespace

std::optional<HtmlMarkerEdit::Result> HtmlMarkerEdit::apply(xmlDoc* doc, xmlNode* element, std::string_view old,
                                                           std::string_view markup, const IsMarker& isMarker)
{
    OldMarkup reader(old, element);
    if (!reader.read())
        return std::nullopt;
    const std::optional<std::vector<Change>> changes = changesBetween(reader, old, markup);
    if (!changes)
        return std::nullopt;

    // The stretches that changed, with what the new markup makes of each.
    struct Replacement {
        const Stretch* stretch;
        std::vector<xmlNode*> nodes;
    };
    std::vector<Replacement> replacements;
    Result result;
    // Nodes made for the new markup, freed unless it is taken.
    std::vector<xmlNode*> made;
    const std::unique_ptr<std::vector<xmlNode*>, NodeListFree> freeMade(&made);
    const std::vector<Stretch>& stretches = reader.stretches();
    std::ptrdiff_t shift = 0;  // of the new markup against the old, before the stretch
    std::size_t next = 0;      // the first change not yet placed
    while (next < changes->size()) {
        const Change& change = (*changes)[next];
        auto stretch = std::upper_bound(stretches.begin(), stretches.end(), change.oldAt,
                                        [](std::size_t at, const Stretch& s) { return at < s.begin; });
        if (stretch == stretches.begin())
            return std::nullopt;
        --stretch;
        if (!takesMarkers(HtmlNode::name(stretch->parent)))
            return std::nullopt;
        std::ptrdiff_t inside = 0;
        for (; next < changes->size() && (*changes)[next].oldAt <= stretch->end; ++next) {
            const Change& within = (*changes)[next];
            if (within.oldAt + within.oldLength > stretch->end)
                return std::nullopt;
            inside += static_cast<std::ptrdiff_t>(within.newLength) - static_cast<std::ptrdiff_t>(within.oldLength);
        }
        const auto begin = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(stretch->begin) + shift);
        const auto end = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(stretch->end) + shift + inside);
        shift += inside;
        Replacement replacement{&*stretch, {}};
        const bool parsed = parseStretch(doc, markup.substr(begin, end - begin), replacement.nodes, result.added);
        made.insert(made.end(), replacement.nodes.begin(), replacement.nodes.end());
        if (!parsed)
            return std::nullopt;
        replacements.push_back(std::move(replacement));
    }

    made.clear();
    for (Replacement& replacement : replacements) {
        const Stretch& stretch = *replacement.stretch;
        xmlNode* const after = stretch.last->next;
        for (xmlNode* node = stretch.first; node;) {
            xmlNode* following = node == stretch.last ? nullptr : node->next;
            if (node->type == XML_ELEMENT_NODE) {
                result.onlyMarkers = result.onlyMarkers && isMarker(node);
                unlink(node);
                result.removed.push_back(node);
            } else {
                unlink(node);
                xmlFreeNode(node);
            }
            node = following;
        }
        for (xmlNode* node : replacement.nodes)
            linkBefore(stretch.parent, after, node);
    }
    for (const xmlNode* span : result.added)
        result.onlyMarkers = result.onlyMarkers && isMarker(span);
    return result;
}

}  // namespace korvin
