// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvin {

class HtmlDocument;

// One "property: value" pair; the property in lower case, the value trimmed.
struct CssDeclaration {
    std::string property;
    std::string value;
    bool important = false;
};

// The part of a book's CSS the text view can show: rules whose selectors are
// made of element names, *, .class and #id, alone or combined (p.note) and
// joined as descendants (div.sidebar p) or children (div > p), plus :link and
// :visited on links. Each part of a selector is matched by the nearest
// ancestor that can, so "a > b c" misses a c whose nearest b is not the
// child of an a even when a b further up is. Rules with other selectors,
// @media blocks other than screen and all, and @import are passed over;
// broken text never stops the reading. Class and id names compare without
// regard to letter case, as in the documents' quirks mode.
class HtmlStyleSheet {
public:
    // Adds the rules of a style sheet, after those already read.
    void addRules(std::string_view css);
    // The sheets of a document: <link rel="stylesheet" href> files, resolved
    // against `folder`, and <style> elements, in document order. Missing files
    // are passed over. A DTBook's sheets come after a few defaults of its own
    // elements, and name its elements as DTBook names them: from then on a
    // selector of such a name finds the element shown under an HTML name. A
    // DTBook that names no sheet takes those its package file's manifest
    // lists (the first *.opf of `folder` by name).
    void addDocumentSheets(const HtmlDocument& document, const std::filesystem::path& folder);

    // The declarations of a style attribute or a rule's body.
    static std::vector<CssDeclaration> parseDeclarations(std::string_view text);

    // The declarations of every rule matching `element`, weakest first (by
    // specificity, then order); !important ones are not reordered here.
    void matchingDeclarations(const xmlNode* element, std::vector<const CssDeclaration*>& out) const;

    std::size_t ruleCount() const { return m_rules.size(); }

private:
    struct Compound {
        std::string tag;  // empty: any element
        std::string id;
        std::vector<std::string> classes;
        bool link = false;
        bool child = false;  // of the element the compound before it matches
    };
    struct Rule {
        std::vector<Compound> compounds;  // the subject last
        unsigned specificity = 0;
        std::size_t order = 0;
        std::size_t block = 0;
    };

    void addRule(std::string_view selectors, std::size_t block);
    bool matches(const Rule& rule, const xmlNode* element) const;
    static bool matchesCompound(const Compound& compound, const xmlNode* element);

    bool m_dtbookNames = false;
    std::vector<std::vector<CssDeclaration>> m_blocks;
    std::vector<Rule> m_rules;
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    // Rules by the id, class or tag of their subject, in lower case.
    using Index = std::unordered_map<std::string, std::vector<std::size_t>, NameHash, std::equal_to<>>;
    Index m_byId;
    Index m_byClass;
    Index m_byTag;
    std::vector<std::size_t> m_universal;
    mutable std::vector<std::size_t> m_candidates;  // of one matchingDeclarations()
};

}  // namespace korvin
