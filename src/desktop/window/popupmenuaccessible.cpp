// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/popupmenuaccessible.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace korvin {

PopupMenuAccessible::PopupMenuAccessible(QMenu* menu)
    : QAccessibleWidget(menu, QAccessible::PopupMenu)
{
}

QMenu* PopupMenuAccessible::menu() const
{
    return static_cast<QMenu*>(object());
}

int PopupMenuAccessible::childCount() const
{
    return static_cast<int>(menu()->actions().size());
}

QAccessibleInterface* PopupMenuAccessible::child(int index) const
{
    const QList<QAction*> actions = menu()->actions();
    return index >= 0 && index < actions.size() ? QAccessible::queryAccessibleInterface(actions[index]) : nullptr;
}

int PopupMenuAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    return static_cast<int>(menu()->actions().indexOf(qobject_cast<QAction*>(child->object())));
}

QAccessibleInterface* PopupMenuAccessible::childAt(int x, int y) const
{
    QAction* action = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
    return action ? QAccessible::queryAccessibleInterface(action) : nullptr;
}

QAccessibleInterface* PopupMenuAccessible::parent() const
{
    // A submenu belongs to the item that opens it.
    if (QAction* opener = menu()->menuAction())
        for (QObject* holder : opener->associatedObjects())
            if (qobject_cast<QMenu*>(holder) || qobject_cast<QMenuBar*>(holder))
                return QAccessible::queryAccessibleInterface(opener);
    return QAccessibleWidget::parent();
}

QString PopupMenuAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    QString title = menu()->title();
    title.remove(QLatin1Char('&'));
    return title;
}

}  // namespace korvin
