// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>
#include <map>
#include <memory>

#include "platform/menubar.h"
#include "ui/menumodel.h"

class QAction;
class QActionGroup;
class QMenuBar;

namespace korvin {

class MenuShortcutStyle;

// Shows the menu model in a QMenuBar: a QMenu per popup, a QAction per item.
// Texts are the items' labels ("&" marks the mnemonic); the shortcut after the
// tab is the action's shortcut, so that a screen reader gets name and key
// apart. Grayed and disabled items are both disabled; checks and radio checks
// show. The actions never trigger by their shortcuts (the key filter owns the
// keys); chosen from the menu they send their command.
//
// Menus opening report menuSelect(false); the whole menu closing reports
// menuSelect(true), before the command of a chosen item is sent.
class MenuBarView : public QObject, public MenuBar {
    Q_OBJECT
public:
    // Marks the actions that carry a command (the key filter eats their shortcut events).
    static constexpr const char* kCommandProperty = "korvinCommand";
    // Whether the item is grayed: an item that cannot be chosen is disabled in
    // Qt, but only a grayed one is announced so (not the current language).
    static constexpr const char* kGrayedProperty = "korvinGrayed";

    explicit MenuBarView(QMenuBar& bar, QObject* parent = nullptr);
    ~MenuBarView() override;

    // Builds the menus of `model` (once) and shows its state.
    void setModel(const MenuModel& model);
    void setCommandSender(std::function<void(int command)> send) { m_send = std::move(send); }
    void setMenuSelectHandler(std::function<void(bool menuClosed)> handler) { m_menuSelect = std::move(handler); }

    // MenuBar: shows the model's texts, shortcuts, gray and check states.
    void redraw() override;

    // The action of an item (a popup's menu action), nullptr when none.
    QAction* action(const MenuModel::Path& path) const;
    QMenuBar& bar() const { return m_bar; }
    // Whether a menu item shows `keys` as its shortcut.
    bool hasShortcut(const QKeySequence& keys) const { return m_shortcuts.contains(keys); }
    bool isMenuOpen() const;
    // The shortcut text a menu item shows, as drawn.
    QString shownShortcut(const MenuModel::Path& path) const;

private:
    void build(const std::vector<MenuItem>& items, const MenuModel::Path& parentPath, QMenu* parentMenu);
    void watchMenu(QMenu* menu);
    void sync(const MenuModel::Path& path, const MenuItem& item, QAction& action);
    void choose(int command, const MenuModel::Path& path);
    void menuShown();
    void menuHidden();
    void reportClosed();

    QMenuBar& m_bar;
    const MenuModel* m_model = nullptr;
    std::map<MenuModel::Path, QAction*> m_actions;            // owned by their menus
    std::map<MenuModel::Path, QActionGroup*> m_radioGroups;   // by popup; owned by this
    std::vector<QPointer<QMenu>> m_menus;  // owned by the menu bar
    QSet<QKeySequence> m_shortcuts;
    QHash<QString, QString> m_shortcutTexts;
    std::unique_ptr<MenuShortcutStyle> m_style;
    std::function<void(int)> m_send;
    std::function<void(bool)> m_menuSelect;
    bool m_closePending = false;
};

}  // namespace korvin
