// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/resumeposition.h"

#include <cmath>

#include "book/textnumbers.h"
#include "ui/commandids.h"

namespace korvin {

namespace {

bool isNavigationFile(const std::string& document)
{
    return document.find("ncc.html") != std::string::npos || document.find("NCC.HTML") != std::string::npos;
}

}  // namespace

ResumePosition::ResumePosition(PlaybackState& state, BookTables& tables, MenuModel& menu, PlaybackEngine& engine,
                               Services services, ResumeFile file,
                               std::function<std::string(const std::string&)> resolvePath, const ResumeRewind& rewind)
    : m_state(state)
    , m_tables(tables)
    , m_menu(menu)
    , m_engine(engine)
    , m_services(services)
    , m_file(std::move(file))
    , m_resolvePath(std::move(resolvePath))
    , m_rewind(rewind)
{
}

void ResumePosition::save(const BookInfo& book)
{
    MediaPlayer& player = m_services.player;
    player.pause();
    const double position = player.position();
    const BookTable& phrases = m_tables.phrases;
    const int row = phrases.selectionMark();
    m_file.save(book,
                ResumeRecord{phrases.text(row, col::phrase::kTreeId), decimalText(position, 3), std::to_string(row)});
}

void ResumePosition::restore(const BookInfo& book)
{
    m_engine.stopTimers();
    const std::optional<ResumeRecord> record = m_file.find(book);
    if (!record) {
        playFromBeginning();
        return;
    }
    BookTable& phrases = m_tables.phrases;
    int row = toInteger(record->row);
    double position = toReal(record->position);
    if (!std::isfinite(position))
        position = 0.0;

    m_engine.selectHeadingByIndex(toInteger(record->heading));
    const HeadingTree& tree = m_tables.tree;
    const bool fits = row >= 0 && row < phrases.rowCount() &&
                      toInteger(phrases.text(row, col::phrase::kTreeId)) == tree.itemData(tree.selectedItem()) &&
                      tree.selectedItem() != HeadingTree::kNone;
    if (!fits) {
        // A record of another book with the same information, or one that
        // was damaged: a position within some other file means nothing here.
        playFromBeginning();
        return;
    }
    const AudioPlace resumed = m_rewind.resumePlace({row, position});
    row = resumed.row;
    position = resumed.position;
    phrases.setSelectionMark(row);
    if (!isNavigationFile(phrases.text(row, col::phrase::kDokument))) {
        m_menu.setGrayed(cmd::kSearchText, false);
        m_services.menuBar.redraw();
    }
    showDocument(row);
    startRow(row);
    MediaPlayer& player = m_services.player;
    // After the row's own start, which seeks to the phrase's begin: the
    // listener hears the point left, not the start of the phrase.
    player.setPosition(position);
    player.play();
}

void ResumePosition::playFromBeginning()
{
    m_engine.selectHeadingByIndex(0);
    m_tables.phrases.setSelectionMark(0);
    showDocument(0);
    startRow(0);
}

void ResumePosition::showDocument(int row)
{
    m_state.startPage = false;
    const std::string& document = m_tables.phrases.text(row, col::phrase::kDokument);
    if (document.empty())
        return;
    m_services.textView.navigate(m_resolvePath ? m_resolvePath(document) : document);
    // The phrase start then finds it shown and does not load it a second time.
    m_state.lastDocumentShown = document;
}

// The timers were stopped above; a row that is selected already (the first
// phrase of a heading selected before, or by the first page's set-up) would
// not start again when selected, and the book would play on with no one
// following it. Cleared first, the selection starts the phrase in every case.
void ResumePosition::startRow(int row)
{
    BookTable& phrases = m_tables.phrases;
    phrases.setRowState(row, BookTable::kNone);
    phrases.setRowState(row, BookTable::kSelected);
    phrases.scrollIntoView(row);
}

}  // namespace korvin
