// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmldocument.h"

#include "book/regularfile.h"
#include "book/textdecoder.h"
#include "desktop/html/dtbookdocument.h"
#include "desktop/html/htmlencoding.h"
#include "desktop/html/htmlmarkeredit.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmlpartwrapper.h"
#include "desktop/html/htmlserializer.h"
#include "desktop/html/xhtmlreader.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <system_error>
#include <utility>

namespace korvin {
namespace {

// XML_PARSE_HUGE lifts the parser's limit of 256 open elements, beyond which
// it drops the rest of the file; tag soup that never closes its <font> reaches
// that within a few hundred paragraphs. Nothing here recurses over the depth.
constexpr int kParseOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                              | HTML_PARSE_NONET | HTML_PARSE_NODEFDTD | HTML_PARSE_IGNORE_ENC
                              | XML_PARSE_HUGE;

struct ParserContextFree {
    void operator()(htmlParserCtxt* context) const { htmlFreeParserCtxt(context); }
};

xmlNode* childElement(const xmlNode* parent, std::string_view name)
{
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (HtmlNode::isElement(child) && HtmlNode::name(child) == name)
            return child;
    }
    return nullptr;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char ch = text[i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != prefix[i])
            return false;
    }
    return true;
}

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
}

// The content of "<BODY ...>content</BODY>"; the markup itself otherwise. A
// start tag that has markup inserted into it is left alone: the parser makes
// its own sense of that.
std::string_view withoutBodyTags(std::string_view markup)
{
    std::string_view trimmed = markup;
    while (!trimmed.empty() && isSpace(trimmed.front()))
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && isSpace(trimmed.back()))
        trimmed.remove_suffix(1);
    if (!startsWithNoCase(trimmed, "<body") || trimmed.size() < 12)
        return markup;
    const char after = trimmed[5];
    if (after != '>' && !isSpace(after))
        return markup;
    const std::size_t close = trimmed.find('>');
    if (trimmed.substr(0, close).find('<', 1) != std::string_view::npos)
        return markup;
    const std::string_view end = trimmed.substr(trimmed.size() - 7);
    if (!startsWithNoCase(end, "</body>") || close + 1 > trimmed.size() - 7)
        return markup;
    return trimmed.substr(close + 1, trimmed.size() - 7 - (close + 1));
}

// Copies the children of `from` into `to` (of `doc`), one node at a time:
// libxml2's own deep copy recurses once per level and would overflow the
// stack on deeply nested markup.
void copyChildren(xmlDoc* doc, const xmlNode* from, xmlNode* to)
{
    const xmlNode* source = from->children;
    xmlNode* target = to;
    while (source) {
        xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(source), doc, 2);
        if (copy)
            copy = xmlAddChild(target, copy);
        if (copy && source->children && source->type == XML_ELEMENT_NODE) {
            source = source->children;
            target = copy;
            continue;
        }
        while (source != from && !source->next) {
            source = source->parent;
            target = target->parent;
        }
        source = source == from ? nullptr : source->next;
    }
}

// Moves the children of `from` into `to`, which has none, and into `doc`:
// neither document keeps a dictionary of names (the HTML parser gives every
// node its own), so the nodes own all they point to.
void moveChildren(xmlDoc* doc, xmlNode* from, xmlNode* to)
{
    xmlNode* const first = from->children;
    for (xmlNode* node = first; node; node = HtmlNode::next(from, node)) {
        node->doc = doc;
        if (node->type == XML_ENTITY_REF_NODE) {
            // Its children are the declaration in the other document.
            node->children = node->last = nullptr;
            continue;
        }
        for (xmlAttr* attribute = node->type == XML_ELEMENT_NODE ? node->properties : nullptr; attribute;
             attribute = attribute->next) {
            attribute->doc = doc;
            for (xmlNode* value = attribute->children; value; value = value->next)
                value->doc = doc;
        }
    }
    for (xmlNode* node = first; node; node = node->next)
        node->parent = to;
    to->children = first;
    to->last = from->last;
    from->children = from->last = nullptr;
}

// Whether UTF-8 `text` holds a C1 control (C2 80 to C2 9F).
bool hasC1Control(const xmlChar* text)
{
    for (const char* at = std::strchr(reinterpret_cast<const char*>(text), '\xC2'); at;
         at = std::strchr(at + 1, '\xC2')) {
        const auto low = static_cast<unsigned char>(at[1]);
        if (low >= 0x80 && low <= 0x9F)
            return true;
    }
    return false;
}

