// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/booktable.h"

#include "book/textnumbers.h"

namespace korvin {

namespace {
const std::string kEmpty;
}

BookTable::BookTable(std::vector<std::string> columns)
    : m_columns(std::move(columns))
{
}

std::string& BookTable::cell(int row, int column)
{
    const int inChunk = rowInChunk(row);
    return m_chunks[static_cast<std::size_t>(chunkOf(row))][static_cast<std::size_t>(inChunk * columnCount() + column)];
}

const std::string& BookTable::cell(int row, int column) const
{
    const int inChunk = rowInChunk(row);
    return m_chunks[static_cast<std::size_t>(chunkOf(row))][static_cast<std::size_t>(inChunk * columnCount() + column)];
}

void BookTable::addRow()
{
    const int chunk = chunkOf(rowCount());
    if (chunk >= static_cast<int>(m_chunks.size()))
        m_chunks.push_back(std::make_unique<std::string[]>(static_cast<std::size_t>(rowsIn(chunk) * columnCount())));
    m_states.push_back(kNone);
}

void putLongerText(std::string& cell, std::string_view text)
{
    cell = std::string(text);
}

std::span<std::string> BookTable::appendRow(std::string_view column0)
{
    const int row = rowCount();
    addRow();
    if (columnCount() == 0)
        return {};
    const std::span<std::string> cells(&cell(row, 0), static_cast<std::size_t>(columnCount()));
    putText(cells[0], column0);
    return cells;
}

int BookTable::insertRow(int index, std::string column0)
{
    if (index < 0 || index >= rowCount()) {
        // Appended: no row moves, and the selection stays where it is.
        const int row = rowCount();
        addRow();
        if (columnCount() > 0)
            cell(row, 0) = std::move(column0);
        return row;
    }
    addRow();  // its cells are empty
    // A row inserted before the end moves the later rows down by one.
    if (index < rowCount() - 1) {
        for (int row = rowCount() - 1; row > index; --row) {
            for (int column = 0; column < columnCount(); ++column)
                cell(row, column) = std::move(cell(row - 1, column));
            m_states[static_cast<std::size_t>(row)] = m_states[static_cast<std::size_t>(row - 1)];
        }
        for (int column = 0; column < columnCount(); ++column)
            cell(index, column).clear();
        m_states[static_cast<std::size_t>(index)] = kNone;
    }
    if (columnCount() > 0)
        cell(index, 0) = std::move(column0);
    if (m_selected >= index)
        ++m_selected;
    return index;
}

void BookTable::deleteRow(int row)
{
    if (!isRow(row))
        return;
    for (int r = row; r + 1 < rowCount(); ++r) {
        for (int column = 0; column < columnCount(); ++column)
            cell(r, column) = std::move(cell(r + 1, column));
        m_states[static_cast<std::size_t>(r)] = m_states[static_cast<std::size_t>(r + 1)];
    }
    const int last = rowCount() - 1;
    for (int column = 0; column < columnCount(); ++column)
        std::string().swap(cell(last, column));
    m_states.pop_back();
    if (m_selected == row)
        m_selected = -1;
    else if (m_selected > row)
        --m_selected;
}

void BookTable::deleteAllRows()
{
    // The chunks and the storage of short texts stay for the next book: the
    // window empties and fills the same tables book after book, and a cell
    // that keeps its storage takes the next book's text in that row without
    // an allocation (nor a free now). Long texts give theirs back.
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            std::string& text = cell(row, column);
            if (text.capacity() > kKeptTextCapacity)
                std::string().swap(text);
            else
                text.clear();
        }
    }
    m_states.clear();
    m_selected = -1;
    m_mark = -1;
}

void BookTable::setText(int row, int column, const std::string& text)
{
    if (!isRow(row) || column < 0 || column >= columnCount())
        return;
    cell(row, column) = text;
}

void BookTable::setText(int row, int column, std::string&& text)
{
    if (!isRow(row) || column < 0 || column >= columnCount())
        return;
    cell(row, column) = std::move(text);
}

std::span<std::string> BookTable::rowCells(int row)
{
    if (!isRow(row) || columnCount() == 0)
        return {};
    return {&cell(row, 0), static_cast<std::size_t>(columnCount())};
}

std::span<const std::string> BookTable::rowCells(int row) const
{
    if (!isRow(row) || columnCount() == 0)
        return {};
    return {&cell(row, 0), static_cast<std::size_t>(columnCount())};
}

const std::string& BookTable::text(int row, int column) const
{
    if (!isRow(row) || column < 0 || column >= columnCount())
        return kEmpty;
    return cell(row, column);
}

int BookTable::integer(int row, int column) const
{
    return toInteger(text(row, column));
}

double BookTable::real(int row, int column) const
{
    return toReal(text(row, column));
}

void BookTable::setRowState(int row, int state)
{
    if (!isRow(row))
        return;
    state &= kSelectedFocused;
    if (state & kSelected) {
        if (m_selected != -1 && m_selected != row)
            changeState(m_selected, kNone);
        m_selected = row;
    } else if (m_selected == row) {
        m_selected = -1;
    }
    changeState(row, state);
}

void BookTable::changeState(int row, int state)
{
    if (m_states[static_cast<std::size_t>(row)] == state)
        return;
    m_states[static_cast<std::size_t>(row)] = state;
    if (m_listener)
        m_listener(row, state);
}

int BookTable::rowState(int row) const
{
    return isRow(row) ? m_states[static_cast<std::size_t>(row)] : kNone;
}

int BookTable::selectedRow() const
{
    return m_selected;
}

std::size_t BookTable::memoryUsage() const
{
    std::size_t bytes = m_chunks.capacity() * sizeof(m_chunks[0]) + m_states.capacity() * sizeof(int);
    for (int chunk = 0; chunk < static_cast<int>(m_chunks.size()); ++chunk)
        bytes += static_cast<std::size_t>(rowsIn(chunk) * columnCount()) * sizeof(std::string);
    // Texts longer than the string's own small buffer have storage of their
    // own, which an emptied row keeps for its next text.
    const std::size_t inPlace = std::string().capacity();
    for (int chunk = 0; chunk < static_cast<int>(m_chunks.size()); ++chunk) {
        const std::string* cells = m_chunks[static_cast<std::size_t>(chunk)].get();
        for (int i = 0; i < rowsIn(chunk) * columnCount(); ++i)
            if (cells[i].capacity() > inPlace)
                bytes += cells[i].capacity() + 1;
    }
    return bytes;
}

}  // namespace korvin
