// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlstylesheet.h"

#include "book/packagefile.h"
#include "book/regularfile.h"
#include "desktop/html/dtbookdocument.h"
#include "desktop/html/dtbookelements.h"
#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlencoding.h"
#include "desktop/html/htmlnode.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace korvin {
namespace {

constexpr std::size_t kMaxSheetBytes = 4 * 1024 * 1024;

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
}

char lowerChar(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool hasCapital(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; });
}

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerChar);
    return out;
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isNameChar(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-'
           || ch == '_' || static_cast<unsigned char>(ch) >= 0x80;
}

std::string withoutComments(std::string_view css)
{
    std::string out;
    out.reserve(css.size());
    std::size_t i = 0;
    while (i < css.size()) {
        if (css.compare(i, 2, "/*") == 0) {
            const std::size_t end = css.find("*/", i + 2);
            if (end == std::string_view::npos)
                break;
            i = end + 2;
            out += ' ';
        } else if (css.compare(i, 4, "<!--") == 0) {
            i += 4;
        } else if (css.compare(i, 3, "-->") == 0) {
            i += 3;
        } else {
            out += css[i++];
        }
    }
    return out;
}

// The position of the brace that closes the block opened just before `from`,
// or the end of the text.
std::size_t blockEnd(const std::string& css, std::size_t from)
{
    int depth = 1;
    char quote = 0;
    for (std::size_t i = from; i < css.size(); ++i) {
        const char ch = css[i];
        if (quote) {
            if (ch == quote)
                quote = 0;
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
        } else if (ch == '{') {
            ++depth;
        } else if (ch == '}' && --depth == 0) {
            return i;
        }
    }
    return css.size();
}

bool mediaApplies(std::string_view media)
{
    const std::string list = lower(trim(media));
    return list.empty() || list.find("screen") != std::string::npos || list.find("all") != std::string::npos;
}

// Case-insensitive comparison of an element's id or class with a selector's
// (already lower-case) name.
bool equalsLower(std::string_view value, std::string_view lowerName)
{
    if (value.size() != lowerName.size())
        return false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (lowerChar(value[i]) != lowerName[i])
            return false;
    }
    return true;
}

bool hasClass(const xmlNode* element, std::string_view lowerName)
{
    std::string_view classes = HtmlNode::attribute(element, "class");
    while (!classes.empty()) {
        while (!classes.empty() && isSpace(classes.front()))
            classes.remove_prefix(1);
        std::size_t end = 0;
        while (end < classes.size() && !isSpace(classes[end]))
            ++end;
        if (end > 0 && equalsLower(classes.substr(0, end), lowerName))
            return true;
        classes.remove_prefix(end);
    }
    return false;
}

std::string readSheet(const std::filesystem::path& file)
{
    std::string bytes;
    if (!readRegularFile(file.native(), bytes, kMaxSheetBytes))
        return {};
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    return HtmlEncoding::utf8OrWindows1252(bytes);
}

// The style sheets the manifest of the book's package file names, for a
// DTBook that names none itself: the package file is the first *.opf of the
// DTBook's folder, by name, that can be read.
std::vector<std::filesystem::path> packageSheets(const std::filesystem::path& folder)
{
    constexpr std::size_t kMaxPackageBytes = 4 * 1024 * 1024;
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() > 4 && lower(std::string_view(name).substr(name.size() - 4)) == ".opf")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string bytes;
        if (!readRegularFile((folder / name).native(), bytes, kMaxPackageBytes))
            continue;
        std::vector<std::filesystem::path> sheets;
        for (const std::string& sheet : readPackageFile(bytes, name).styleSheets)
            sheets.push_back(folder / sheet);
        return sheets;
    }
    return {};
}

std::string percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [](char ch) {
            if (ch >= '0' && ch <= '9')
                return ch - '0';
            ch = lowerChar(ch);
            return ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
        };
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0
            && hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i] == '\\' ? '/' : text[i];
        }
    }
    return out;
}

}  // namespace

std::vector<CssDeclaration> HtmlStyleSheet::parseDeclarations(std::string_view text)
{
    std::vector<CssDeclaration> declarations;
    std::size_t start = 0;
    while (start < text.size()) {
        // Semicolons inside quotes or parentheses do not end a declaration.
        std::size_t end = start;
        char quote = 0;
        int parens = 0;
        for (; end < text.size(); ++end) {
            const char ch = text[end];
            if (quote) {
                if (ch == quote)
                    quote = 0;
            } else if (ch == '"' || ch == '\'') {
                quote = ch;
            } else if (ch == '(') {
                ++parens;
            } else if (ch == ')' && parens > 0) {
                --parens;
            } else if (ch == ';' && parens == 0) {
                break;
            }
        }
        const std::string_view item = text.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos)
            continue;
        CssDeclaration declaration;
        declaration.property = lower(trim(item.substr(0, colon)));
        std::string_view value = trim(item.substr(colon + 1));
        const std::size_t bang = value.rfind('!');
        if (bang != std::string_view::npos && lower(trim(value.substr(bang + 1))) == "important") {
            declaration.important = true;
            value = trim(value.substr(0, bang));
        }
        declaration.value = std::string(value);
        if (declaration.property.empty() || declaration.value.empty())
            continue;
        declarations.push_back(std::move(declaration));
    }
    return declarations;
}

