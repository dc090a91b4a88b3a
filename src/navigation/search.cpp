// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/search.h"

#include <string_view>
#include <unordered_map>

#include "book/textcase.h"
#include "book/textnumbers.h"
#include "navigation/pausebracket.h"
#include "platform/controlids.h"
#include "ui/commandids.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

constexpr const char* kInformation = "Information";
constexpr std::size_t kShortestTerm = 2;

// Characters, not bytes: "ä" is one character and two bytes.
std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char byte : text)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80)
            ++count;
    return count;
}

}  // namespace

Search::Search(State state, Parts parts, Services services, PhraseSearch::ResolvePath resolvePath,
               std::function<void(const std::string&)> markTerm)
    : m_state(state)
    , m_parts(parts)
    , m_services(services)
    , m_phraseSearch(parts.tables.phrases, services.documents, std::move(resolvePath))
    , m_markTerm(std::move(markTerm))
{
}

// ---------------------------------------------------------------------------
// The three searches

std::optional<std::string> Search::askTerm()
{
    const auto text = [this](int id) { return m_parts.strings.get(id, m_state.languageOffset); };
    const std::optional<std::string> typed = m_services.dialogs.askSearchTerm(
        Dialogs::SearchTexts{text(str::kSearchCaption), text(str::kSearchPrompt), text(str::kOk), text(str::kCancel)});
    if (!typed)
        return std::nullopt;
    clearHits();
    if (characterCount(*typed) < kShortestTerm)
        return std::nullopt;
    m_newTerm = lowerCase(*typed);
    return m_newTerm;
}

void Search::clearHits()
{
    // The mode belongs to the hits: left set for those of a heading search, it
    // would have the first heading chosen empty the list.
    m_state.textSearchMode = false;
    m_services.resultList.resetContent();
    m_parts.tables.searchHits.deleteAllRows();
    m_services.resultList.setEnabled(false);
    m_parts.menu.setGrayed(cmd::kSearchNext, true);
    m_parts.menu.setGrayed(cmd::kSearchPrevious, true);
}

void Search::searchHeadings()
{
    const PauseBracket bracket(m_services.player, m_services.menuBar);
    const std::optional<std::string> term = askTerm();
    if (!term)
        return;
    const BookTable& headings = m_parts.tables.headings;
    const std::vector<int> rows = korvin::searchHeadings(headings, *term);
    for (const int row : rows)
        addHit(headings.text(row, col::heading::kTreeId), -1, headings.text(row, col::heading::kTitel));
    announce(static_cast<long long>(rows.size()));
    if (!rows.empty()) {
        m_parts.menu.setGrayed(cmd::kSearchNext, false);
        m_services.resultList.setEnabled(true);
    }
}

void Search::searchText()
{
    const PauseBracket bracket(m_services.player, m_services.menuBar);
    const std::optional<std::string> term = askTerm();
    if (!term)
        return;
    const BookTable& phrases = m_parts.tables.phrases;
    const std::string treeId = phrases.text(phrases.selectionMark(), col::phrase::kTreeId);
    const std::string location = m_services.textView.locationName();
    const PhraseHits hits = runWaiting([&] { return m_phraseSearch.searchDocument(location, treeId, *term); });

    const HeadingTree& tree = m_parts.tables.tree;
    const std::string line = tree.itemText(tree.selectedItem());
    addPhraseHits(hits, [&](int) { return line; });
    announce(hits.occurrences);
    if (hits.occurrences > 0) {
        hitsFound();
        m_state.textSearchMode = true;
    }
}

void Search::searchBook()
{
    const PauseBracket bracket(m_services.player, m_services.menuBar);
    const std::optional<std::string> term = askTerm();
    if (!term)
        return;
    const PhraseHits hits = runWaiting([&] { return m_phraseSearch.searchBook(*term); });

    const BookTable& headings = m_parts.tables.headings;
    const BookTable& phrases = m_parts.tables.phrases;
    std::unordered_map<std::string_view, const std::string*> titles;
    if (!hits.phrases.empty()) {
        for (int row = headings.rowCount() - 1; row >= 0; --row)
            titles[headings.text(row, col::heading::kTreeId)] = &headings.text(row, col::heading::kTitel);
    }
    addPhraseHits(hits, [&](int row) {
        const auto title = titles.find(phrases.text(row, col::phrase::kTreeId));
        return title == titles.end() ? std::string() : *title->second;
    });
    announce(hits.occurrences);
    if (hits.occurrences > 0) {
        hitsFound();
        m_state.textSearchMode = false;
        m_services.menuBar.redraw();
    }
}

PhraseHits Search::runWaiting(const std::function<PhraseHits()>& search)
{
    PhraseHits hits;
    m_services.waitWindow.run(
        m_parts.strings.get(str::kSearching, m_state.languageOffset),
        [&](const std::atomic<bool>&) { hits = search(); }, WaitWindow::Options{});
    return hits;
}