// What the document looks for in a text, found in one pass over its bytes:
// C1 controls (C2 80 to C2 9F), and letters of a right-to-left script, U+0590
// to U+08FF (lead bytes D6 to DF, E0 A0 to E0 A3) or U+FB1D to U+FEFF (EF AC
// to EF BB).
struct TextMarks {
    bool c1Control = false;
    bool rightToLeft = false;
};

TextMarks marksOf(const xmlChar* text)
{
    TextMarks marks;
    for (const xmlChar* c = text; *c; ++c) {
        if (*c < 0xC2)
            continue;  // ASCII, or within a character
        const xmlChar next = c[1];
        if (*c == 0xC2)
            marks.c1Control = marks.c1Control || (next >= 0x80 && next <= 0x9F);
        else if (*c >= 0xD6
                 && (*c <= 0xDF || (*c == 0xE0 && next >= 0xA0 && next <= 0xA3)
                     || (*c == 0xEF && next >= 0xAC && next <= 0xBB)))
            marks.rightToLeft = true;
    }
    return marks;
}

bool isSheetElement(const xmlNode* node)
{
    const std::string_view name = HtmlNode::name(node);
    return name == "link" || name == "style";
}

void replaceC1Content(xmlNode* text)
{
    std::string content(reinterpret_cast<const char*>(text->content));
    if (HtmlEncoding::replaceC1Controls(content))
        xmlNodeSetContent(text, BAD_CAST content.c_str());
}

void replaceC1Text(xmlNode* text)
{
    if (text && text->type == XML_TEXT_NODE && text->content && hasC1Control(text->content))
        replaceC1Content(text);
}

// libxml2 turns "&#146;" into the control U+0092, which shows as nothing:
// "It&#146;s" would read "Its". Texts (see takeIn) and the attributes read as
// text get the character meant; ids and references stay as the book wrote
// them, so that they match the names the SMIL files use.
void replaceC1Attributes(xmlNode* node)
{
    for (xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        const char* name = reinterpret_cast<const char*>(attribute->name);
        if ((name[0] == 'a' || name[0] == 't') && (std::strcmp(name, "alt") == 0 || std::strcmp(name, "title") == 0))
            replaceC1Text(attribute->children);
    }
}

// Parsed as the content of a body, so the parser neither adds a head nor
// moves text into an implied paragraph. The caller owns the result.
xmlDoc* parseAsBody(std::string_view content)
{
    std::string wrapped;
    wrapped.reserve(content.size() + 32);
    wrapped += "<html><body>";
    wrapped += content;
    wrapped += "</body></html>";
    return parseHtml(wrapped);
}

}  // namespace

// libxml2 keeps no table of ids of its own here: the document keeps its own,
// and libxml2's would cost a hash entry per id to make and another lookup per
// attribute to free.
xmlDoc* parseHtml(std::string_view markup)
{
    if (markup.empty() || markup.size() >= static_cast<std::size_t>(INT_MAX))
        return nullptr;
    const std::unique_ptr<htmlParserCtxt, ParserContextFree> context(
        htmlCreateMemoryParserCtxt(markup.data(), static_cast<int>(markup.size())));
    if (!context)
        return nullptr;
    htmlCtxtUseOptions(context.get(), kParseOptions);
    context->loadsubset |= XML_SKIP_IDS;
    if (xmlCharEncodingHandler* utf8 = xmlFindCharEncodingHandler("UTF-8"))
        xmlSwitchToEncoding(context.get(), utf8);
    htmlParseDocument(context.get());
    xmlDoc* doc = std::exchange(context->myDoc, nullptr);
    // The document holds the names' dictionary now.
    if (doc && context->dictNames && doc->dict == context->dict)
        context->dict = nullptr;
    return doc;
}

HtmlDocument::HtmlDocument(XmlDocPtr doc) : m_doc(std::move(doc))
{
    ensureBody();
    takeIn(xmlDocGetRootElement(m_doc.get()), true);
}

HtmlDocument::HtmlDocument(HtmlDocument&&) noexcept = default;
HtmlDocument& HtmlDocument::operator=(HtmlDocument&&) noexcept = default;
HtmlDocument::~HtmlDocument() = default;

std::optional<HtmlDocument> HtmlDocument::load(const std::filesystem::path& file)
{
    std::string bytes;
    if (!readRegularFile(file.native(), bytes, kMaxFileBytes))
        return std::nullopt;
    return fromBytes(bytes);
}

