// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/menubarview.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "desktop/window/keymapping.h"
#include "desktop/window/menuitemaccessible.h"
#include "desktop/window/menushortcutstyle.h"

namespace korvin {

MenuBarView::MenuBarView(QMenuBar& bar, QObject* parent)
    : QObject(parent)
    , m_bar(bar)
    , m_style(std::make_unique<MenuShortcutStyle>())
{
    MenuItemAccessible::install();
}

MenuBarView::~MenuBarView()
{
    for (QMenu* menu : m_menus)
        if (menu)
            menu->setStyle(nullptr);
}

void MenuBarView::setModel(const MenuModel& model)
{
    if (m_model)
        return;
    m_model = &model;
    build(model.popups(), {}, nullptr);
    redraw();
}

void MenuBarView::build(const std::vector<MenuItem>& items, const MenuModel::Path& parentPath, QMenu* parentMenu)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        MenuModel::Path path = parentPath;
        path.push_back(static_cast<int>(i));
        const QString label = QString::fromStdString(item.label());
        if (item.isSeparator()) {
            if (parentMenu)
                m_actions[path] = parentMenu->addSeparator();
            continue;
        }
        if (item.isPopup()) {
            QMenu* menu = parentMenu ? parentMenu->addMenu(label) : m_bar.addMenu(label);
            watchMenu(menu);
            m_actions[path] = menu->menuAction();
            build(item.items, path, menu);
            continue;
        }
        QAction* action = parentMenu ? parentMenu->addAction(label) : m_bar.addAction(label);
        action->setProperty(kCommandProperty, item.command);
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, command, path] { choose(command, path); });
        m_actions[path] = action;
    }
}

void MenuBarView::watchMenu(QMenu* menu)
{
    m_menus.push_back(menu);
    menu->setStyle(m_style.get());
    connect(menu, &QMenu::aboutToShow, this, &MenuBarView::menuShown);
    connect(menu, &QMenu::aboutToHide, this, &MenuBarView::menuHidden);
}

void MenuBarView::redraw()
{
    if (!m_model)
        return;
    m_shortcuts.clear();
    m_shortcutTexts.clear();
    m_model->forEach([this](const MenuModel::Path& path, const MenuItem& item) {
        if (item.isSeparator())
            return;
        if (QAction* found = action(path))
            sync(path, item, *found);
    });
    m_style->setShortcutTexts(m_shortcutTexts);
    for (QMenu* menu : m_menus)
        if (menu && menu->isVisible())
            menu->update();
}

QString MenuBarView::shownShortcut(const MenuModel::Path& path) const
{
    const QAction* found = action(path);
    if (!found || found->shortcut().isEmpty())
        return {};
    const QString native = found->shortcut().toString(QKeySequence::NativeText);
    return m_style->shownText(QStringLiteral("\t") + native).mid(1);
}

void MenuBarView::sync(const MenuModel::Path& path, const MenuItem& item, QAction& action)
{
    const QString label = QString::fromStdString(item.label());
    if (action.text() != label)
        action.setText(label);
    const QKeySequence keys = keySequenceOfShortcutText(item.shortcut());
    if (action.shortcut() != keys)
        action.setShortcut(keys);
    if (!keys.isEmpty()) {
        m_shortcuts.insert(keys);
        m_shortcutTexts.insert(keys.toString(QKeySequence::NativeText), QString::fromStdString(item.shortcut()));
    }
    action.setEnabled(item.canBeChosen());
    action.setProperty(kGrayedProperty, item.grayed);
    if (item.isPopup())
        return;

    // An item that can carry a check is checkable from the start, and one that
    // has once shown a check stays so, so that the screen reader says "not
    // checked" when there is no check.
    const bool radio = item.radio || item.checkable == MenuItem::Checkable::kRadio;
    if (item.checked || radio || item.checkable != MenuItem::Checkable::kNo)
        action.setCheckable(true);
    if (radio && !action.actionGroup()) {
        const MenuModel::Path popup(path.begin(), path.end() - 1);
        QActionGroup*& group = m_radioGroups[popup];
        if (!group) {
            group = new QActionGroup(this);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        group->addAction(&action);
    }
    if (action.isChecked() != item.checked)
        action.setChecked(item.checked);
}

QAction* MenuBarView::action(const MenuModel::Path& path) const
{
    const auto found = m_actions.find(path);
    return found == m_actions.end() ? nullptr : found->second;
}

bool MenuBarView::isMenuOpen() const
{
    for (const QMenu* menu : m_menus)
        if (menu && menu->isVisible())
            return true;
    return false;
}

void MenuBarView::choose(int command, const MenuModel::Path& path)
{
    // The menu has closed before its item's command arrives.
    reportClosed();
    if (m_model && m_model->canExecute(command) && m_send)
        m_send(command);
    // Qt flips a checkable action's check by itself; the model decides.
    if (m_model)
        if (const MenuItem* item = m_model->at(path))
            if (QAction* chosen = action(path))
                sync(path, *item, *chosen);
}

void MenuBarView::menuShown()
{
    m_closePending = false;
    if (m_menuSelect)
        m_menuSelect(false);
}

void MenuBarView::menuHidden()
{
    if (isMenuOpen())
        return;
    // Moving from one menu of the bar to the next hides one and shows the other:
    // only a menu that stays closed is reported, or a chosen item comes first.
    m_closePending = true;
    QTimer::singleShot(0, this, &MenuBarView::reportClosed);
}

void MenuBarView::reportClosed()
{
    if (!m_closePending)
        return;
    m_closePending = false;
    if (m_menuSelect)
        m_menuSelect(true);
}

}  // namespace korvin
