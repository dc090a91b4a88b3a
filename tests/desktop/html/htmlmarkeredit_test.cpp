// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmlmarkeredit.h"

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmlstyler.h"
#include "desktop/html/htmlstylesheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace korvin {
namespace {

const std::string kMark = "<span style=\"BACKGROUND-COLOR: #ff8000\">";
const std::string kClose = "</SPAN>";

// Every node below `parent`, as the parser or the edit left it.
std::string tree(const xmlNode* parent)
{
    std::string out;
    for (const xmlNode* node = parent->children; node; node = HtmlNode::next(parent, node)) {
        int depth = 0;
        for (const xmlNode* up = node->parent; up != parent; up = up->parent)
            ++depth;
        out += std::string(static_cast<std::size_t>(depth), ' ') + std::to_string(node->type) + ' '
               + std::string(HtmlNode::name(node));
        for (const xmlAttr* attribute = node->type == XML_ELEMENT_NODE ? node->properties : nullptr; attribute;
             attribute = attribute->next)
            out += ' ' + std::string(reinterpret_cast<const char*>(attribute->name)) + '='
                   + std::string(HtmlNode::attribute(node, reinterpret_cast<const char*>(attribute->name)));
        if (node->content)
            out += " [" + std::string(reinterpret_cast<const char*>(node->content)) + ']';
        out += '\n';
    }
    return out;
}

// `markup` with `open` and the closing tag put around every `term` in it.
std::string marked(std::string markup, const std::string& term, const std::string& open)
{
    for (std::size_t at = markup.find(term); at != std::string::npos; at = markup.find(term, at)) {
        markup.insert(at, open);
        at += open.size() + term.size();
        markup.insert(at, kClose);
        at += kClose.size();
    }
    return markup;
}

std::string unmarked(std::string markup, const std::string& open)
{
    for (const std::string& tag : {open, kClose}) {
        for (std::size_t at = markup.find(tag); at != std::string::npos; at = markup.find(tag, at))
            markup.erase(at, tag.size());
    }
    return markup;
}

TEST(HtmlMarkerEdit, PutsMarkersInAndTakesThemOutAsParsingWouldWithoutParsingWhereItCan)
{
    using Change = HtmlDocument::Change;
    const auto mark = [](const std::string& markup) { return marked(markup, "phrase", kMark); };
    struct Case {
        const char* name;
        std::string body;  // as first set
        std::function<std::string(const std::string&)> edit;  // of the body's content as read
        Change change;
    };
    const Case cases[] = {
        {"terms in paragraphs and in inline elements",
         "<p id=\"a\">the phrase moves</p>\n<p id=\"b\">x <b>phrase</b> y, phrase.</p>", mark, Change::kMarkers},
        {"and taken out again", "<p id=\"a\">the " + kMark + "phrase" + kClose + " moves</p>",
         [](const std::string& markup) { return unmarked(markup, kMark); }, Change::kMarkers},
        {"at both ends of a text and one after another", "<p id=\"a\">phrasephrase</p><p>phrase</p>", mark,
         Change::kMarkers},
        {"with references and a comment beside", "<p id=\"a\">&amp; phrase &lt;x&gt;<!-- c -->phrase</p>", mark,
         Change::kMarkers},
        {"in a table's cell", "<table><tr><td id=\"a\">cell phrase</td></tr></table>", mark, Change::kMarkers},
        {"a span that is no colour marker", "<p id=\"a\">a phrase</p>",
         [](const std::string& markup) { return marked(markup, "phrase", "<SPAN style=\"FONT-WEIGHT: bold\">"); },
         Change::kContent},
        {"in preformatted text", "<pre id=\"a\">\na phrase</pre>", mark, Change::kContent},
        {"inside a tag", "<p id=\"a\" class=\"phrase\">phrase</p>", mark, Change::kContent},
        {"a span with more than a style", "<p id=\"a\">a phrase</p>",
         [](const std::string& markup) { return marked(markup, "phrase", "<span class=\"x\" style=\"color: red\">"); },
         Change::kContent},
        {"inside a marker", "<p id=\"a\">" + kMark + "a phrase" + kClose + "</p>", mark, Change::kContent},
        {"in text kept with a reference the parser's table reads", "<p id=\"a\">a&nbsp;phrase</p>", mark,
         Change::kContent},
        {"text directly in a table", "<table id=\"a\">phrase<tr><td>x</td></tr></table>", mark, Change::kContent},
    };
    HtmlStyleSheet sheet;
    const HtmlStyler styler(sheet);
    const auto isMarker = [&](const xmlNode* node) { return styler.isMarker(node); };
    for (const Case& c : cases) {
        HtmlDocument doc = HtmlDocument::fromUtf8("<html><body><p>x</p></body></html>");
        ASSERT_TRUE(doc.setInnerHtml(doc.body(), c.body)) << c.name;
        const xmlNode* element = doc.elementById("a");
        const std::string markup = c.edit(doc.innerHtml(doc.body()));
        EXPECT_EQ(doc.replaceInnerHtml(doc.body(), markup, {}, isMarker), c.change) << c.name;
        if (c.change == Change::kMarkers) {
            EXPECT_EQ(doc.elementById("a"), element) << c.name;
        }
        const HtmlDocument parsed = HtmlDocument::fromUtf8("<html><body>" + markup + "</body></html>");
        EXPECT_EQ(tree(doc.body()), tree(parsed.body())) << c.name;
        EXPECT_EQ(doc.innerHtml(doc.body()), markup) << c.name;
        EXPECT_EQ(doc.innerHtml(doc.elementById("a")), parsed.innerHtml(parsed.elementById("a"))) << c.name;
    }
}

TEST(HtmlMarkerEdit, LeavesEverythingAsItIsWhenTheMarkupChangedOtherwise)
{
    const struct {
        const char* name;
        std::string markup;
    } cases[] = {{"other text", "<p>the phrase runs</p>"},
                 {"an end tag without its start", "<p>the phrase" + kClose + " moves</p>"},
                 {"a marker never closed", "<p>the " + kMark + "phrase moves</p>"},
                 {"another element", "<p>the <b>phrase</b> moves</p>"}};
    for (const auto& c : cases) {
        HtmlDocument doc = HtmlDocument::fromUtf8("<html><body><p>the phrase moves</p></body></html>");
        const std::string before = tree(doc.body());
        EXPECT_FALSE(HtmlMarkerEdit::apply(nullptr, doc.body(), doc.innerHtml(doc.body()), c.markup,
                                           [](const xmlNode*) { return true; }))
            << c.name;
        EXPECT_EQ(tree(doc.body()), before) << c.name;
    }
}

}  // namespace
}  // namespace korvin