void Search::addHit(const std::string& treeId, int phraseRow, const std::string& line)
{
    BookTable& hits = m_parts.tables.searchHits;
    const int row = hits.insertRow(hits.rowCount(), treeId);
    if (phraseRow >= 0) {
        hits.setText(row, col::searchhit::kBegriff, m_newTerm);
        hits.setText(row, col::searchhit::kEventId, std::to_string(phraseRow));
        hits.setText(row, col::searchhit::kFragment, m_parts.tables.phrases.text(phraseRow, col::phrase::kDokFragment));
    }
    m_services.resultList.addString(line);
}

void Search::addPhraseHits(const PhraseHits& hits, const std::function<std::string(int row)>& lineOf)
{
    const BookTable& phrases = m_parts.tables.phrases;
    for (const PhraseHit& hit : hits.phrases)
        addHit(phrases.text(hit.row, col::phrase::kTreeId), hit.row, lineOf(hit.row));
}

void Search::announce(long long count)
{
    const std::string text = m_parts.strings.get(str::kSearchResult, m_state.languageOffset) + " " + std::to_string(count) + " .";
    m_services.messageBoxes.show(text, kInformation, MessageBoxes::Icon::kInformation);
}

void Search::hitsFound()
{
    m_parts.menu.setGrayed(cmd::kSearchNext, false);
    m_state.term = m_newTerm;
    m_services.resultList.setEnabled(true);
    if (m_markTerm)
        m_markTerm(m_newTerm);
}

// ---------------------------------------------------------------------------
// Moving through the hits

void Search::nextHit()
{
    ListBox& list = m_services.resultList;
    const int line = list.currentIndex();
    const int count = list.count();
    MenuModel& menu = m_parts.menu;
    // At the last line (chosen by hand, which leaves the items as they are)
    // there is no next one to go to.
    if (line >= count - 1) {
        menu.setGrayed(cmd::kSearchNext, true);
        m_services.menuBar.redraw();
        return;
    }
    if (line == count - 2) {
        menu.setGrayed(cmd::kSearchNext, true);
        menu.setGrayed(cmd::kSearchPrevious, false);
    }
    if (line == -1) {
        list.setCurrentIndex(0);
        menu.setGrayed(cmd::kSearchPrevious, true);
    } else {
        list.setCurrentIndex(line + 1);
        menu.setGrayed(cmd::kSearchPrevious, false);
    }
    lineChosen();
    m_services.menuBar.redraw();
}

void Search::previousHit()
{
    ListBox& list = m_services.resultList;
    const int line = list.currentIndex();
    if (line <= 0)
        return;
    MenuModel& menu = m_parts.menu;
    if (line == 1) {
        menu.setGrayed(cmd::kSearchPrevious, true);
        menu.setGrayed(cmd::kSearchNext, false);
        list.setCurrentIndex(0);
    } else {
        list.setCurrentIndex(line - 1);
        menu.setGrayed(cmd::kSearchPrevious, false);
        menu.setGrayed(cmd::kSearchNext, false);
    }
    lineChosen();
    m_services.menuBar.redraw();
}

void Search::lineChosen()
{
    if (!m_state.playback.bookOpen)
        return;
    chooseLine(m_services.resultList.currentIndex());
    m_services.window.setFocus(control::kHeadingTree);
}

void Search::chooseLine(int line)
{
    BookTable& hits = m_parts.tables.searchHits;
    hits.setSelectionMark(line);
    hits.scrollIntoView(line);
    hits.setRowState(line, BookTable::kSelected);
}

void Search::hitSelected()
{
    if (!m_state.playback.bookOpen)
        return;
    const BookTable& hits = m_parts.tables.searchHits;
    const int current = hits.selectionMark();
    const int heading = hits.integer(current, col::searchhit::kTitelId);
    const std::string& event = hits.text(current, col::searchhit::kEventId);
    PlaybackEngine::Jump jump(m_parts.engine);
    if (event.empty()) {
        goToHeading(heading, jump);
        return;
    }
    m_state.playback.forceSeek = true;
    if (!m_state.textSearchMode)
        m_parts.engine.selectHeadingByIndex(heading);
    // Starting another heading plays its first phrase and uses up the seek; the
    // hit's phrase may follow that one in its file, and without a seek it would
    // be heard from where the first one stands. The phrase being played when
    // the listener chose the hit starts again, so that the passage that holds
    // the word is heard.
    jump.arriveAt(toInteger(event), true);
}

void Search::goToHeading(int heading, PlaybackEngine::Jump& jump)
{
    const HeadingTree& tree = m_parts.tables.tree;
    const HeadingTree::Item selected = tree.selectedItem();
    if (selected == HeadingTree::kNone || tree.itemData(selected) != heading) {
        m_parts.engine.selectHeadingByIndex(heading);
        return;
    }
    // The heading being played: selecting it again would change nothing, so
    // it starts again at its first phrase, as choosing it does.
    const BookTable& phrases = m_parts.tables.phrases;
    for (int row = 0; row < phrases.rowCount(); ++row) {
        if (phrases.integer(row, col::phrase::kTreeId) == heading) {
            jump.arriveAt(row, true);
            return;
        }
    }
}

}  // namespace korvin
