// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/headingtree.h"

namespace korvin {

namespace {
const std::string kEmpty;
}

void HeadingTree::deleteAll()
{
    m_items.clear();
    m_firstTop = m_lastTop = m_selected = kNone;
    if (m_observer)
        m_observer->treeCleared();
}

HeadingTree::Item HeadingTree::insertItem(std::string text, Item parent)
{
    if (!isItem(parent))
        parent = kNone;
    const Item item = count();
    Node node;
    node.text = std::move(text);
    node.parent = parent;
    m_items.push_back(std::move(node));
    if (parent == kNone) {
        if (m_lastTop == kNone)
            m_firstTop = item;
        else
            m_items[m_lastTop].nextSibling = item;
        m_lastTop = item;
    } else {
        Node& p = m_items[parent];
        if (p.lastChild == kNone)
            p.firstChild = item;
        else
            m_items[p.lastChild].nextSibling = item;
        p.lastChild = item;
    }
    if (m_observer)
        m_observer->itemInserted(item, parent);
    return item;
}

const std::string& HeadingTree::itemText(Item item) const
{
    return isItem(item) ? m_items[item].text : kEmpty;
}

long HeadingTree::itemData(Item item) const
{
    return isItem(item) ? m_items[item].data : 0;
}

void HeadingTree::setItemData(Item item, long data)
{
    if (isItem(item))
        m_items[item].data = data;
}

bool HeadingTree::select(Item item)
{
    if (!isItem(item))
        item = kNone;
    if (item == m_selected)
        return false;
    const Item previous = m_selected;
    m_selected = item;
    // Single-branch expansion: close the old branch, then open the new one.
    for (Item a = previous; a != kNone; a = m_items[a].parent)
        setExpanded(a, false);
    for (Item a = item; a != kNone; a = m_items[a].parent)
        setExpanded(a, true);
    if (m_observer)
        m_observer->itemSelected(item);
    if (m_listener)
        m_listener(item);
    return true;
}

HeadingTree::Item HeadingTree::firstItem() const
{
    return m_firstTop;
}

HeadingTree::Item HeadingTree::firstChild(Item item) const
{
    return isItem(item) ? m_items[item].firstChild : kNone;
}

HeadingTree::Item HeadingTree::nextSibling(Item item) const
{
    return isItem(item) ? m_items[item].nextSibling : kNone;
}

HeadingTree::Item HeadingTree::parent(Item item) const
{
    return isItem(item) ? m_items[item].parent : kNone;
}

HeadingTree::Item HeadingTree::nextInOrder(Item item) const
{
    if (!isItem(item))
        return kNone;
    if (m_items[item].firstChild != kNone)
        return m_items[item].firstChild;
    for (Item a = item; a != kNone; a = m_items[a].parent)
        if (m_items[a].nextSibling != kNone)
            return m_items[a].nextSibling;
    return kNone;
}

HeadingTree::Item HeadingTree::nextVisible(Item item) const
{
    if (!isItem(item))
        return kNone;
    if (m_items[item].expanded && m_items[item].firstChild != kNone)
        return m_items[item].firstChild;
    for (Item a = item; a != kNone; a = m_items[a].parent)
        if (m_items[a].nextSibling != kNone)
            return m_items[a].nextSibling;
    return kNone;
}

HeadingTree::Item HeadingTree::previousVisible(Item item) const
{
    if (!isItem(item))
        return kNone;
    const Item parentItem = m_items[item].parent;
    Item sibling = parentItem == kNone ? m_firstTop : m_items[parentItem].firstChild;
    if (sibling == item)
        return parentItem;
    while (m_items[sibling].nextSibling != item)
        sibling = m_items[sibling].nextSibling;
    Item above = sibling;
    while (m_items[above].expanded && m_items[above].lastChild != kNone)
        above = m_items[above].lastChild;
    return above;
}

int HeadingTree::depth(Item item) const
{
    int d = 0;
    for (Item a = parent(item); a != kNone; a = m_items[a].parent)
        ++d;
    return d;
}

bool HeadingTree::isExpanded(Item item) const
{
    return isItem(item) && m_items[item].expanded;
}

void HeadingTree::setExpanded(Item item, bool expanded)
{
    if (!isItem(item) || m_items[item].firstChild == kNone || m_items[item].expanded == expanded)
        return;
    m_items[item].expanded = expanded;
    if (m_observer)
        m_observer->itemExpanded(item, expanded);
}

}  // namespace korvin
