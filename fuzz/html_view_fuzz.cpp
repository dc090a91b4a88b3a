// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a text document of a book: its character set found and
// decoded, parsed into the text view's document model, serialised, every id's
// content wrapped in a highlight span and unwrapped again, the search term's
// way of rewriting the body, and the search's own reading of the text.
// Besides the sanitizers, what the highlighter relies on is checked: markup set
// on an element reads back exactly, and taking the span out restores it; and
// a tree the XHTML reader gives is the very tree the HTML parser builds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/html/htmldocument.h"
#include "desktop/html/htmlencoding.h"
#include "desktop/html/htmlnode.h"
#include "desktop/html/htmltextdocuments.h"
#include "desktop/html/xhtmlreader.h"
#include "xmltreedump.h"

namespace {

using namespace korvin;

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

// The reader's quick way and the parser's must agree wherever the reader
// does not give up.
void checkXhtmlReader(const std::string& utf8)
{
    const DocPtr read(XhtmlReader::read(utf8));
    if (!read)
        return;
    const DocPtr parsed(parseHtml(utf8));
    check(parsed != nullptr);
    check(xmltreedump::dumped(read.get()) == xmltreedump::dumped(parsed.get()));
}

constexpr std::size_t kMostIds = 8;
const std::string kOpen = "<SPAN style=\"FONT-WEIGHT: bold\">";
const std::string kClose = "</SPAN>";

std::vector<std::string> someIds(const HtmlDocument& document)
{
    std::vector<std::string> ids;
    const xmlNode* root = document.root();
    for (const xmlNode* node = root; node && ids.size() < kMostIds; node = HtmlNode::next(root, node)) {
        const std::string_view id = HtmlNode::attribute(node, "id");
        if (HtmlNode::isElement(node) && !id.empty())
            ids.emplace_back(id);
    }
    return ids;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)HtmlEncoding::declaredCharset(bytes);
    std::string utf8 = HtmlEncoding::toUtf8(bytes);
    HtmlEncoding::replaceC1Controls(utf8);
    (void)HtmlTextDocuments::textOf(utf8);
    checkXhtmlReader(utf8);

    HtmlDocument document = HtmlDocument::fromBytes(bytes);
    check(document.body() != nullptr);
    (void)document.outerHtml(document.root());

    bool changed = false;
    for (const std::string& id : someIds(document)) {
        xmlNode* element = document.elementById(id);
        // Content set again is parsed out of its context (a cell outside its
        // row): an element inside it may not come back.
        check(element != nullptr || changed);
        if (!element)
            continue;
        const std::string inner = document.innerHtml(element);
        const std::string highlighted = kOpen + inner + kClose;
        // Refused for elements without content and for the html element.
        if (!document.setInnerHtml(element, highlighted)) {
            check(HtmlNode::isVoid(element) || HtmlNode::name(element) == "html");
            check(document.innerHtml(element) == inner);
            continue;
        }
        element = document.elementById(id);
        check(element != nullptr && document.innerHtml(element) == highlighted);
        check(document.setInnerHtml(element, inner));
        changed = true;
        element = document.elementById(id);
        check(element != nullptr && document.innerHtml(element) == inner);
    }

    // The term marking sets the body's own outer markup as its content.
    const std::string body = document.outerHtml(document.body());
    check(document.setInnerHtml(document.body(), body));
    check(document.body() != nullptr);
    (void)document.outerHtml(document.root());
    return 0;
}
