// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/dtbookdocument.h"

#include "desktop/html/dtbookelements.h"
#include "desktop/html/htmlelements.h"
#include "desktop/html/htmlnode.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace korvin {
namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Where the declaration "<!DOCTYPE ...>" at `at` ends, past its internal
// subset and quoted strings; npos when it does not.
std::size_t endOfDeclaration(std::string_view bytes, std::size_t at)
{
    int brackets = 0;
    for (std::size_t i = at + 2; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '"' || c == '\'') {
            i = bytes.find(c, i + 1);
            if (i == std::string_view::npos)
                return i;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            --brackets;
        } else if (c == '>' && brackets <= 0) {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

void ignoreError(void*, xmlErrorPtr) {}

struct ParserContextFree {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

std::string_view text(const xmlChar* value)
{
    return value ? std::string_view(reinterpret_cast<const char*>(value)) : std::string_view();
}

// The value of the pseudo-attribute `name` in the data of a processing
// instruction (href="a.css" type="text/css").
std::string pseudoAttribute(std::string_view data, std::string_view name)
{
    for (std::size_t at = data.find(name); at != std::string_view::npos; at = data.find(name, at + 1)) {
        if (at > 0 && !isSpace(data[at - 1]))
            continue;
        std::size_t i = at + name.size();
        while (i < data.size() && isSpace(data[i]))
            ++i;
        if (i >= data.size() || data[i] != '=')
            continue;
        ++i;
        while (i < data.size() && isSpace(data[i]))
            ++i;
        if (i >= data.size() || (data[i] != '"' && data[i] != '\''))
            continue;
        const std::size_t close = data.find(data[i], i + 1);
        if (close == std::string_view::npos)
            return {};
        return std::string(data.substr(i + 1, close - i - 1));
    }
    return {};
}

// Turns the parsed DTBook into HTML, one node at a time.
class Converter {
public:
    explicit Converter(xmlDoc* doc) : m_doc(doc) {}

    void run()
    {
        takeOutDtd();
        std::vector<xmlNode*> sheets;
        for (xmlNode* node = m_doc->children; node;) {
            xmlNode* const next = node->next;
            if (node->type == XML_PI_NODE && text(node->name) == "xml-stylesheet")
                sheets.push_back(node);
            else if (node->type != XML_ELEMENT_NODE)
                remove(node);
            node = next;
        }
        xmlNode* const root = xmlDocGetRootElement(m_doc);
        if (!root)
            return;
        convert(root);
        for (xmlNode* node = root->children; node;) {
            xmlNode* next = HtmlNode::next(root, node);
            if (node->type == XML_ELEMENT_NODE) {
                next = convert(node);
            } else if (node->type != XML_TEXT_NODE && node->type != XML_COMMENT_NODE) {
                // Entity references and instructions: nothing the view shows.
                next = HtmlNode::next(root, node, true);
                remove(node);
            }
            node = next;
        }
        for (xmlNs* list : m_namespaces)
            xmlFreeNsList(list);
        linkSheets(root, sheets);
    }

private:
    void takeOutDtd()
    {
        if (xmlDtd* dtd = std::exchange(m_doc->intSubset, nullptr)) {
            xmlUnlinkNode(reinterpret_cast<xmlNode*>(dtd));
            xmlFreeDtd(dtd);
        }
    }

    static void remove(xmlNode* node)
    {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    }

    // Gives the element its HTML form; the node the walk goes on with.
    xmlNode* convert(xmlNode* element)
    {
        element->ns = nullptr;
        if (element->nsDef)
            m_namespaces.push_back(std::exchange(element->nsDef, nullptr));
        cleanAttributes(element);
        const std::string name(HtmlNode::name(element));
        std::string_view html = name;
        if (name == "list") {
            html = list(element);
        } else if ((name == "hd" || name == "levelhd") && m_levels.count(element->parent)) {
            m_heading = "h" + std::to_string(std::clamp(m_levels[element->parent], 1, 6));
            html = m_heading;
        } else if (const DtbookElement* dtbook = dtbookElement(name)) {
            html = inRunningText(element) ? dtbook->inlineName : dtbook->block;
            if (name.compare(0, 5, "level") == 0 && name != "levelhd")
                m_levels[element] = name.size() == 6 ? name[5] - '0' : levelAbove(element) + 1;
            else if (name == "noteref" || name == "annoref")
                linkToNote(element);
        } else if (name == "caption" && HtmlNode::name(element->parent) != "table") {
            html = inRunningText(element) ? "span" : "p";
        } else if (name == "img") {
            return showAlt(element);
        }
        if (html != name) {
            xmlNodeSetName(element, reinterpret_cast<const xmlChar*>(std::string(html).c_str()));
            const std::string_view own = HtmlNode::attribute(element, "class");
            const std::string classes = own.empty() ? name : name + ' ' + std::string(own);
            xmlSetProp(element, BAD_CAST "class", reinterpret_cast<const xmlChar*>(classes.c_str()));
        }
        return HtmlNode::next(xmlDocGetRootElement(m_doc), element);
    }

    // Leaves every attribute without a namespace (xml:lang reads as lang) and
    // with its value as one text, as the HTML parser leaves them; the SMIL
    // references, which the view never needs, go.
    static void cleanAttributes(xmlNode* element)
    {
        for (xmlAttr* attribute = element->properties; attribute;) {
            xmlAttr* const next = attribute->next;
            attribute->ns = nullptr;
            if (text(attribute->name) == "smilref") {
                xmlRemoveProp(attribute);
            } else if (attribute->children
                       && (attribute->children->next || attribute->children->type != XML_TEXT_NODE)) {
                xmlChar* value = xmlNodeListGetString(element->doc, attribute->children, 1);
                xmlFreeNodeList(attribute->children);
                attribute->children = attribute->last = nullptr;
                xmlNode* child = xmlNewDocText(element->doc, value ? value : BAD_CAST "");
                xmlFree(value);
                attribute->children = attribute->last = child;
                child->parent = reinterpret_cast<xmlNode*>(attribute);
            }
            attribute = next;
        }
    }

    int levelAbove(const xmlNode* element) const
    {
        for (const xmlNode* up = element->parent; up; up = up->parent) {
            if (const auto found = m_levels.find(up); found != m_levels.end())
                return found->second;
        }
        return 0;
    }

    // Inside a paragraph, a heading or an inline element, or beside text of
    // its own parent: shown within the line.
    static bool inRunningText(const xmlNode* element)
    {
        const auto hasText = [](const xmlNode* node) {
            if (!node || node->type != XML_TEXT_NODE || !node->content)
                return false;
            for (const xmlChar* c = node->content; *c; ++c) {
                if (!isSpace(static_cast<char>(*c)))
                    return true;
            }
            return false;
        };
        if (hasText(element->prev) || hasText(element->next))
            return true;
        const std::string_view parent = HtmlNode::name(element->parent);
        if (parent == "p" || (parent.size() == 2 && parent[0] == 'h' && parent[1] >= '1' && parent[1] <= '6'))
            return true;
        const HtmlElement* shown = htmlElement(parent);
        return !shown || shown->display == HtmlDisplay::Inline;
    }

    static std::string_view list(xmlNode* element)
    {
        const std::string type(HtmlNode::attribute(element, "type"));
        const std::string numbering(HtmlNode::attribute(element, "enum"));
        xmlUnsetProp(element, BAD_CAST "type");
        xmlUnsetProp(element, BAD_CAST "enum");
        if (type == "ol" && !numbering.empty())
            xmlSetProp(element, BAD_CAST "type", reinterpret_cast<const xmlChar*>(numbering.c_str()));
        if (type == "pl") {
            const std::string style = "list-style-type: none; " + std::string(HtmlNode::attribute(element, "style"));
            xmlSetProp(element, BAD_CAST "style", reinterpret_cast<const xmlChar*>(style.c_str()));
        }
        return dtbookListName(type);
    }

    static void linkToNote(xmlNode* element)
    {
        std::string target(HtmlNode::attribute(element, "idref"));
        xmlUnsetProp(element, BAD_CAST "idref");
        if (target.empty())
            return;
        if (target.find('#') == std::string::npos)
            target.insert(0, 1, '#');
        xmlSetProp(element, BAD_CAST "href", reinterpret_cast<const xmlChar*>(target.c_str()));
    }

    // An image and its alt text in a span that takes its id, so that a
    // listener reads what the picture shows, and the highlight of the image
    // covers both.
    xmlNode* showAlt(xmlNode* image)
    {
        const std::string alt(HtmlNode::attribute(image, "alt"));
        if (alt.empty())
            return HtmlNode::next(xmlDocGetRootElement(m_doc), image);
        xmlNode* span = xmlNewDocNode(m_doc, nullptr, BAD_CAST "span", nullptr);
        const std::string id(HtmlNode::attribute(image, "id"));
        if (!id.empty()) {
            xmlUnsetProp(image, BAD_CAST "id");
            xmlSetProp(span, BAD_CAST "id", reinterpret_cast<const xmlChar*>(id.c_str()));
        }
        xmlReplaceNode(image, span);
        xmlAddChild(span, image);
        xmlAddChild(span, xmlNewDocText(m_doc, reinterpret_cast<const xmlChar*>(alt.c_str())));
        return HtmlNode::next(xmlDocGetRootElement(m_doc), span, true);
    }

    // Each <?xml-stylesheet?> of CSS becomes a link in the head.
    void linkSheets(xmlNode* root, std::vector<xmlNode*>& sheets)
    {
        xmlNode* head = nullptr;
        for (xmlNode* child = root->children; child && !head; child = child->next) {
            if (HtmlNode::isElement(child) && HtmlNode::name(child) == "head")
                head = child;
        }
        for (xmlNode* sheet : sheets) {
            const std::string_view data = text(sheet->content);
            const std::string href = pseudoAttribute(data, "href");
            const std::string type = pseudoAttribute(data, "type");
            if (!href.empty() && (type.empty() || type == "text/css") && pseudoAttribute(data, "alternate") != "yes") {
                if (!head) {
                    head = xmlNewDocNode(m_doc, nullptr, BAD_CAST "head", nullptr);
                    if (root->children)
                        xmlAddPrevSibling(root->children, head);
                    else
                        xmlAddChild(root, head);
                }
                xmlNode* link = xmlNewDocNode(m_doc, nullptr, BAD_CAST "link", nullptr);
                xmlSetProp(link, BAD_CAST "rel", BAD_CAST "stylesheet");
                xmlSetProp(link, BAD_CAST "href", reinterpret_cast<const xmlChar*>(href.c_str()));
                const std::string media = pseudoAttribute(data, "media");
                if (!media.empty())
                    xmlSetProp(link, BAD_CAST "media", reinterpret_cast<const xmlChar*>(media.c_str()));
                xmlAddChild(head, link);
            }
            remove(sheet);
        }
    }

    xmlDoc* m_doc;
    std::vector<xmlNs*> m_namespaces;  // freed once no node points to them
    std::unordered_map<const xmlNode*, int> m_levels;  // the depth of each level element
    std::string m_heading;
};

}  // namespace

bool DtbookDocument::recognizes(std::string_view bytes)
{
    // A file in UTF-16 is looked at in the ASCII it holds.
    if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        constexpr std::size_t kLookedAt = 64 * 1024;
        const bool little = bytes[0] == '\xFF';
        std::string ascii;
        for (std::size_t i = 2; i + 1 < bytes.size() && ascii.size() < kLookedAt; i += 2) {
            const char low = bytes[little ? i : i + 1];
            const char high = bytes[little ? i + 1 : i];
            ascii += high == 0 && static_cast<unsigned char>(low) < 0x80 ? low : '?';
        }
        return recognizes(ascii);
    }
    std::size_t at = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (at < bytes.size()) {
        if (isSpace(bytes[at])) {
            ++at;
            continue;
        }
        if (bytes[at] != '<' || at + 1 >= bytes.size())
            return false;
        const std::string_view rest = bytes.substr(at);
        std::size_t end = std::string_view::npos;
        if (rest.substr(0, 4) == "<!--") {
            end = bytes.find("-->", at + 4);
            end = end == std::string_view::npos ? end : end + 3;
        } else if (rest[1] == '?') {
            end = bytes.find("?>", at + 2);
            end = end == std::string_view::npos ? end : end + 2;
        } else if (rest[1] == '!') {
            end = endOfDeclaration(bytes, at);
        } else {
            std::size_t nameEnd = 1;
            while (nameEnd < rest.size() && !isSpace(rest[nameEnd]) && rest[nameEnd] != '>' && rest[nameEnd] != '/')
                ++nameEnd;
            std::string_view name = rest.substr(1, nameEnd - 1);
            if (const std::size_t colon = name.rfind(':'); colon != std::string_view::npos)
                name.remove_prefix(colon + 1);
            return name == "dtbook";
        }
        if (end == std::string_view::npos)
            return false;
        at = end;
    }
    return false;
}

DtbookDocument::XmlDocPtr DtbookDocument::toHtml(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() >= static_cast<std::size_t>(INT_MAX))
        return nullptr;
    const std::unique_ptr<xmlParserCtxt, ParserContextFree> context(
        xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
    if (!context || !context->sax)
        return nullptr;
    xmlCtxtUseOptions(context.get(), XML_PARSE_RECOVER | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NONET
                                         | XML_PARSE_NODICT | XML_PARSE_NOCDATA);
    // No declaration of the document's own makes an entity, and no DTD or
    // entity outside it is ever read.
    xmlSAXHandler* sax = context->sax;
    sax->entityDecl = nullptr;
    sax->unparsedEntityDecl = nullptr;
    sax->externalSubset = nullptr;
    sax->resolveEntity = nullptr;
    sax->serror = ignoreError;
    context->replaceEntities = 0;
    context->loadsubset = XML_SKIP_IDS;
    context->validate = 0;
    xmlParseDocument(context.get());
    XmlDocPtr doc(std::exchange(context->myDoc, nullptr));
    if (!doc || !xmlDocGetRootElement(doc.get()))
        return nullptr;
    Converter(doc.get()).run();
    return doc;
}

std::string_view DtbookDocument::defaultStyleSheet()
{
    return "doctitle, docauthor, covertitle { text-align: center; font-weight: bold }\n"
           "doctitle { font-size: 1.5em }\n"
           "docauthor { font-style: italic }\n"
           "hd, levelhd, bridgehead { font-weight: bold }\n";
}

}  // namespace korvin