HtmlDocument HtmlDocument::fromBytes(std::string_view bytes)
{
    if (DtbookDocument::recognizes(bytes)) {
        DtbookDocument::XmlDocPtr converted = DtbookDocument::toHtml(bytes);
        HtmlDocument document(XmlDocPtr(converted ? converted.release() : htmlNewDocNoDtD(nullptr, nullptr)));
        document.m_dtbook = true;
        return document;
    }
    HtmlDocument document = fromUtf8(HtmlEncoding::toUtf8(bytes));
    document.m_charset = HtmlEncoding::declaredCharset(bytes);
    return document;
}

HtmlDocument HtmlDocument::fromUtf8(std::string_view markup)
{
    xmlDoc* doc = XhtmlReader::read(markup);
    if (!doc)
        doc = parseHtml(markup);
    if (!doc)
        doc = htmlNewDocNoDtD(nullptr, nullptr);
    return HtmlDocument(XmlDocPtr(doc));
}

void HtmlDocument::ensureBody()
{
    xmlNode* html = xmlDocGetRootElement(m_doc.get());
    if (!html || HtmlNode::name(html) != "html") {
        xmlNode* newRoot = xmlNewDocNode(m_doc.get(), nullptr, BAD_CAST "html", nullptr);
        if (html) {
            xmlReplaceNode(html, newRoot);
            xmlAddChild(newRoot, html);
        } else {
            xmlDocSetRootElement(m_doc.get(), newRoot);
        }
        html = newRoot;
    }
    m_body = childElement(html, "body");
    if (!m_body) {
        m_body = xmlNewDocNode(m_doc.get(), nullptr, BAD_CAST "body", nullptr);
        xmlAddChild(html, m_body);
    }
}

xmlNode* HtmlDocument::root() const
{
    return xmlDocGetRootElement(m_doc.get());
}

xmlNode* HtmlDocument::elementById(std::string_view id) const
{
    auto found = m_ids.find(id);
    // The SMIL files of a book on an old CD name ids in the bytes of its code
    // page, while the document's ids are UTF-8 by now: such an id is read as
    // the document's own bytes were.
    if (found == m_ids.end() && !isValidUtf8(id))
        found = m_ids.find(HtmlEncoding::converted(m_charset, id));
    if (found == m_ids.end())
        return nullptr;
    const IdElements& elements = found->second;
    if (elements.more.empty())
        return elements.first;
    xmlNode* const first = *std::min_element(elements.more.begin(), elements.more.end(), HtmlNode::precedes);
    return HtmlNode::precedes(first, elements.first) ? first : elements.first;
}

void HtmlDocument::takeIn(xmlNode* below, bool includeSelf)
{
    if (!below)
        return;
    // One walk for all, over every node of a long text.
    const auto takeInNode = [this](xmlNode* node) {
        if (node->type != XML_TEXT_NODE && node->type != XML_ELEMENT_NODE)
            return;
        if (node->type == XML_TEXT_NODE) {
            if (!node->content)
                return;
            const TextMarks marks = marksOf(node->content);
            if (marks.c1Control)
                replaceC1Content(node);
            m_rightToLeft = m_rightToLeft || marks.rightToLeft;
            return;
        }
        replaceC1Attributes(node);
        const std::string_view dir = HtmlNode::attribute(node, "dir");
        m_rightToLeft = m_rightToLeft || (dir.size() == 3 && (dir[0] == 'r' || dir[0] == 'R'));
        if (isSheetElement(node))
            m_sheetElements.push_back(node);
        const std::string_view id = HtmlNode::attribute(node, "id");
        if (id.empty())
            return;
        auto found = m_ids.find(id);
        if (found == m_ids.end())
            m_ids.emplace(std::string(id), IdElements{node, {}});
        else
            found->second.more.push_back(node);
    };
    if (includeSelf)
        takeInNode(below);
    for (xmlNode* node = below->children; node; node = HtmlNode::next(below, node))
        takeInNode(node);
}

void HtmlDocument::removeIds(xmlNode* first, const std::function<void(const xmlNode*)>& beforeRemove)
{
    const auto remove = [&](xmlNode* node) {
        if (beforeRemove)
            beforeRemove(node);
        if (!m_kept.empty())
            m_kept.erase(node);
        if (isSheetElement(node))
            m_sheetElements.erase(std::remove(m_sheetElements.begin(), m_sheetElements.end(), node),
                                  m_sheetElements.end());
        const std::string_view id = HtmlNode::attribute(node, "id");
        if (id.empty())
            return;
        auto found = m_ids.find(id);
        if (found == m_ids.end())
            return;
        IdElements& elements = found->second;
        if (elements.first == node) {
            if (elements.more.empty()) {
                m_ids.erase(found);
                return;
            }
            elements.first = elements.more.back();
            elements.more.pop_back();
        } else {
            elements.more.erase(std::remove(elements.more.begin(), elements.more.end(), node), elements.more.end());
        }
    };
    for (xmlNode* top = first; top; top = top->next) {
        if (HtmlNode::isElement(top))
            remove(top);
        for (xmlNode* node = top->children; node; node = HtmlNode::next(top, node)) {
            if (HtmlNode::isElement(node))
                remove(node);
        }
    }
}

