// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/bookmarks.h"

#include <cmath>

#include "book/textnumbers.h"
#include "platform/controlids.h"
#include "ui/commandids.h"

namespace korvin {

Bookmarks::Bookmarks(PlaybackState& state, BookTables& tables, MenuModel& menu, PlaybackEngine& engine,
                     Services services, BookmarkFile file)
    : m_state(state)
    , m_tables(tables)
    , m_menu(menu)
    , m_engine(engine)
    , m_services(services)
    , m_file(std::move(file))
{
}

// ---------------------------------------------------------------------------
// Commands

void Bookmarks::set()
{
    MediaPlayer& player = m_services.player;
    const std::string time =
        player.playState() == MediaPlayer::kMediaEnded ? std::string() : decimalText(player.position(), 6);
    const std::string row = std::to_string(m_tables.phrases.selectionMark());
    const BookTable& headings = m_tables.headings;
    const int heading = headings.selectionMark();

    BookTable& bookmarks = m_tables.bookmarks;
    const int k = m_services.list.addString(headings.text(heading, col::heading::kTitel));
    bookmarks.insertRow(k, headings.text(heading, col::heading::kTitel));
    bookmarks.setText(k, col::bookmark::kZeit, time);
    bookmarks.setText(k, col::bookmark::kTitelId, headings.text(heading, col::heading::kTreeId));
    bookmarks.setText(k, col::bookmark::kEventId, row);

    m_services.list.setEnabled(true);
    m_menu.setGrayed(cmd::kBookmarkNext, false);
    m_services.menuBar.redraw();
}

void Bookmarks::remove()
{
    ListBox& list = m_services.list;
    const int k = list.currentIndex();
    list.deleteString(k);
    m_tables.bookmarks.deleteRow(k);
    m_menu.setGrayed(cmd::kBookmarkDelete, true);
    if (list.count() == 0) {
        m_menu.setGrayed(cmd::kBookmarkNext, true);
        m_menu.setGrayed(cmd::kBookmarkPrevious, true);
        list.setEnabled(false);
    } else {
        // No line is selected now: M starts again at the first bookmark, also
        // when the one deleted was the last, whose selection had grayed M.
        m_menu.setGrayed(cmd::kBookmarkNext, false);
        if (list.count() == 1)
            m_menu.setGrayed(cmd::kBookmarkPrevious, true);
    }
    m_services.menuBar.redraw();
}

void Bookmarks::next()
{
    const ListBox& list = m_services.list;
    const int k = list.currentIndex();
    const int n = list.count();
    // On the last line (reached by moving in the list itself, which does not
    // update the graying) there is nothing further to select.
    if (k >= n - 1 && k >= 0)
        return;
    m_menu.setGrayed(cmd::kBookmarkDelete, false);
    if (k == n - 2) {
        m_menu.setGrayed(cmd::kBookmarkNext, true);
        m_menu.setGrayed(cmd::kBookmarkPrevious, false);
    }
    if (k == -1) {
        selectLine(0);
        m_menu.setGrayed(cmd::kBookmarkPrevious, true);
    } else {
        selectLine(k + 1);
        m_menu.setGrayed(cmd::kBookmarkPrevious, false);
    }
    listSelectionChanged();
    m_services.menuBar.redraw();
}

void Bookmarks::previous()
{
    const int k = m_services.list.currentIndex();
    if (k <= 0)
        return;
    if (k == 1) {
        m_menu.setGrayed(cmd::kBookmarkPrevious, true);
        m_menu.setGrayed(cmd::kBookmarkNext, false);
        selectLine(0);
    } else {
        selectLine(k - 1);
        m_menu.setGrayed(cmd::kBookmarkPrevious, false);
        m_menu.setGrayed(cmd::kBookmarkNext, false);
    }
    listSelectionChanged();
    m_services.menuBar.redraw();
}

void Bookmarks::selectLine(int index)
{
    m_services.list.setCurrentIndex(index);
}

// ---------------------------------------------------------------------------
// Reactions

void Bookmarks::listSelectionChanged()
{
    ListBox& list = m_services.list;
    if (!m_state.bookOpen || list.count() == 0)
        return;
    m_menu.setGrayed(cmd::kBookmarkDelete, false);
    m_services.menuBar.redraw();
    m_services.window.setFocus(control::kHeadingTree);
    const int k = list.currentIndex();
    BookTable& bookmarks = m_tables.bookmarks;
    // The row chosen last is still selected; cleared first, choosing it again
    // jumps again instead of changing nothing.
    bookmarks.setRowState(k, BookTable::kNone);
    bookmarks.setRowState(k, BookTable::kSelected);
    bookmarks.setSelectionMark(k);
    bookmarks.scrollIntoView(k);
}

void Bookmarks::jump(int row)
{
    if (!m_state.bookOpen)
        return;
    const BookTable& bookmarks = m_tables.bookmarks;
    double position = bookmarks.real(row, col::bookmark::kZeit);
    if (!std::isfinite(position))
        position = 0.0;
    const int phrase = bookmarks.integer(row, col::bookmark::kEventId);
    PlaybackEngine::Jump jump(m_engine);
    m_engine.selectHeadingByIndex(bookmarks.integer(row, col::bookmark::kTitelId));

    // A row that is no phrase of the heading now selected (a damaged record, or
    // one of another book with the same information) leaves it at the heading.
    BookTable& phrases = m_tables.phrases;
    const HeadingTree& tree = m_tables.tree;
    if (phrase < 0 || phrase >= phrases.rowCount() || tree.selectedItem() == HeadingTree::kNone ||
        toInteger(phrases.text(phrase, col::phrase::kTreeId)) != tree.itemData(tree.selectedItem()))
        return;
    jump.arriveAt(phrase);
    MediaPlayer& player = m_services.player;
    if (player.playState() != MediaPlayer::kMediaEnded)
        player.setPosition(position);
}

// ---------------------------------------------------------------------------
// The file

void Bookmarks::load(const BookInfo& book)
{
    BookTable& bookmarks = m_tables.bookmarks;
    for (const BookmarkRecord& record : m_file.load(book)) {
        const int k = m_services.list.addString(record.titel);
        bookmarks.insertRow(k, record.titel);
        bookmarks.setText(k, col::bookmark::kZeit, record.zeit);
        bookmarks.setText(k, col::bookmark::kTitelId, record.titelId);
        bookmarks.setText(k, col::bookmark::kEventId, record.eventId);
    }
    if (bookmarks.rowCount() > 0) {
        m_menu.setGrayed(cmd::kBookmarkNext, false);
        m_services.menuBar.redraw();
    }
}

void Bookmarks::save(const BookInfo& book)
{
    const BookTable& bookmarks = m_tables.bookmarks;
    std::vector<BookmarkRecord> records;
    records.reserve(static_cast<std::size_t>(bookmarks.rowCount()));
    for (int row = 0; row < bookmarks.rowCount(); ++row)
        records.push_back({bookmarks.text(row, col::bookmark::kTitel), bookmarks.text(row, col::bookmark::kZeit),
                           bookmarks.text(row, col::bookmark::kTitelId), bookmarks.text(row, col::bookmark::kEventId)});
    m_file.save(book, records);
}

}  // namespace korvin
