// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/booktables.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvin {
namespace {

TEST(BookTable, MissingRowsReadAsEmptyTextAndZero)
{
    BookTable table({"A", "B"});
    table.insertRow(0, "x");
    EXPECT_EQ(table.text(0, 0), "x");
    EXPECT_EQ(table.text(1, 0), "");  // one past the end
    EXPECT_EQ(table.text(-1, 0), "");
    EXPECT_EQ(table.integer(1, 0), 0);
    table.setText(5, 0, "ignored");
    EXPECT_EQ(table.rowCount(), 1);
}

TEST(BookTable, SelectingARowClearsThePreviousAndReportsAtOnce)
{
    BookTable table({"A"});
    for (int i = 0; i < 3; ++i)
        table.insertRow(i, std::to_string(i));
    std::vector<std::pair<int, int>> reports;
    table.setRowStateListener([&](int row, int state) { reports.emplace_back(row, state); });

    table.setRowState(0, BookTable::kSelected);
    table.setRowState(2, BookTable::kSelectedFocused);
    table.setRowState(2, BookTable::kSelectedFocused);  // no change, no report
    table.setRowState(2, BookTable::kSelected);

    const std::vector<std::pair<int, int>> expected{{0, 2}, {0, 0}, {2, 3}, {2, 2}};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(table.selectedRow(), 2);
    EXPECT_EQ(table.selectionMark(), -1);  // the mark only moves when set
}

TEST(BookTable, InsertingBeforeTheEndMovesLaterRowsDownAcrossChunks)
{
    BookTable table({"A", "B"});
    const int rows = 5000;  // several chunks of rows
    for (int i = 0; i < rows; ++i) {
        table.insertRow(i, std::to_string(i));
        table.setText(i, 1, "b" + std::to_string(i));
    }
    table.setRowState(3000, BookTable::kSelected);
    EXPECT_EQ(table.insertRow(3, "new"), 3);
    EXPECT_EQ(table.rowCount(), rows + 1);
    EXPECT_EQ(table.text(3, 0), "new");
    EXPECT_EQ(table.text(3, 1), "");  // nothing left of the row that was there
    for (int i = 4; i <= rows; ++i)
        ASSERT_EQ(table.text(i, 0), std::to_string(i - 1));
    EXPECT_EQ(table.text(rows, 1), "b" + std::to_string(rows - 1));
    EXPECT_EQ(table.selectedRow(), 3001);
    EXPECT_EQ(table.rowState(3001), BookTable::kSelected);
    EXPECT_EQ(table.rowState(3000), BookTable::kNone);
    EXPECT_EQ(table.insertRow(-1, "end"), rows + 1);
    EXPECT_EQ(table.insertRow(9999, "end2"), rows + 2);
}

TEST(BookTable, DeletingARowMovesLaterRowsUp)
{
    BookTable table({"A", "B"});
    for (int i = 0; i < 600; ++i)
        table.insertRow(i, std::to_string(i));
    table.setText(599, 1, "last");
    table.setRowState(550, BookTable::kSelected);
    table.deleteRow(10);
    EXPECT_EQ(table.rowCount(), 599);
    EXPECT_EQ(table.text(10, 0), "11");
    EXPECT_EQ(table.text(598, 1), "last");
    EXPECT_EQ(table.text(599, 0), "");
    EXPECT_EQ(table.selectedRow(), 549);
    table.insertRow(599, "again");
    EXPECT_EQ(table.text(599, 1), "");  // the freed row comes back empty
}

TEST(BookTable, EmptiedTableFillsAgainWithEmptyCells)
{
    BookTable table({"A", "B", "C"});
    for (int i = 0; i < 1000; ++i) {
        table.insertRow(i, "x");
        table.setText(i, 2, std::string(100, 'c'));
    }
    table.setSelectionMark(5);
    table.setRowState(5, BookTable::kSelected);
    table.deleteAllRows();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.selectionMark(), -1);
    EXPECT_EQ(table.selectedRow(), -1);
    EXPECT_EQ(table.text(0, 2), "");
    table.insertRow(0, "y");
    EXPECT_EQ(table.text(0, 0), "y");
    EXPECT_EQ(table.text(0, 2), "");
    EXPECT_EQ(table.rowState(0), BookTable::kNone);
}