std::string HtmlDocument::innerHtml(const xmlNode* element) const
{
    if (!HtmlNode::isElement(element))
        return {};
    std::string out;
    HtmlSerializer(m_kept).appendContent(out, element);
    return out;
}

std::string HtmlDocument::outerHtml(const xmlNode* element) const
{
    if (!HtmlNode::isElement(element))
        return {};
    std::string out;
    HtmlSerializer(m_kept).appendNode(out, element);
    return out;
}

const std::string* HtmlDocument::keptMarkup(const xmlNode* element) const
{
    const auto kept = m_kept.find(element);
    return kept == m_kept.end() ? nullptr : &kept->second;
}

bool HtmlDocument::setInnerHtml(xmlNode* element, std::string_view markup,
                                const std::function<void(const xmlNode*)>& beforeRemove)
{
    return replaceInnerHtml(element, markup, beforeRemove, {}) != Change::kRefused;
}

HtmlDocument::Change HtmlDocument::replaceInnerHtml(xmlNode* element, std::string_view markup,
                                                    const std::function<void(const xmlNode*)>& beforeRemove,
                                                    const std::function<bool(const xmlNode*)>& isMarker)
{
    // The html element (a book may give it the id a SMIL file names) holds
    // the body: replacing its content would take the body away.
    if (!HtmlNode::isElement(element) || HtmlNode::isVoid(element) || HtmlNode::contains(element, m_body))
        return Change::kRefused;
    const std::string_view content = element == m_body ? withoutBodyTags(markup) : markup;

    // A span around the whole content of a row, table or list is spread over
    // its cells and items: set as it is, the parser would move it aside.
    std::string_view parsed = content;
    std::optional<HtmlPartWrapper::Split> wrapping;
    if (HtmlPartWrapper::holdsOnlyParts(element) && (wrapping = HtmlPartWrapper::split(content)))
        parsed = wrapping->inner;
    if (parsed.size() > static_cast<std::size_t>(INT_MAX) - 64)
        return Change::kRefused;

    for (const xmlNode* up = element->parent; up && !m_kept.empty(); up = up->parent)
        m_kept.erase(up);
    if (isMarker && !wrapping) {
        const auto kept = m_kept.find(element);
        std::string serialized;
        if (kept == m_kept.end())
            serialized = innerHtml(element);
        const std::string_view written = kept != m_kept.end() ? std::string_view(kept->second) : serialized;
        if (auto edit = HtmlMarkerEdit::apply(m_doc.get(), element, written, content, isMarker)) {
            for (xmlNode* span : edit->removed) {
                removeIds(span, beforeRemove);
                xmlFreeNode(span);
            }
            // What changed inside is read in the fixed form from now on.
            for (auto other = m_kept.begin(); other != m_kept.end();)
                other = HtmlNode::contains(element, other->first) ? m_kept.erase(other) : std::next(other);
            m_kept[element].assign(content);
            return edit->onlyMarkers ? Change::kMarkers : Change::kContent;
        }
    }

    const XmlDocPtr fragment(parseAsBody(parsed));
    xmlNode* fragmentBody = fragment ? childElement(xmlDocGetRootElement(fragment.get()), "body") : nullptr;
    XmlDocPtr wrapperDoc;
    const xmlNode* wrapper = nullptr;
    if (wrapping) {
        wrapperDoc.reset(parseAsBody(std::string(wrapping->open) + "</span>"));
        const xmlNode* body = wrapperDoc ? childElement(xmlDocGetRootElement(wrapperDoc.get()), "body") : nullptr;
        wrapper = body ? childElement(body, "span") : nullptr;
    }

    removeIds(element->children, beforeRemove);
    xmlFreeNodeList(element->children);
    element->children = nullptr;
    element->last = nullptr;

    // Moved when no dictionary of names stands in the way, which is quicker
    // than copying by half.
    if (fragmentBody && !fragment->dict && !m_doc->dict)
        moveChildren(m_doc.get(), fragmentBody, element);
    else if (fragmentBody)
        copyChildren(m_doc.get(), fragmentBody, element);
    if (wrapper)
        HtmlPartWrapper::spread(m_doc.get(), wrapper, element);
    takeIn(element, false);
    m_kept[element].assign(content);
    return Change::kContent;
}

}  // namespace korvin
