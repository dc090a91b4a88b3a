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

int BookTable::insertRow(int index, std::string column0)
{
    if (index < 0 || index > rowCount())
        index = rowCount();
    std::vector<std::string> row(m_columns.size());
    if (!row.empty())
        row[0] = std::move(column0);
    m_rows.insert(m_rows.begin() + index, std::move(row));
    m_states.insert(m_states.begin() + index, kNone);
    if (m_selected >= index)
        ++m_selected;
    return index;
}

void BookTable::deleteRow(int row)
{
    if (!isRow(row))
        return;
    m_rows.erase(m_rows.begin() + row);
    m_states.erase(m_states.begin() + row);
    if (m_selected == row)
        m_selected = -1;
    else if (m_selected > row)
        --m_selected;
}

void BookTable::deleteAllRows()
{
    m_rows.clear();
    m_states.clear();
    m_selected = -1;
    m_mark = -1;
}

void BookTable::setText(int row, int column, std::string text)
{
    if (!isRow(row) || column < 0 || column >= columnCount())
        return;
    m_rows[row][column] = std::move(text);
}

const std::string& BookTable::text(int row, int column) const
{
    if (!isRow(row) || column < 0 || column >= columnCount())
        return kEmpty;
    return m_rows[row][column];
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
    if (m_states[row] == state)
        return;
    m_states[row] = state;
    if (m_listener)
        m_listener(row, state);
}

int BookTable::rowState(int row) const
{
    return isRow(row) ? m_states[row] : kNone;
}

int BookTable::selectedRow() const
{
    return m_selected;
}

std::size_t BookTable::memoryUsage() const
{
    std::size_t bytes = m_rows.capacity() * sizeof(m_rows[0]) + m_states.capacity() * sizeof(int);
    for (const auto& row : m_rows) {
        bytes += row.capacity() * sizeof(std::string);
        for (const auto& cell : row)
            if (cell.capacity() > sizeof(std::string) - 1)  // beyond the small-string buffer
                bytes += cell.capacity() + 1;
    }
    return bytes;
}

}  // namespace korvin