TEST(BookTable, CellsStayInPlaceWhileRowsAreAppended)
{
    BookTable table({"A"});
    table.insertRow(0, "first row with a text longer than a small string");
    const std::string& first = table.text(0, 0);
    for (int i = 1; i < 5000; ++i)
        table.insertRow(i, "row");
    EXPECT_EQ(&first, &table.text(0, 0));
    EXPECT_EQ(first, "first row with a text longer than a small string");
}

TEST(BookTable, ARowsCellsAreTheCellsItsTextsAreReadFrom)
{
    BookTable table({"A", "B", "C"});
    // Rows made either way: appendRow hands out the cells rowCells gives.
    for (int i = 0; i < 2200; ++i) {
        if (i % 2 == 0) {
            table.insertRow(i, std::to_string(i));
            continue;
        }
        const auto appended = table.appendRow(std::to_string(i));
        ASSERT_EQ(appended.data(), table.rowCells(i).data()) << i;
        ASSERT_EQ(appended.size(), 3u);
    }
    table.setRowState(5, BookTable::kSelected);
    table.appendRow("2200");
    EXPECT_EQ(table.selectedRow(), 5);
    EXPECT_EQ(table.rowCount(), 2201);
    // The last row of the small first chunk, the first of each large one.
    for (const int row : {0, 63, 64, 2111, 2112, 2199, 2200}) {
        SCOPED_TRACE(row);
        const auto cells = table.rowCells(row);
        ASSERT_EQ(cells.size(), 3u);
        EXPECT_EQ(&cells[0], &table.text(row, 0));
        EXPECT_EQ(&cells[2], &table.text(row, 2));
        cells[1] = "b" + std::to_string(row);
        EXPECT_EQ(table.text(row, 1), "b" + std::to_string(row));
        EXPECT_EQ(table.text(row, 0), std::to_string(row));
    }
    for (const int missing : {-1, 2201, 100000})
        EXPECT_TRUE(table.rowCells(missing).empty()) << missing;
    BookTable noColumns({});
    noColumns.insertRow(0, "ignored");
    EXPECT_TRUE(noColumns.rowCells(0).empty());
    EXPECT_TRUE(noColumns.appendRow("ignored").empty());
    EXPECT_EQ(noColumns.rowCount(), 2);
}

// An emptied table keeps the storage of short texts for the next book, and
// counts it; long texts give theirs back.
TEST(BookTable, EmptyingKeepsTheStorageOfShortTextsOnly)
{
    const std::size_t kept = BookTable::kKeptTextCapacity;
    const struct {
        std::size_t length;
        bool storageKept;
    } cases[] = {{20, true}, {kept, true}, {kept + 1, false}, {4000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        BookTable table({"A", "B"});
        table.insertRow(0, "x");
        const std::size_t oneRow = table.memoryUsage();
        table.setText(0, 1, std::string(c.length, 'x'));
        const std::size_t filled = table.memoryUsage();
        table.deleteAllRows();
        EXPECT_EQ(table.memoryUsage(), c.storageKept ? filled : oneRow);
        table.insertRow(0, "y");
        EXPECT_EQ(table.text(0, 1), "");
        table.setText(0, 1, std::string(c.length, 'z'));
        EXPECT_EQ(table.text(0, 1), std::string(c.length, 'z'));
        EXPECT_EQ(table.memoryUsage(), filled);
    }
}

TEST(BookTable, CountsTheMemoryOfRowsAndLongTexts)
{
    BookTable table({"A"});
    const std::size_t empty = table.memoryUsage();
    table.insertRow(0, "short");
    const std::size_t oneRow = table.memoryUsage();
    EXPECT_GT(oneRow, empty);
    table.setText(0, 0, std::string(20, 'x'));  // beyond the small buffer, below 32
    EXPECT_GE(table.memoryUsage(), oneRow + 21);
}

}  // namespace
}  // namespace korvin
