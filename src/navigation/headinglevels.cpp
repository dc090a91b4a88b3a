// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/headinglevels.h"

#include <string>

#include "navigation/pausebracket.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

// The same word in both languages.
constexpr const char* kCaption = "Information";

}  // namespace

HeadingLevels::HeadingLevels(Parts parts, Services services)
    : m_parts(parts)
    , m_services(services)
{
}

void HeadingLevels::next(int level)
{
    move(level, +1);
}

void HeadingLevels::previous(int level)
{
    move(level, -1);
}

int HeadingLevels::find(const BookTable& headings, int from, int level, int direction)
{
    for (int row = from + direction; row >= 0 && row < headings.rowCount(); row += direction)
        if (headings.integer(row, col::heading::kEbene) == level)
            return row;
    return -1;
}

void HeadingLevels::move(int level, int direction)
{
    const BookTables& tables = m_parts.tables;
    const HeadingTree& tree = tables.tree;
    // The heading row and the tree item of a heading share its index.
    const int current = tree.isItem(tree.selectedItem()) ? static_cast<int>(tree.itemData(tree.selectedItem())) : -1;
    const int found = find(tables.headings, current, level, direction);
    if (found >= 0) {
        m_parts.engine.selectHeadingByIndex(tables.headings.integer(found, col::heading::kTreeId));
        return;
    }
    const PauseBracket bracket(m_services.player, m_services.menuBar);
    m_services.messageBoxes.show(
        fillIn(m_parts.strings.get(str::kNoFurtherHeading, m_parts.languageOffset), {std::to_string(level)}), kCaption,
        MessageBoxes::Icon::kInformation);
}

}  // namespace korvin
