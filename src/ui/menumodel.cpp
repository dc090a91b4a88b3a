// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menumodel.h"

#include <algorithm>

#include "book/textnumbers.h"
#include "embedded.h"
#include "ui/stringtable.h"

namespace korvin {

std::string MenuItem::label() const
{
    return text.substr(0, text.find('\t'));
}

std::string MenuItem::shortcut() const
{
    const std::size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

namespace {

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> cells;
    while (true) {
        const std::size_t tab = line.find('\t');
        cells.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return cells;
        line.remove_prefix(tab + 1);
    }
}

MenuModel::Path parsePath(std::string_view text)
{
    MenuModel::Path path;
    while (!text.empty()) {
        const std::size_t dot = text.find('.');
        path.push_back(toInteger(text.substr(0, dot)));
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return path;
}

template <typename Items, typename Visit>
void visitItems(Items& items, MenuModel::Path& path, const Visit& visit)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        path.push_back(static_cast<int>(i));
        visit(path, items[i]);
        visitItems(items[i].items, path, visit);
        path.pop_back();
    }
}

template <typename Items>
auto findIn(Items& items, int command) -> decltype(&items[0])
{
    for (auto& item : items) {
        if (!item.isSeparator() && !item.isPopup() && item.command == command)
            return &item;
        if (auto* inner = findIn(item.items, command))
            return inner;
    }
    return nullptr;
}

}  // namespace

MenuModel::MenuModel(std::string_view table)
{
    forEachTableLine(table, [this](std::string_view line) {
        const auto cells = splitTabs(line);
        const Path path = parsePath(cells[0]);
        if (path.empty())
            return;
        MenuItem item;
        const std::string_view kind = cells.size() > 1 ? cells[1] : std::string_view("separator");
        if (kind == "popup")
            item.kind = MenuItem::Kind::kPopup;
        else if (kind == "separator")
            item.kind = MenuItem::Kind::kSeparator;
        else
            item.command = toInteger(kind);
        for (std::string_view marks = cells.size() > 2 ? cells[2] : std::string_view(); !marks.empty();) {
            const std::size_t space = marks.find(' ');
            const std::string_view mark = marks.substr(0, space);
            if (mark == "gray")
                item.grayed = true;
            else if (mark == "check")
                item.checkable = MenuItem::Checkable::kCheck;
            else if (mark == "radio")
                item.checkable = MenuItem::Checkable::kRadio;
            else if (mark == "book")
                item.followsBook = true;
            marks.remove_prefix(space == std::string_view::npos ? marks.size() : space + 1);
        }
        item.stringId = cells.size() > 3 && cells[3] != "-" ? toInteger(cells[3]) : -1;
        item.text = cells.size() > 4 ? unescapeResourceText(cells[4]) : std::string();

        // The table lists a popup before its items, in position order.
        std::vector<MenuItem>* siblings = &m_bar;
        for (std::size_t i = 0; i + 1 < path.size() && siblings; ++i) {
            const int p = path[i];
            siblings = p >= 0 && p < static_cast<int>(siblings->size()) ? &(*siblings)[p].items : nullptr;
        }
        if (siblings && path.back() == static_cast<int>(siblings->size()))
            siblings->push_back(std::move(item));
    });
}

MenuModel MenuModel::builtIn()
{
    return MenuModel(resources::menuTable());
}

MenuItem* MenuModel::at(const Path& path)
{
    return const_cast<MenuItem*>(static_cast<const MenuModel*>(this)->at(path));
}

const MenuItem* MenuModel::at(const Path& path) const
{
    const std::vector<MenuItem>* items = &m_bar;
    const MenuItem* item = nullptr;
    for (int p : path) {
        if (!items || p < 0 || p >= static_cast<int>(items->size()))
            return nullptr;
        item = &(*items)[p];
        items = &item->items;
    }
    return item;
}

MenuItem* MenuModel::find(int command)
{
    return findIn(m_bar, command);
}

const MenuItem* MenuModel::find(int command) const
{
    return findIn(m_bar, command);
}

std::optional<MenuModel::Path> MenuModel::pathOf(int command) const
{
    std::optional<Path> found;
    forEach([&](const Path& path, const MenuItem& item) {
        if (!found && !item.isPopup() && !item.isSeparator() && item.command == command)
            found = path;
    });
    return found;
}

MenuModel::Path MenuModel::popupOf(int command) const
{
    Path path = pathOf(command).value_or(Path());
    if (!path.empty())
        path.pop_back();
    return path;
}

MenuModel::Path MenuModel::barMenuOf(int command) const
{
    Path path = pathOf(command).value_or(Path());
    path.resize(std::min<std::size_t>(path.size(), 1));
    return path;
}

void MenuModel::setEnabledAt(const Path& path, bool enabled)
{
    if (MenuItem* item = at(path)) {
        item->grayed = !enabled;
        item->disabled = false;
    }
}

bool MenuModel::isGrayedAt(const Path& path) const
{
    const MenuItem* item = at(path);
    return item && item->grayed;
}

void MenuModel::setGrayed(int command, bool grayed)
{
    if (MenuItem* item = find(command)) {
        item->grayed = grayed;
        item->disabled = false;
    }
}

bool MenuModel::isGrayed(int command) const
{
    const MenuItem* item = find(command);
    return item && item->grayed;
}

void MenuModel::setDisabled(int command, bool disabled)
{
    if (MenuItem* item = find(command)) {
        item->disabled = disabled;
        if (disabled)
            item->grayed = false;
    }
}

void MenuModel::setChecked(int command, bool checked)
{
    if (MenuItem* item = find(command)) {
        item->checked = checked;
        item->radio = false;
    }
}

bool MenuModel::isChecked(int command) const
{
    const MenuItem* item = find(command);
    return item && item->checked;
}

void MenuModel::checkRadio(int first, int last, int command)
{
    const auto path = pathOf(command);
    if (!path)
        return;
    Path popupPath(path->begin(), path->end() - 1);
    std::vector<MenuItem>& siblings = popupPath.empty() ? m_bar : at(popupPath)->items;
    for (MenuItem& item : siblings) {
        if (item.isPopup() || item.isSeparator() || item.command < first || item.command > last)
            continue;
        item.checked = item.command == command;
        item.radio = item.checked;
    }
}

bool MenuModel::canExecute(int command) const
{
    const auto path = pathOf(command);
    if (!path)
        return true;
    Path prefix;
    for (int p : *path) {
        prefix.push_back(p);
        if (!at(prefix)->canBeChosen())
            return false;
    }
    return true;
}

void MenuModel::forEach(const std::function<void(const Path&, const MenuItem&)>& visit) const
{
    Path path;
    visitItems(m_bar, path, visit);
}

void MenuModel::forEach(const std::function<void(const Path&, MenuItem&)>& visit)
{
    Path path;
    visitItems(m_bar, path, visit);
}

}  // namespace korvin