void HtmlStyleSheet::addRules(std::string_view cssText)
{
    const std::string css = withoutComments(cssText);
    std::size_t at = 0;
    while (at < css.size()) {
        const std::size_t open = css.find('{', at);
        const std::size_t semicolon = css.find(';', at);
        const std::string_view prelude = trim(std::string_view(css).substr(
            at, (open == std::string::npos ? css.size() : open) - at));
        if (!prelude.empty() && prelude.front() == '@' && semicolon < open) {
            at = semicolon + 1;  // @import, @charset, @namespace
            continue;
        }
        if (open == std::string::npos)
            break;
        const std::size_t close = blockEnd(css, open + 1);
        const std::string_view body = std::string_view(css).substr(open + 1, close - open - 1);
        at = close + 1;
        if (!prelude.empty() && prelude.front() == '@') {
            const std::string keyword = lower(prelude.substr(0, 6));
            if (keyword == "@media" && mediaApplies(prelude.substr(6)))
                addRules(body);
            continue;  // @font-face, @page, @keyframes...
        }
        std::vector<CssDeclaration> declarations = parseDeclarations(body);
        if (declarations.empty())
            continue;
        m_blocks.push_back(std::move(declarations));
        addRule(prelude, m_blocks.size() - 1);
    }
}

void HtmlStyleSheet::addRule(std::string_view selectors, std::size_t block)
{
    std::size_t start = 0;
    while (start <= selectors.size()) {
        std::size_t comma = selectors.find(',', start);
        if (comma == std::string_view::npos)
            comma = selectors.size();
        const std::string_view text = trim(selectors.substr(start, comma - start));
        start = comma + 1;
        if (text.empty())
            continue;

        Rule rule;
        rule.block = block;
        bool supported = true;
        Compound compound;
        bool inCompound = false;
        std::size_t i = 0;
        bool child = false;  // the next compound is a child of the one before
        const auto endCompound = [&] {
            if (inCompound) {
                compound.child = std::exchange(child, false);
                rule.compounds.push_back(std::move(compound));
            }
            compound = Compound();
            inCompound = false;
        };
        while (i < text.size() && supported) {
            const char ch = text[i];
            if (isSpace(ch) || ch == '>') {
                endCompound();
                if (ch == '>')
                    child = true;
                ++i;
            } else if (ch == '*') {
                inCompound = true;
                ++i;
            } else if (ch == '.' || ch == '#' || ch == ':') {
                std::size_t end = i + 1;
                while (end < text.size() && isNameChar(text[end]))
                    ++end;
                const std::string name = lower(text.substr(i + 1, end - i - 1));
                if (name.empty())
                    supported = false;
                else if (ch == '.')
                    compound.classes.push_back(name), rule.specificity += 100;
                else if (ch == '#')
                    compound.id = name, rule.specificity += 10000;
                else if (name == "link" || name == "visited")
                    compound.link = true, rule.specificity += 100;
                else
                    supported = false;  // :hover, :first-child, ::before...
                inCompound = true;
                i = end;
            } else if (isNameChar(ch)) {
                std::size_t end = i;
                while (end < text.size() && isNameChar(text[end]))
                    ++end;
                if (inCompound) {
                    supported = false;
                } else {
                    compound.tag = lower(text.substr(i, end - i));
                    // A DTBook element shown under an HTML name keeps its
                    // own as its first class.
                    if (m_dtbookNames && dtbookElement(compound.tag))
                        compound.classes.push_back(std::exchange(compound.tag, std::string()));
                    rule.specificity += 1;
                    inCompound = true;
                }
                i = end;
            } else {
                supported = false;  // + ~ [attribute] and anything unknown
            }
        }
        endCompound();
        if (!supported || rule.compounds.empty())
            continue;

        rule.order = m_rules.size();
        const std::size_t index = m_rules.size();
        const Compound& subject = rule.compounds.back();
        if (!subject.id.empty())
            m_byId[subject.id].push_back(index);
        else if (!subject.classes.empty())
            m_byClass[subject.classes.front()].push_back(index);
        else if (!subject.tag.empty())
            m_byTag[subject.tag].push_back(index);
        else
            m_universal.push_back(index);
        m_rules.push_back(std::move(rule));
    }
}

