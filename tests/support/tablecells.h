// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "book/booktable.h"
#include "book/headingtree.h"

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

// Each tree item as "depth data text", depth first.
inline Texts treeItems(const HeadingTree& tree)
{
    Texts items;
    for (auto item = tree.firstItem(); item != HeadingTree::kNone; item = tree.nextInOrder(item))
        items.push_back(std::to_string(tree.depth(item)) + " " + std::to_string(tree.itemData(item)) + " " +
                        tree.itemText(item));
    return items;
}

}  // namespace korvin::test
