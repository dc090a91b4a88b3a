#pragma once

#include "desktop/htmldocument.h"
#include "platform/textdocuments.h"

namespace korvin {

// The book's text documents as the search reads them: each file read under
// the book reader's rules (a regular file of sane size), decoded and parsed as
// the text view does it (HtmlDocument), its body's text taken out.
//
// The text is the body's text nodes in document order, entities decoded;
// script and style content, comments and the head are left out. Outside
// <pre>, white space folds into one space as a browser folds it; blocks
// (paragraphs, headings, list items, rows...) and <br> part lines with a
// line break, table cells with a tab, so that no term runs from one block
// into the next. A no-break space reads as a space, a soft hyphen as nothing.
// Not thread-safe; one call at a time.
class HtmlTextDocuments : public TextDocuments {
public:
    std::optional<DocumentText> read(const std::string& path) override;

    // The text of a parsed document, with the place of every element's id.
    static DocumentText textOf(const HtmlDocument& document);
};

}  // namespace korvin
