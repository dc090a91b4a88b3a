// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/phrasesearch.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "book/booktables.h"
#include "book/textcase.h"

namespace korvin {

namespace {

bool isNavigationFile(const std::string& document)
{
    return document.find("ncc.html") != std::string::npos || document.find("NCC.HTML") != std::string::npos;
}

bool sameFile(const std::string& a, const std::string& b)
{
    return a == b || std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

}  // namespace

std::vector<PhraseHit> placeOccurrences(DocumentText& document, std::string_view term,
                                        const std::vector<PhraseFragment>& phrases)
{
    if (term.empty() || phrases.empty())
        return {};
    // Where each id begins; with several elements of one id the first counts,
    // as it does for the text view's highlight.
    struct Place {
        std::size_t offset;
        std::size_t order;
    };
    std::unordered_map<std::string_view, Place> ids;
    ids.reserve(document.anchors.size());
    for (std::size_t i = 0; i < document.anchors.size(); ++i)
        ids.try_emplace(document.anchors[i].id, Place{document.anchors[i].offset, i});

    // The fragments that begin the phrases' parts of the text. Two ids at one
    // offset (an element that begins with another) keep document order, so the
    // inner one, which comes later, takes what follows.
    struct Mark {
        std::size_t offset;
        std::size_t order;
        int row;
        int count;
    };
    std::vector<Mark> marks;
    std::vector<bool> taken(document.anchors.size(), false);
    for (const PhraseFragment& phrase : phrases) {
        if (phrase.fragment.empty())
            continue;
        const auto found = ids.find(phrase.fragment);
        if (found == ids.end() || taken[found->second.order])
            continue;
        taken[found->second.order] = true;
        marks.push_back(Mark{found->second.offset, found->second.order, phrase.row, 0});
    }
    if (marks.empty())
        return {};
    std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) {
        return a.offset != b.offset ? a.offset < b.offset : a.order < b.order;
    });

    lowerCaseInPlace(document.text.data(), document.text.size());
    const std::string_view text(document.text);
    // Occurrences come in text order, so the phrase that holds one is found
    // by moving on from the phrase of the one before.
    std::size_t mark = 0;
    for (std::size_t at = text.find(term); at != std::string_view::npos; at = text.find(term, at + 1)) {
        while (mark + 1 < marks.size() && marks[mark + 1].offset <= at)
            ++mark;
        ++marks[mark].count;
    }

    std::vector<PhraseHit> hits;
    for (const Mark& placed : marks)
        if (placed.count > 0)
            hits.push_back(PhraseHit{placed.row, placed.count});
    std::sort(hits.begin(), hits.end(), [](const PhraseHit& a, const PhraseHit& b) { return a.row < b.row; });
    return hits;
}

PhraseSearch::PhraseSearch(const BookTable& phrases, TextDocuments& documents, ResolvePath resolvePath)
    : m_phrases(phrases)
    , m_documents(documents)
    , m_resolvePath(std::move(resolvePath))
{
}

std::string PhraseSearch::resolved(const std::string& document)
{
    return m_resolvePath ? m_resolvePath(document) : document;
}

void PhraseSearch::searchInto(const std::string& path, std::string_view term,
                              const std::vector<PhraseFragment>& phrases, std::vector<PhraseHit>& hits)
{
    std::optional<DocumentText> text = m_documents.read(path);
    if (!text)
        return;
    const std::vector<PhraseHit> found = placeOccurrences(*text, term, phrases);
    hits.insert(hits.end(), found.begin(), found.end());
}

PhraseHits PhraseSearch::searchBook(std::string_view term)
{
    PhraseHits result;
    if (term.empty())
        return result;
    // Each document with all its phrases, in the order the table first names
    // them. A document that comes back in a later run of rows is read once: an
    // occurrence then belongs to the one phrase whose part of the text holds
    // it, whichever run that phrase is in, and is counted once.
    std::vector<std::string> order;
    std::unordered_map<std::string, std::vector<PhraseFragment>> byPath;
    std::unordered_map<std::string, std::string> paths;
    const std::string* lastDocument = nullptr;
    std::vector<PhraseFragment>* current = nullptr;
    for (int row = 0; row < m_phrases.rowCount(); ++row) {
        const std::string& document = m_phrases.text(row, col::phrase::kDokument);
        if (!lastDocument || document != *lastDocument) {
            lastDocument = &document;
            current = nullptr;
            if (!document.empty() && !isNavigationFile(document)) {
                auto path = paths.find(document);
                if (path == paths.end())
                    path = paths.emplace(document, resolved(document)).first;
                const auto [entry, added] = byPath.try_emplace(path->second);
                if (added)
                    order.push_back(path->second);
                current = &entry->second;
            }
        }
        if (current)
            current->push_back(PhraseFragment{row, m_phrases.text(row, col::phrase::kDokFragment)});
    }

    for (const std::string& path : order)
        searchInto(path, term, byPath[path], result.phrases);
    std::sort(result.phrases.begin(), result.phrases.end(),
              [](const PhraseHit& a, const PhraseHit& b) { return a.row < b.row; });
    for (const PhraseHit& hit : result.phrases)
        result.occurrences += hit.occurrences;
    return result;
}

PhraseHits PhraseSearch::searchDocument(const std::string& location, const std::string& treeId, std::string_view term)
{
    PhraseHits result;
    if (term.empty() || location.empty())
        return result;
    // The parts of the text belong to the phrases of every heading in the
    // document: a heading's last phrase ends where the next heading begins.
    std::vector<PhraseFragment> phrases;
    const std::string* lastDocument = nullptr;
    bool shown = false;
    for (int row = 0; row < m_phrases.rowCount(); ++row) {
        const std::string& document = m_phrases.text(row, col::phrase::kDokument);
        if (!lastDocument || document != *lastDocument) {
            lastDocument = &document;
            shown = !document.empty() && sameFile(resolved(document), location);
        }
        if (shown)
            phrases.push_back(PhraseFragment{row, m_phrases.text(row, col::phrase::kDokFragment)});
    }
    std::vector<PhraseHit> hits;
    searchInto(location, term, phrases, hits);
    for (const PhraseHit& hit : hits) {
        if (m_phrases.text(hit.row, col::phrase::kTreeId) != treeId)
            continue;
        result.phrases.push_back(hit);
        result.occurrences += hit.occurrences;
    }
    return result;
}

std::vector<int> searchHeadings(const BookTable& headings, std::string_view term)
{
    std::vector<int> rows;
    if (term.empty())
        return rows;
    std::string title;
    for (int row = 0; row < headings.rowCount(); ++row) {
        lowerCaseInto(headings.text(row, col::heading::kTitel), title);
        if (title.find(term) != std::string::npos)
            rows.push_back(row);
    }
    return rows;
}

}  // namespace korvin
