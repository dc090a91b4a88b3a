// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/menuitemaccessible.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include "desktop/window/menubarview.h"
#include "desktop/window/popupmenuaccessible.h"

namespace korvin {

namespace {

QWidget* menuOf(QAction* action)
{
    for (QObject* associated : action->associatedObjects())
        if (qobject_cast<QMenu*>(associated) || qobject_cast<QMenuBar*>(associated))
            return static_cast<QWidget*>(associated);
    return nullptr;
}

QAccessibleInterface* menuItemFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QMenu"))
        return new PopupMenuAccessible(static_cast<QMenu*>(object));
    if (className != QLatin1String("QAction"))
        return nullptr;
    auto* action = static_cast<QAction*>(object);
    QWidget* owner = menuOf(action);
    return owner ? new MenuItemAccessible(action, owner) : nullptr;
}

// The name without the mnemonic marks ("&&" is a literal ampersand) and
// without a shortcut after a tab.
QString plainText(const QString& text)
{
    QString plain;
    const QString label = text.left(text.indexOf(QLatin1Char('\t')));
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == QLatin1Char('&') && i + 1 < label.size())
            ++i;
        plain += label[i];
    }
    return plain;
}

}  // namespace

MenuItemAccessible::MenuItemAccessible(QAction* action, QWidget* owner)
    : m_action(action)
    , m_owner(owner)
{
}

void MenuItemAccessible::install()
{
    // Qt keeps a factory once, however often it is installed.
    QAccessible::installFactory(&menuItemFactory);
}

bool MenuItemAccessible::isValid() const
{
    return m_action && m_owner;
}

QObject* MenuItemAccessible::object() const
{
    return m_action;
}

QWindow* MenuItemAccessible::window() const
{
    if (!m_owner)
        return nullptr;
    const QWidget* top = m_owner->window();
    return top ? top->windowHandle() : nullptr;
}

QAccessibleInterface* MenuItemAccessible::childAt(int, int) const
{
    return nullptr;
}

QAccessibleInterface* MenuItemAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_owner.data());
}

QAccessibleInterface* MenuItemAccessible::child(int index) const
{
    return index == 0 && m_action && m_action->menu() ? QAccessible::queryAccessibleInterface(m_action->menu())
                                                      : nullptr;
}

int MenuItemAccessible::childCount() const
{
    return m_action && m_action->menu() ? 1 : 0;
}

int MenuItemAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && m_action && m_action->menu() && child->object() == m_action->menu() ? 0 : -1;
}

QString MenuItemAccessible::text(QAccessible::Text t) const
{
    if (!m_action)
        return {};
    switch (t) {
    case QAccessible::Name:
        return plainText(m_action->text());
    case QAccessible::Accelerator:
        return m_action->shortcut().toString(QKeySequence::NativeText);
    default:
        return {};
    }
}

void MenuItemAccessible::setText(QAccessible::Text, const QString&)
{
}

QRect MenuItemAccessible::rect() const
{
    if (!m_action || !m_owner)
        return {};
    QRect local;
    if (auto* menu = qobject_cast<QMenu*>(m_owner.data()))
        local = menu->actionGeometry(m_action);
    else if (auto* bar = qobject_cast<QMenuBar*>(m_owner.data()))
        local = bar->actionGeometry(m_action);
    return local.translated(m_owner->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role MenuItemAccessible::role() const
{
    if (m_action && m_action->isSeparator())
        return QAccessible::Separator;
    if (!m_action || !m_action->isCheckable())
        return QAccessible::MenuItem;
    return m_action->actionGroup() ? QAccessible::RadioButton : QAccessible::CheckBox;
}

QAccessible::State MenuItemAccessible::state() const
{
    QAccessible::State state;
    if (!m_action || !m_owner)
        return state;
    state.invisible = !m_owner->isVisible() || !m_action->isVisible();
    state.focusable = true;
    if (auto* menu = qobject_cast<QMenu*>(m_owner.data()))
        state.focused = menu->activeAction() == m_action;
    else if (auto* bar = qobject_cast<QMenuBar*>(m_owner.data()))
        state.focused = bar->activeAction() == m_action;
    const QVariant grayed = m_action->property(MenuBarView::kGrayedProperty);
    state.disabled = m_action->isSeparator() || (grayed.isValid() ? grayed.toBool() : !m_action->isEnabled());
    state.hasPopup = m_action->menu() != nullptr;
    state.checkable = m_action->isCheckable();
    state.checked = m_action->isChecked();
    return state;
}

void* MenuItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList MenuItemAccessible::actionNames() const
{
    if (!m_action || m_action->isSeparator())
        return {};
    return {m_action->menu() ? showMenuAction() : pressAction()};
}

void MenuItemAccessible::doAction(const QString& actionName)
{
    // A grayed item does nothing, as in the menu.
    if (!m_action || !m_action->isEnabled() || !m_owner)
        return;
    if (actionName == pressAction() && !m_action->menu()) {
        m_action->trigger();
    } else if (actionName == showMenuAction() && m_action->menu()) {
        if (m_action->menu()->isVisible())
            m_action->menu()->hide();
        else if (auto* bar = qobject_cast<QMenuBar*>(m_owner.data()))
            bar->setActiveAction(m_action);
        else if (auto* menu = qobject_cast<QMenu*>(m_owner.data()))
            menu->setActiveAction(m_action);
    }
}

QStringList MenuItemAccessible::keyBindingsForAction(const QString&) const
{
    return {};
}

}  // namespace korvin
