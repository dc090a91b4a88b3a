// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/pages.h"

#include <optional>
#include <string>

#include "ui/commandids.h"
#include "ui/stringids.h"

namespace korvin {

void Pages::jumpTo(int row)
{
    BookTable& pages = m_parts.tables.pages;
    pages.setSelectionMark(row);
    // The page playback reached last may be this very row, still marked
    // selected-and-focused: as a request, the jump must see it change.
    pages.setRowState(row, BookTable::kNone);
    pages.setRowState(row, BookTable::kSelected);
    pages.scrollIntoView(row);
}

void Pages::next()
{
    const BookTable& pages = m_parts.tables.pages;
    const int row = pages.selectionMark() + 1;
    if (row >= pages.rowCount())
        return;
    jumpTo(row);
    if (row != 0)
        m_parts.menu.setGrayed(cmd::kPagePrevious, false);
    if (row == pages.rowCount() - 1)
        m_parts.menu.setGrayed(cmd::kPageNext, true);
    m_services.menuBar.redraw();
}

void Pages::previous()
{
    const BookTable& pages = m_parts.tables.pages;
    const int row = pages.selectionMark() - 1;
    if (row < 0)
        return;
    jumpTo(row);
    if (row == 0)
        m_parts.menu.setGrayed(cmd::kPagePrevious, true);
    if (row != pages.rowCount() - 1)
        m_parts.menu.setGrayed(cmd::kPageNext, false);
    m_services.menuBar.redraw();
}

void Pages::goTo()
{
    MediaPlayer& player = m_services.player;
    player.pause();
    const std::optional<std::string> label = m_services.dialogs.askPageNumber(Dialogs::PageTexts{
        text(str::kGotoPageCaption), text(str::kGotoPagePrompt), text(str::kOk), text(str::kCancel)});
    if (!label) {
        m_services.menuBar.redraw();
        return;
    }
    m_parts.playback.forceSeek = true;
    const BookTable& pages = m_parts.tables.pages;
    bool found = false;
    // Every page with that label in turn: two pages called "1" (front matter
    // and body) end at the later one.
    for (int row = 0; row < pages.rowCount(); ++row) {
        if (pages.text(row, col::page::kSeite) == *label) {
            jumpTo(row);
            found = true;
        }
    }
    if (!found) {
        m_services.messageBoxes.show(text(str::kPageNotFound), text(str::kPageNotFoundCaption),
                                     MessageBoxes::Icon::kWarning);
        player.play();
    }
    m_services.menuBar.redraw();
}

}  // namespace korvin
