// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/views.h"

#include "book/phraselookup.h"
#include "platform/controlids.h"
#include "ui/commandids.h"

namespace korvin {

void Views::switchToNavigation()
{
    m_state.navigationViewActive = true;
    m_services.window.setFocus(control::kHeadingTree);
}

void Views::switchToText()
{
    m_state.navigationViewActive = false;
    m_services.window.setFocus(control::kTextView);
}

void Views::groupChosen()
{
    if (!m_state.playback.bookOpen || m_services.groupList.count() <= 0)
        return;
    m_services.window.setFocus(m_state.navigationViewActive ? control::kHeadingTree : control::kTextView);
    const int row = m_services.groupList.currentIndex();
    if (row < 0 || row >= m_parts.tables.groups.rowCount())
        return;
    selectGroup(row);
}

void Views::nextGroup()
{
    const int row = m_parts.tables.groups.selectionMark() + 1;
    if (row >= m_parts.tables.groups.rowCount())
        return;
    m_services.groupList.setCurrentIndex(row);
    selectGroup(row);
}

void Views::previousGroup()
{
    const int row = m_parts.tables.groups.selectionMark() - 1;
    if (row < 0)
        return;
    m_services.groupList.setCurrentIndex(row);
    selectGroup(row);
}

void Views::selectGroup(int row)
{
    BookTable& groups = m_parts.tables.groups;
    groups.setSelectionMark(row);
    // Asking for the group already reached goes there again.
    groups.setRowState(row, BookTable::kNone);
    groups.setRowState(row, BookTable::kSelected);
    groups.scrollIntoView(row);
    m_parts.menu.setGrayed(cmd::kGroupPrevious, row == 0);
    m_parts.menu.setGrayed(cmd::kGroupNext, row == groups.rowCount() - 1);
    m_services.menuBar.redraw();
}

void Views::groupJump()
{
    if (!m_state.playback.bookOpen)
        return;
    const BookTable& groups = m_parts.tables.groups;
    const int row = groups.selectionMark();
    PlaybackEngine::Jump jump(m_parts.engine);
    m_parts.engine.selectHeadingByIndex(groups.integer(row, col::group::kTitelId));
    const int phrase = findTextIdRow(m_parts.tables, groups.text(row, col::group::kSmil),
                                     groups.text(row, col::group::kFragment));
    if (phrase >= 0)
        jump.arriveAt(phrase);
}

}  // namespace korvin
