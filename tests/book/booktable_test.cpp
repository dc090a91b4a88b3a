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

}  // namespace
}  // namespace korvin
