// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korvin {

// The heading tree: one item per heading, nested by level; an item's data is the
// heading index. The model of the visible tree (control 1000): the window shows
// it through an Observer and hands the listener's selections back to select().
//
// Selecting an item expands its branch and collapses the branch of the item
// selected before, as the visible tree does. A selection change is reported to
// the selection listener at once, before select() returns; selecting the item
// that is already selected changes nothing and reports nothing.
class HeadingTree {
public:
    using Item = int;
    static constexpr Item kNone = -1;  // no item; as a parent: the top level

    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void treeCleared() = 0;
        virtual void itemInserted(Item item, Item parent) = 0;
        virtual void itemSelected(Item item) = 0;
        virtual void itemExpanded(Item item, bool expanded) = 0;
    };

    void deleteAll();
    // Inserts an item as the last child of `parent` (kNone: at top level).
    Item insertItem(std::string text, Item parent = kNone);

    int count() const { return static_cast<int>(m_items.size()); }
    bool isItem(Item item) const { return item >= 0 && item < count(); }

    const std::string& itemText(Item item) const;
    long itemData(Item item) const;
    void setItemData(Item item, long data);

    Item selectedItem() const { return m_selected; }
    // Selects `item` (kNone clears the selection); returns whether it changed.
    bool select(Item item);

    Item firstItem() const;
    Item firstChild(Item item) const;
    Item nextSibling(Item item) const;
    Item parent(Item item) const;
    // The next item in document order (depth first, an item before its children).
    Item nextInOrder(Item item) const;
    // The next item a listener sees below `item`: children of collapsed items
    // are passed over.
    Item nextVisible(Item item) const;
    // The item a listener sees above `item`: the previous sibling, or its last
    // visible descendant when it is expanded; the parent for a first child.
    Item previousVisible(Item item) const;
    // Depth of an item, 0 at top level.
    int depth(Item item) const;

    bool isExpanded(Item item) const;
    void setExpanded(Item item, bool expanded);

    void setSelectionListener(std::function<void(Item)> listener) { m_listener = std::move(listener); }
    void setObserver(Observer* observer) { m_observer = observer; }

private:
    struct Node {
        std::string text;
        long data = 0;
        Item parent = kNone;
        Item firstChild = kNone;
        Item lastChild = kNone;
        Item nextSibling = kNone;
        bool expanded = false;
    };

    std::vector<Node> m_items;
    Item m_firstTop = kNone;
    Item m_lastTop = kNone;
    Item m_selected = kNone;
    std::function<void(Item)> m_listener;
    Observer* m_observer = nullptr;
};

}  // namespace korvin
