// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "book/booktables.h"
#include "platform/htmlview.h"
#include "ui/textstyle.h"

namespace korvin {

// Marks the current phrase and the search term in the text view by editing the
// shown document's markup: a SPAN with an inline style goes around the text,
// and the markup inserted the time before is taken out again. What it inserted
// is remembered for the life of the program, across books.
class TextHighlighter {
public:
    // What the main window knows when the highlighter runs.
    struct Context {
        bool startPage = false;
        bool bookOpen = false;
        bool textSearchMode = false;
        std::string bookFolder;
        BookInfo bookInfo;
        TextStyle style;
    };

    explicit TextHighlighter(HtmlView& view);

    // Marks every occurrence of `term` (lower-cased) in the shown document,
    // after taking out the marking of the previous term.
    void markSearchTerm(const std::string& term, const Context& context);
    // Highlights the content of the element with id `fragmentId`, after taking
    // out the previous highlight, and brings it to the middle of the view.
    void highlightFragment(const std::string& fragmentId, const Context& context);

    // A document has been loaded into the view: nothing inserted before is in
    // it, so nothing is to be taken out, and the marking and the highlight
    // are due again even when it is the same document as before.
    void documentLoaded();

    // The open markup each operation puts before its text, "" while no style is set.
    static std::string termOpenMarkup(const TextStyle& style);
    static std::string fragmentOpenMarkup(const TextStyle& style);
    static constexpr const char* kCloseMarkup = "</SPAN>";

private:
    void removeTermMarking();
    void removeFragmentHighlight();

    HtmlView& m_view;

    std::string m_termOpenMarkup;
    std::string m_lastMarkedDocument;
    std::string m_lastTerm;

    std::string m_fragmentOpenMarkup;
    std::string m_lastFragmentId;
    std::string m_lastDocumentKey;
    BookInfo m_lastBookInfo;
};

}  // namespace korvin
