// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvin {

// One entry of the menu bar: a popup, a command item or a separator.
struct MenuItem {
    enum class Kind { kPopup, kCommand, kSeparator };

    Kind kind = Kind::kCommand;
    int command = 0;       // command id; 0 for popups and separators
    int stringId = -1;     // string-table text of the item; -1 when a language change keeps the text
    std::string text;      // "\t" separates the shortcut shown at the right
    bool grayed = false;   // shown grayed; cannot be chosen
    bool disabled = false; // cannot be chosen, not shown grayed
    bool checked = false;
    bool radio = false;    // the check is drawn as a radio mark
    // Whether the item can carry a check at all, and which: a screen reader
    // says "not checked" only of an item it knows can be checked.
    enum class Checkable { kNo, kCheck, kRadio };
    Checkable checkable = Checkable::kNo;
    // Grayed while no book is open, enabled by the menu update after a book
    // opens (the mark "book"), beyond the items that update names itself.
    bool followsBook = false;
    std::vector<MenuItem> items;

    bool isPopup() const { return kind == Kind::kPopup; }
    bool isSeparator() const { return kind == Kind::kSeparator; }
    bool canBeChosen() const { return !grayed && !disabled; }
    // The text before the tab, and the shortcut after it.
    std::string label() const;
    std::string shortcut() const;
};

// The menu bar as the system's code sees and changes it. Items are addressed by
// position path ({0, 5, 1} is item 1 of popup 5 of popup 0; separators count) or
// by command id. Changes show when the menu bar is redrawn.
class MenuModel {
public:
    using Path = std::vector<int>;

    MenuModel() = default;
    // Reads a menu table: path, command | "popup" | "separator", marks
    // ("gray", "check", "radio", "book", space-separated) | "-",
    // string id | "-", text; tab-separated, "#" starts a comment line.
    explicit MenuModel(std::string_view table);
    static MenuModel builtIn();

    const std::vector<MenuItem>& popups() const { return m_bar; }

    MenuItem* at(const Path& path);
    const MenuItem* at(const Path& path) const;
    // The first item carrying `command`, depth first.
    MenuItem* find(int command);
    const MenuItem* find(int command) const;
    std::optional<Path> pathOf(int command) const;
    // The popup that holds `command`'s item, and the menu of the menu bar
    // above it; empty when no item carries `command`. Code that changes a
    // popup by position finds it so, from a command the table puts there.
    Path popupOf(int command) const;
    Path barMenuOf(int command) const;

    // By position: enabling clears the grayed and disabled marks.
    void setEnabledAt(const Path& path, bool enabled);
    bool isGrayedAt(const Path& path) const;
    // By command.
    void setGrayed(int command, bool grayed);
    bool isGrayed(int command) const;
    void setDisabled(int command, bool disabled);
    void setChecked(int command, bool checked);
    bool isChecked(int command) const;
    // Puts a radio check on `command` and clears the checks of the items of its
    // popup whose commands lie within first..last.
    void checkRadio(int first, int last, int command);

    // Whether choosing `command` (from the menu or by its key) carries it out: its
    // item and every popup above it can be chosen. A command without an item can.
    bool canExecute(int command) const;

    // Every item with its path, depth first, a popup before its items.
    void forEach(const std::function<void(const Path&, const MenuItem&)>& visit) const;
    void forEach(const std::function<void(const Path&, MenuItem&)>& visit);

private:
    std::vector<MenuItem> m_bar;
};

}  // namespace korvin
