// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headingselection.h"

#include "book/phraselookup.h"
#include "book/textnumbers.h"
#include "ui/commandids.h"

namespace korvin {

namespace {

bool isNavigationFile(const std::string& document)
{
    return document.find("ncc.html") != std::string::npos || document.find("NCC.HTML") != std::string::npos;
}

// The file and the fragment of a link target: "chap2.smil" and "par_12" of
// ".../chap2.smil#par_12". A target below the book folder names its file by
// the path from there ("smil/chap2.smil"), as the heading table does for a
// book whose SMIL files lie in a sub-folder; any other by its bare name.
struct BookLink {
    std::string file;
    std::string fragment;
};

// The book's folder is taken off first: its name may hold a "#" ("Book #1") or
// end in ".smil", and neither belongs to the link. A fragment ends at a double
// quote.
BookLink splitBookLink(const std::string& url, const std::string& bookFolder)
{
    std::string_view rest = url;
    const bool inBook = !bookFolder.empty() && rest.substr(0, bookFolder.size()) == bookFolder;
    if (inBook)
        rest.remove_prefix(bookFolder.size());
    BookLink link;
    const std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        const std::string_view fragment = rest.substr(hash + 1);
        link.fragment = fragment.substr(0, fragment.find('"'));
    }
    const std::string_view path = rest.substr(0, hash);
    const std::size_t slash = path.rfind('/');
    link.file = inBook || slash == std::string_view::npos ? path : path.substr(slash + 1);
    return link;
}

}  // namespace

HeadingSelection::HeadingSelection(Parts parts, Services services)
    : m_parts(parts)
    , m_state(parts.state)
    , m_tables(parts.tables)
    , m_menu(parts.menu)
    , m_platform(services)
{
}

int HeadingSelection::headingSelected(HeadingTree::Item item)
{
    if (!m_state.playback.bookOpen)
        return 0;
    const long heading = m_tables.tree.itemData(item);
    m_parts.engine.unload();
    const bool searchInTextWasGrayed = m_menu.isGrayed(cmd::kSearchText);

    BookTable& phrases = m_tables.phrases;
    std::string lastTreeId;
    bool searchResultsEmptied = false;
    // Meant to run one row past the end: that read gives empty text, so a
    // heading without phrases ends with heading row 0 selected below.
    for (int row = 0; row <= phrases.rowCount(); ++row) {
        lastTreeId = phrases.text(row, col::phrase::kTreeId);
        if (toInteger(lastTreeId) != heading) {
            // Text hits belong to one heading.
            if (m_state.textSearchMode && !searchResultsEmptied) {
                emptySearchResults();
                searchResultsEmptied = true;
            }
            continue;
        }
        // Meant, as described: the document of the phrase current before
        // this selection decides search in the text, not the heading's own.
        const std::string& previousDocument = phrases.text(phrases.selectionMark(), col::phrase::kDokument);
        if (!isNavigationFile(previousDocument)) {
            m_menu.setGrayed(cmd::kSearchText, false);
        } else if (!searchInTextWasGrayed) {
            m_menu.setGrayed(cmd::kSearchText, true);
            emptySearchResults();
        }
        // Two redraws, as described: one for each item changed; harmless.
        m_platform.menuBar.redraw();
        m_menu.setGrayed(cmd::kPhraseForward, false);
        m_platform.menuBar.redraw();
        phrases.setSelectionMark(row);
        phrases.scrollIntoView(row);
        // The row may still be selected from before (the listener went to a
        // heading without phrases and came back): cleared first, selecting it
        // starts the heading all the same.
        phrases.setRowState(row, BookTable::kNone);
        phrases.setRowState(row, BookTable::kSelected);
        break;
    }
    const int headingRow = toInteger(lastTreeId);
    m_tables.headings.scrollIntoView(headingRow);
    m_tables.headings.setRowState(headingRow, BookTable::kSelected);
    return 0;
}

void HeadingSelection::beforeNavigate(const std::string& url, bool& cancel)
{
    if (!m_state.playback.bookOpen)
        return;
    const BookLink link = splitBookLink(url, m_state.playback.bookFolder);
    if (link.file.find(".smil") == std::string::npos && link.file.find(".SMIL") == std::string::npos)
        return;
    cancel = true;
    m_state.playback.forceSeek = true;
    PlaybackEngine::Jump jump(m_parts.engine);

    const BookTable& headings = m_tables.headings;
    for (int row = 0; row < headings.rowCount(); ++row) {
        if (headings.text(row, col::heading::kSmil) == link.file) {
            m_tables.headings.scrollIntoView(row);
            m_parts.engine.selectHeadingByIndex(headings.integer(row, col::heading::kTreeId));
            break;
        }
    }
    // A link without a fragment names no phrase; it must not match a row
    // that merely lacks an id.
    if (link.fragment.empty())
        return;
    const int row = findPhraseRow(m_tables, link.file, link.fragment);
    if (row >= 0)
        jump.arriveAt(row, true);
}

void HeadingSelection::emptySearchResults()
{
    m_platform.searchResultList.resetContent();
    m_tables.searchHits.deleteAllRows();
}

}  // namespace korvin