void HtmlStyleSheet::addDocumentSheets(const HtmlDocument& document, const std::filesystem::path& folder)
{
    if (document.isDtbook()) {
        m_dtbookNames = true;
        addRules(DtbookDocument::defaultStyleSheet());
    }
    bool ownSheets = false;
    for (const xmlNode* node : document.sheetElements()) {
        const std::string_view name = HtmlNode::name(node);
        if (name == "link") {
            const std::string rel = lower(HtmlNode::attribute(node, "rel"));
            const std::string_view href = trim(HtmlNode::attribute(node, "href"));
            if (rel.find("stylesheet") == std::string::npos || rel.find("alternate") != std::string::npos
                || href.empty() || !mediaApplies(HtmlNode::attribute(node, "media"))
                || href.find("://") != std::string_view::npos)
                continue;
            ownSheets = true;
            const std::string path = percentDecoded(href.substr(0, href.find_first_of("?#")));
            if (!path.empty())
                addRules(readSheet(path.front() == '/' ? std::filesystem::path(path) : folder / path));
        } else if (name == "style" && mediaApplies(HtmlNode::attribute(node, "media"))) {
            std::string text;
            for (const xmlNode* child = node->children; child; child = child->next) {
                if (child->content)
                    text += reinterpret_cast<const char*>(child->content);
            }
            ownSheets = true;
            addRules(text);
        }
    }
    if (document.isDtbook() && !ownSheets) {
        for (const std::filesystem::path& sheet : packageSheets(folder))
            addRules(readSheet(sheet));
    }
}

bool HtmlStyleSheet::matchesCompound(const Compound& compound, const xmlNode* element)
{
    if (!compound.tag.empty() && compound.tag != HtmlNode::name(element))
        return false;
    if (!compound.id.empty() && !equalsLower(HtmlNode::attribute(element, "id"), compound.id))
        return false;
    if (compound.link && (HtmlNode::name(element) != "a" || !HtmlNode::hasAttribute(element, "href")))
        return false;
    for (const std::string& name : compound.classes) {
        if (!hasClass(element, name))
            return false;
    }
    return true;
}

bool HtmlStyleSheet::matches(const Rule& rule, const xmlNode* element) const
{
    auto compound = rule.compounds.rbegin();
    if (!matchesCompound(*compound, element))
        return false;
    // Each compound is matched by the nearest ancestor that can: one walk up,
    // however deep a stranger's document nests.
    const xmlNode* ancestor = element->parent;
    for (auto inner = compound++; compound != rule.compounds.rend(); inner = compound++) {
        if (inner->child && HtmlNode::isElement(ancestor) && !matchesCompound(*compound, ancestor))
            return false;
        while (HtmlNode::isElement(ancestor) && !matchesCompound(*compound, ancestor))
            ancestor = ancestor->parent;
        if (!HtmlNode::isElement(ancestor))
            return false;
        ancestor = ancestor->parent;
    }
    return true;
}

void HtmlStyleSheet::matchingDeclarations(const xmlNode* element,
                                          std::vector<const CssDeclaration*>& out) const
{
    if (m_rules.empty() || !HtmlNode::isElement(element))
        return;
    // Asked for every element shown: the names are looked up as they stand
    // when they hold no capital, and the candidates go into one vector kept
    // for the purpose.
    const auto lookUp = [this](const Index& index, std::string_view name) {
        const auto found = hasCapital(name) ? index.find(lower(name)) : index.find(name);
        if (found != index.end())
            m_candidates.insert(m_candidates.end(), found->second.begin(), found->second.end());
    };
    m_candidates.assign(m_universal.begin(), m_universal.end());
    if (const auto tag = m_byTag.find(HtmlNode::name(element)); tag != m_byTag.end())
        m_candidates.insert(m_candidates.end(), tag->second.begin(), tag->second.end());
    const std::string_view id = HtmlNode::attribute(element, "id");
    if (!id.empty() && !m_byId.empty())
        lookUp(m_byId, id);
    std::string_view classes = HtmlNode::attribute(element, "class");
    while (!classes.empty() && !m_byClass.empty()) {
        while (!classes.empty() && isSpace(classes.front()))
            classes.remove_prefix(1);
        std::size_t end = 0;
        while (end < classes.size() && !isSpace(classes[end]))
            ++end;
        if (end > 0)
            lookUp(m_byClass, classes.substr(0, end));
        classes.remove_prefix(end);
    }
    if (m_candidates.empty())
        return;
    std::sort(m_candidates.begin(), m_candidates.end(), [this](std::size_t a, std::size_t b) {
        const Rule& ra = m_rules[a];
        const Rule& rb = m_rules[b];
        return ra.specificity != rb.specificity ? ra.specificity < rb.specificity : ra.order < rb.order;
    });
    m_candidates.erase(std::unique(m_candidates.begin(), m_candidates.end()), m_candidates.end());
    for (const std::size_t index : m_candidates) {
        const Rule& rule = m_rules[index];
        if (!matches(rule, element))
            continue;
        for (const CssDeclaration& declaration : m_blocks[rule.block])
            out.push_back(&declaration);
    }
}

}  // namespace korvin
