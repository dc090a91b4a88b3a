// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/xhtmlreader.h"

#include "desktop/html/htmlnode.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace korvin {
namespace {

struct ParserContextFree {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};
struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool isNameChar(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' ||
           ch == '.' || ch == ':';
}

// A reference at `at` (an ampersand) that both parsers read alike: a
// character's number (the XML parser checks it) or one of XML's own entities.
// The HTML parser knows "apos" only in some versions.
bool isPlainReference(std::string_view markup, std::size_t at)
{
    const std::size_t end = markup.find(';', at);
    if (end == std::string_view::npos)
        return false;
    const std::string_view name = markup.substr(at + 1, end - at - 1);
    return (!name.empty() && name.front() == '#') || name == "amp" || name == "lt" || name == "gt" || name == "quot";
}

// The end of the start tag at `at`, after checking its attribute values;
// npos when one of them would be read differently. `name` gets the tag's
// name; `namespacesFirst` whether no namespace is declared after another
// attribute.
std::size_t scanStartTag(std::string_view markup, std::size_t at, std::string_view& name, bool& namespacesFirst)
{
    std::size_t i = at + 1;
    while (i < markup.size() && isNameChar(markup[i]))
        ++i;
    name = markup.substr(at + 1, i - at - 1);
    bool sawOther = false;
    namespacesFirst = true;
    while (i < markup.size()) {
        const char ch = markup[i];
        if (ch == '>')
            return i;
        if (isNameChar(ch)) {
            const std::size_t start = i;
            while (i < markup.size() && isNameChar(markup[i]))
                ++i;
            const std::string_view attribute = markup.substr(start, i - start);
            const bool declaration = attribute == "xmlns" || attribute.substr(0, 6) == "xmlns:";
            namespacesFirst = namespacesFirst && !(declaration && sawOther);
            sawOther = sawOther || !declaration;
            continue;
        }
        if (ch == '"' || ch == '\'') {
            const std::size_t close = markup.find(ch, i + 1);
            if (close == std::string_view::npos)
                return std::string_view::npos;
            for (std::size_t j = i + 1; j < close; ++j) {
                const char value = markup[j];
                if (value == '\t' || value == '\n' || value == '\r' || (value == '&' && !isPlainReference(markup, j)))
                    return std::string_view::npos;
            }
            i = close + 1;
            continue;
        }
        ++i;
    }
    return std::string_view::npos;
}

// The line ends of the text, comments, styles and scripts within the root,
// in order: 'n' for LF, 'b' for CR LF, 'r' for CR alone. The XML parser makes
// LF of each, the HTML parser keeps them as written.
void noteLineEnds(std::string_view text, std::string& lineEnds)
{
    for (std::size_t i = text.find_first_of("\r\n"); i != std::string_view::npos;
         i = text.find_first_of("\r\n", i + 1)) {
        if (text[i] == '\n') {
            lineEnds += 'n';
        } else if (i + 1 < text.size() && text[i + 1] == '\n') {
            lineEnds += 'b';
            ++i;
        } else {
            lineEnds += 'r';
        }
    }
}

// Whether markup that opens with an XML declaration holds nothing the two
// parsers read differently even when both accept it. Well-formedness is the
// XML parser's to check. `lineEnds`, when given, gets the line ends noted.
bool looksPlain(std::string_view markup, std::string* lineEnds)
{
    std::size_t i = markup.find("?>");
    if (i == std::string_view::npos)
        return false;
    i += 2;
    bool raw = false;  // within a style or script
    bool root = true;  // the next start tag is the root's
    long depth = 0;
    while (i < markup.size()) {
        std::size_t end = i;
        while (end < markup.size() && markup[end] != '<' && markup[end] != '&')
            ++end;
        if (lineEnds && depth > 0)
            noteLineEnds(markup.substr(i, end - i), *lineEnds);
        i = end;
        if (i == markup.size())
            break;
        if (markup[i] == '&') {
            if (raw || !isPlainReference(markup, i))
                return false;
            ++i;
            continue;
        }
        const std::string_view rest = markup.substr(i);
        if (rest.substr(0, 2) == "</") {
            raw = false;
            --depth;
            i = markup.find('>', i);
        } else if (raw || rest.substr(0, 2) == "<?" || rest.substr(0, 3) == "<![") {
            return false;
        } else if (rest.substr(0, 4) == "<!--") {
            const std::size_t close = markup.find("-->", i + 4);
            if (close == std::string_view::npos)
                return false;
            const std::string_view comment = markup.substr(i + 4, close - i - 4);
            if (lineEnds && depth > 0)
                noteLineEnds(comment, *lineEnds);
            else if (lineEnds && comment.find('\r') != std::string_view::npos)
                return false;  // beside the root, where the line ends are not restored
            i = close + 2;
        } else if (rest.substr(0, 2) == "<!") {
            // A DOCTYPE, whose quoted names may hold anything.
            for (i += 2; i < markup.size() && markup[i] != '>'; ++i) {
                if (markup[i] == '[')
                    return false;
                if (markup[i] == '"' || markup[i] == '\'') {
                    i = markup.find(markup[i], i + 1);
                    if (i == std::string_view::npos)
                        return false;
                }
            }
        } else {
            std::string_view name;
            bool namespacesFirst = true;
            i = scanStartTag(markup, i, name, namespacesFirst);
            if (i == std::string_view::npos || (root && !namespacesFirst))
                return false;
            root = false;
            const bool empty = markup[i - 1] == '/';
            depth += empty ? 0 : 1;
            raw = !empty && (name == "style" || name == "script");
        }
        if (i == std::string_view::npos)
            return false;
        ++i;
    }
    return true;
}

bool isHtmlName(const xmlChar* name)
{
    if (!name || !*name)
        return false;
    for (const xmlChar* c = name; *c; ++c) {
        if (!((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') || *c == '-' || *c == '_' || *c == '.'))
            return false;
    }
    return true;
}

bool isBlank(const xmlChar* text)
{
    for (; text && *text; ++text) {
        if (!isSpace(static_cast<char>(*text)))
            return false;
    }
    return true;
}

// Whether the HTML parser, inside `parent`, would close it at the start tag
// of `child`.
bool closesParent(xmlDoc* doc, const xmlNode* parent, const xmlNode* child)
{
    // Those that close their own kind; the library's check passes equal names.
    static constexpr std::array<std::string_view, 11> kClosingTheirOwn = {
        "a", "col", "colgroup", "form", "li", "option", "p", "tbody", "td", "th", "tr"};
    const std::string_view name = HtmlNode::name(child);
    if (name == HtmlNode::name(parent))
        return std::find(kClosingTheirOwn.begin(), kClosingTheirOwn.end(), name) != kClosingTheirOwn.end();
    // Asked of the child alone: the library would go on into its children.
    xmlNode alone{};
    alone.type = XML_ELEMENT_NODE;
    alone.name = child->name;
    return htmlAutoCloseTag(doc, parent->name, &alone) != 0;
}

bool renameAttributes(xmlNode* element)
{
    for (xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (!attribute->ns) {
            if (!isHtmlName(attribute->name))
                return false;
            continue;
        }
        // xml:lang, or a prefix the root declares: the HTML parser keeps the
        // whole name.
        if (!attribute->ns->prefix || !isHtmlName(attribute->ns->prefix) || !isHtmlName(attribute->name))
            return false;
        std::string whole = reinterpret_cast<const char*>(attribute->ns->prefix);
        whole += ':';
        whole += reinterpret_cast<const char*>(attribute->name);
        xmlFree(const_cast<xmlChar*>(attribute->name));
        attribute->name = xmlStrdup(BAD_CAST whole.c_str());
        attribute->ns = nullptr;
    }
    return true;
}

// Style and script content is one CDATA node to the HTML parser.
bool makeRaw(xmlDoc* doc, xmlNode* element)
{
    xmlNode* text = element->children;
    if (!text)
        return true;
    if (text->next || text->type != XML_TEXT_NODE || !text->content)
        return false;
    xmlNode* raw = xmlNewCDataBlock(doc, text->content, xmlStrlen(text->content));
    if (!raw)
        return false;
    xmlReplaceNode(text, raw);
    xmlFreeNode(text);
    return true;
}

// What the HTML parser's tables say of an element in its parent, looked up
// once for each pair of names: a long text has a handful of pairs and tens of
// thousands of elements.
class ElementRules {
public:
    // Whether the HTML parser would read the element elsewhere than the XML parser.
    bool misplaced(xmlDoc* doc, const xmlNode* parent, const xmlNode* element)
    {
        std::string key(HtmlNode::name(parent));
        key += ' ';
        key += HtmlNode::name(element);
        auto found = m_rules.find(key);
        if (found == m_rules.end()) {
            const Rule rule{closesParent(doc, parent, element), HtmlNode::isVoid(element)};
            found = m_rules.emplace(std::move(key), rule).first;
        }
        return found->second.closesParent || (found->second.isVoid && element->children);
    }

private:
    struct Rule {
        bool closesParent = false;
        bool isVoid = false;
    };
    std::unordered_map<std::string, Rule> m_rules;
};

bool convertElement(xmlDoc* doc, xmlNode* element, const xmlNode* root, ElementRules& rules)
{
    if (!isHtmlName(element->name) || (element->ns && element->ns->prefix) || (element->nsDef && element != root))
        return false;
    element->ns = nullptr;
    if (!renameAttributes(element))
        return false;
    const xmlNode* parent = element->parent;
    if (parent == root) {
        const std::string_view name = HtmlNode::name(element);
        const xmlNode* before = element->prev;
        while (before && !HtmlNode::isElement(before))
            before = before->prev;
        if (!(name == "head" && !before) && !(name == "body" && (!before || HtmlNode::name(before) == "head")))
            return false;
    } else if (element == root) {
        if (HtmlNode::name(element) != "html")
            return false;
        // Written back as attribute values, which would take '&' for a reference.
        for (const xmlNs* ns = element->nsDef; ns; ns = ns->next) {
            if (!ns->href || !*ns->href || xmlStrchr(ns->href, '&'))
                return false;
        }
    } else if (rules.misplaced(doc, parent, element)) {
        return false;
    }
    const std::string_view name = HtmlNode::name(element);
    // An html, head or body start tag anywhere else the HTML parser passes over.
    if (element != root && parent != root && (name == "html" || name == "head" || name == "body"))
        return false;
    return (name != "style" && name != "script") || makeRaw(doc, element);
}

// The root's namespace declarations as the attributes the HTML parser makes
// of them, ahead of the others as they were written.
void declarationsAsAttributes(xmlNode* root)
{
    xmlAttr* first = nullptr;
    xmlAttr* last = nullptr;
    for (const xmlNs* ns = root->nsDef; ns; ns = ns->next) {
        std::string name = "xmlns";
        if (ns->prefix) {
            name += ':';
            name += reinterpret_cast<const char*>(ns->prefix);
        }
        xmlAttr* attribute = xmlNewDocProp(root->doc, BAD_CAST name.c_str(), ns->href);
        if (!attribute)
            continue;
        attribute->parent = root;
        attribute->prev = last;
        (last ? last->next : first) = attribute;
        last = attribute;
    }
    if (last) {
        last->next = root->properties;
        if (root->properties)
            root->properties->prev = last;
        root->properties = first;
    }
    xmlFreeNsList(root->nsDef);
    root->nsDef = nullptr;
}

// Whether a reference stands for a line end, which the line ends noted
// would not account for.
bool referencesLineEnd(std::string_view markup)
{
    for (std::size_t i = markup.find("&#"); i != std::string_view::npos; i = markup.find("&#", i + 2)) {
        const bool hex = i + 2 < markup.size() && (markup[i + 2] == 'x' || markup[i + 2] == 'X');
        const long value =
            std::strtol(std::string(markup.substr(i + (hex ? 3 : 2), 12)).c_str(), nullptr, hex ? 16 : 10);
        if (value == '\r' || value == '\n')
            return true;
    }
    return false;
}

// Gives each LF of the node's content the line end written in its place.
bool restoreLineEnds(xmlNode* node, std::string_view lineEnds, std::size_t& next)
{
    if (!node->content || !xmlStrchr(node->content, '\n'))
        return true;
    std::string content;
    for (const xmlChar* c = node->content; *c; ++c) {
        if (*c != '\n') {
            content += static_cast<char>(*c);
            continue;
        }
        if (next == lineEnds.size())
            return false;
        const char written = lineEnds[next++];
        content += written == 'n' ? "\n" : written == 'b' ? "\r\n" : "\r";
    }
    xmlNodeSetContent(node, BAD_CAST content.c_str());
    return true;
}

// `lineEnds` as looksPlain() notes them, nullptr when the markup has no CR.
bool convert(xmlDoc* doc, std::string_view markup, const std::string* lineEnds)
{
    std::size_t nextLineEnd = 0;
    ElementRules rules;
    xmlNode* root = xmlDocGetRootElement(doc);
    if (!root)
        return false;
    for (xmlNode* node = root; node; node = HtmlNode::next(root, node)) {
        switch (node->type) {
        case XML_ELEMENT_NODE:
            if (!convertElement(doc, node, root, rules))
                return false;
            break;
        case XML_TEXT_NODE:
            // The HTML parser opens a paragraph for text outside head and body.
            if ((node->parent == root || HtmlNode::name(node->parent) == "head") && !isBlank(node->content))
                return false;
            [[fallthrough]];
        case XML_COMMENT_NODE:
        case XML_CDATA_SECTION_NODE:  // made above
            if (lineEnds && !restoreLineEnds(node, *lineEnds, nextLineEnd))
                return false;
            break;
        default:
            return false;
        }
    }
    // Every line end noted has found its place, or the notes went astray.
    if (lineEnds && nextLineEnd != lineEnds->size())
        return false;
    declarationsAsAttributes(root);

    // The XML declaration, as the HTML parser reads a processing instruction:
    // up to the first '>'.
    std::size_t from = 5;
    while (from < markup.size() && isSpace(markup[from]))
        ++from;
    const std::size_t end = markup.find('>', from);
    const std::string content(markup.substr(from, end - from));
    xmlNode* declaration = xmlNewDocPI(doc, BAD_CAST "xml", BAD_CAST content.c_str());
    if (!declaration)
        return false;
    // The HTML parser puts the DTD first, before a comment written ahead of it.
    xmlNode* dtd = reinterpret_cast<xmlNode*>(xmlGetIntSubset(doc));
    if (dtd && dtd != doc->children) {
        xmlUnlinkNode(dtd);  // which forgets it as the document's DTD
        xmlAddPrevSibling(doc->children, dtd);
        doc->intSubset = reinterpret_cast<xmlDtd*>(dtd);
    }
    xmlAddPrevSibling(dtd ? dtd->next : doc->children, declaration);

    doc->type = XML_HTML_DOCUMENT_NODE;
    doc->properties = XML_DOC_HTML;
    xmlFree(const_cast<xmlChar*>(doc->version));
    doc->version = nullptr;
    return true;
}

}  // namespace

xmlDoc* XhtmlReader::read(std::string_view utf8)
{
    if (utf8.size() < 6 || utf8.substr(0, 5) != "<?xml" || !isSpace(utf8[5]) ||
        utf8.size() >= static_cast<std::size_t>(INT_MAX))
        return nullptr;
    const bool hasCr = utf8.find('\r') != std::string_view::npos;
    std::string lineEnds;
    if (!looksPlain(utf8, hasCr ? &lineEnds : nullptr) || (hasCr && referencesLineEnd(utf8)))
        return nullptr;
    const std::unique_ptr<xmlParserCtxt, ParserContextFree> context(xmlNewParserCtxt());
    if (!context)
        return nullptr;
    // Without a dictionary every node owns its names, as in the HTML parser's
    // trees, which the document moves nodes between.
    DocPtr doc(xmlCtxtReadMemory(context.get(), utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                                 XML_PARSE_NONET | XML_PARSE_NODICT | XML_PARSE_IGNORE_ENC | XML_PARSE_NOERROR |
                                     XML_PARSE_NOWARNING));
    const xmlDtd* dtd = doc ? xmlGetIntSubset(doc.get()) : nullptr;
    if (!doc || !context->wellFormed || !context->nsWellFormed || doc->dict || (dtd && dtd->children) ||
        !convert(doc.get(), utf8, hasCr ? &lineEnds : nullptr))
        return nullptr;
    return doc.release();
}

}  // namespace korvin
