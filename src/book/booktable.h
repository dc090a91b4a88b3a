// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvin {

// One of the hidden book tables: rows of text cells under fixed columns.
//
// Rows are addressed from 0. Reading a cell of a missing row (below 0, at or past
// the row count) or column gives empty text; writing one does nothing. At most
// one row is selected. Each table has a selection mark, -1 when new or emptied,
// which only moves when set. A change of a row's state is reported to the
// listener at once, before the call that caused it returns.
class BookTable {
public:
    enum RowState { kNone = 0, kFocused = 1, kSelected = 2, kSelectedFocused = 3 };
    // (row, new state), for every row whose state actually changed.
    using RowStateListener = std::function<void(int row, int state)>;

    explicit BookTable(std::vector<std::string> columns);

    const std::vector<std::string>& columns() const { return m_columns; }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    int rowCount() const { return static_cast<int>(m_states.size()); }

    // Inserts a row at `index` (appends when index is at or past the row count)
    // with `column0` in its first cell; returns the row's index.
    int insertRow(int index, std::string column0);
    // Appends a row with `column0` in its first cell and returns its cells,
    // as rowCells() would: the way of a reader that fills rows in order.
    std::span<std::string> appendRow(std::string_view column0);
    void deleteRow(int row);
    // Empties the table; the selection mark returns to -1. The table keeps
    // the storage of its rows, and of their texts up to kKeptTextCapacity
    // bytes, for the next filling.
    void deleteAllRows();
    static constexpr std::size_t kKeptTextCapacity = 256;

    void setText(int row, int column, const std::string& text);
    void setText(int row, int column, std::string&& text);
    // The cells of `row`, columnCount() of them in column order, for a reader
    // that fills the rows it appends; empty for a missing row. A cell stays
    // where it is while rows are appended; after an insertion before the end,
    // a deletion or deleteAllRows() the cells may hold another row's texts.
    std::span<std::string> rowCells(int row);
    std::span<const std::string> rowCells(int row) const;
    const std::string& text(int row, int column) const;
    // A cell read as the C conversions read it: leading blanks and sign, then
    // digits; text that is not a number reads as 0.
    int integer(int row, int column) const;
    double real(int row, int column) const;

    int selectionMark() const { return m_mark; }
    void setSelectionMark(int row) { m_mark = row; }

    // Sets a row's state (kSelected or kSelectedFocused; kNone clears it). A
    // selected row clears the previously selected one. Missing rows are ignored.
    void setRowState(int row, int state);
    int rowState(int row) const;
    // The selected row, -1 when none.
    int selectedRow() const;
    // The hidden tables are never seen: nothing to scroll.
    void scrollIntoView(int /*row*/) {}

    void setRowStateListener(RowStateListener listener) { m_listener = std::move(listener); }

    // Bytes held by the rows and their texts, for memory measurements.
    std::size_t memoryUsage() const;

private:
    // Rows live in chunks, each chunk one array of cells: a book's 150,000
    // phrases need no allocation per row, and a cell never moves while rows
    // are appended. The first chunk is small for the small tables; the others
    // are large, which the system's allocator serves with few page faults.
    static constexpr int kFirstChunkRows = 64;
    static constexpr int kChunkRows = 2048;

    static int chunkOf(int row) { return row < kFirstChunkRows ? 0 : 1 + (row - kFirstChunkRows) / kChunkRows; }
    static int rowInChunk(int row) { return row < kFirstChunkRows ? row : (row - kFirstChunkRows) % kChunkRows; }
    static int rowsIn(int chunk) { return chunk == 0 ? kFirstChunkRows : kChunkRows; }

    bool isRow(int row) const { return row >= 0 && row < rowCount(); }
    std::string& cell(int row, int column);
    const std::string& cell(int row, int column) const;
    void addRow();
    void changeState(int row, int state);

    std::vector<std::string> m_columns;
    std::vector<std::unique_ptr<std::string[]>> m_chunks;
    std::vector<int> m_states;  // one per row; its size is the row count
    int m_selected = -1;
    int m_mark = -1;
    RowStateListener m_listener;
};

// Writes `text` into a cell handed out by rowCells() or appendRow(): into the
// storage the cell holds when it is large enough, else into storage of the
// text's own size, as a new string gets it (an assignment would make room
// to grow, which a full table of a large book pays for in megabytes).
void putLongerText(std::string& cell, std::string_view text);
inline void putText(std::string& cell, std::string_view text)
{
    if (text.size() <= cell.capacity())
        cell.assign(text);
    else
        putLongerText(cell, text);
}

}  // namespace korvin
