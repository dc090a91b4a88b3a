// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "platform/textdocuments.h"

namespace korvin {

// The book's text documents as the search reads them: each file read under
// the book reader's rules (a regular file of sane size) and decoded to UTF-8
// as the text view decodes it (HtmlEncoding), then its text taken out in one
// pass over the markup, without building a document: a book search reads
// thousands of files.
//
// The text is what stands between the tags, with character references
// decoded by the entity table of the view's HTML parser. Elements count as
// the text view shows them (HtmlElement): the content of the head and of every
// hidden element (title, script, style, select, iframe...), comments,
// declarations and processing instructions are left out. Outside preformatted
// elements, white space folds into one space as a browser folds it; blocks
// (paragraphs, headings, list items, rows...) and <br> part lines with a line
// break, table cells with a tab, so that no term runs from one block into the
// next. A no-break space reads as a space, a soft hyphen as nothing. An
// element's id is placed at the first character of text after its start tag.
// A DAISY 3 text (DTBook) is read as the HTML the view shows for it. Thread-safe.
class HtmlTextDocuments : public TextDocuments {
public:
    std::optional<DocumentText> read(const std::string& path) override;

    // The text of UTF-8 markup.
    static DocumentText textOf(std::string_view markup);
};

}  // namespace korvin
