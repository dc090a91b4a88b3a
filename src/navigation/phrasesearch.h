// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "book/booktable.h"
#include "platform/textdocuments.h"

namespace korvin {

// A phrase that holds occurrences of the search term.
struct PhraseHit {
    int row = 0;          // in the phrase table
    int occurrences = 0;  // at least 1
    friend bool operator==(const PhraseHit&, const PhraseHit&) = default;
};

struct PhraseHits {
    std::vector<PhraseHit> phrases;  // one per phrase, in row order
    long long occurrences = 0;       // over all of them
};

// A phrase as the search places occurrences among the phrases of a document.
struct PhraseFragment {
    int row = 0;
    std::string_view fragment;  // its `Dok-Fragment`
};

// Gives every occurrence of `term` (lower-cased) in the document's text to the
// phrase whose fragment element begins last at or before it; an occurrence
// before the first fragment goes to the phrase whose fragment comes first.
// Phrases whose fragment is empty or no id of the document take nothing; of
// several phrases with one fragment the first in `phrases` takes them all.
// Occurrences may overlap ("aa" twice in "aaa"). Lower-cases `document.text`
// in place. One pass over the text; the hits come in row order.
std::vector<PhraseHit> placeOccurrences(DocumentText& document, std::string_view term,
                                        const std::vector<PhraseFragment>& phrases);

// Searches the text documents of the phrase table. A document is named by
// the `Dokument` of its phrases, resolved by `resolvePath` (a file that
// exists in another letter case); each is read once per search.
class PhraseSearch {
public:
    using ResolvePath = std::function<std::string(const std::string&)>;

    PhraseSearch(const BookTable& phrases, TextDocuments& documents, ResolvePath resolvePath);

    // Every text document of the book; phrases of the navigation file
    // ("ncc.html" or "NCC.HTML" in `Dokument`) are not searched.
    PhraseHits searchBook(std::string_view term);
    // The document at `location` (the path the text view shows), counting only
    // the hits on phrases of the heading whose `TreeID` is `treeId`.
    PhraseHits searchDocument(const std::string& location, const std::string& treeId, std::string_view term);

private:
    std::string resolved(const std::string& document);
    void searchInto(const std::string& path, std::string_view term, const std::vector<PhraseFragment>& phrases,
                    std::vector<PhraseHit>& hits);

    const BookTable& m_phrases;
    TextDocuments& m_documents;
    ResolvePath m_resolvePath;
};

// The rows of the heading table whose `Titel`, lower-cased, holds `term`.
std::vector<int> searchHeadings(const BookTable& headings, std::string_view term);

}  // namespace korvin
