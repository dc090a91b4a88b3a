// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "book/booktable.h"

namespace korvin::test {

using Texts = std::vector<std::string>;

// The cells of one row of `table`, in column order.
inline Texts row(const BookTable& table, int row)
{
    Texts cells;
    for (int column = 0; column < table.columnCount(); ++column)
        cells.push_back(table.text(row, column));
    return cells;
}

// The cells of one column of `table`, in row order.
inline Texts column(const BookTable& table, int column)
{
    Texts cells;
    for (int row = 0; row < table.rowCount(); ++row)
        cells.push_back(table.text(row, column));
    return cells;
}

}  // namespace korvin::test
