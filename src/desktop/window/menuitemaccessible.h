// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class QAction;
class QWidget;

namespace korvin {

// What a screen reader meets of an item of a menu or the menu bar. It is the
// item Qt would offer, except that an item that can carry a check says so by
// its role (a check box, or a radio button for one of a group): the
// accessibility bridge of Qt 6.4 passes no "checkable" state on, so a screen
// reader would say "checked" but never "not checked". Qt's own menus count
// only items of the menu-item role as theirs, so the menus come with it
// (PopupMenuAccessible).
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QAction* action, QWidget* owner);

    // Serves the items of every menu and of the menu bar, and the menus, from
    // the next query on.
    static void install();

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QPointer<QAction> m_action;
    QPointer<QWidget> m_owner;
};

}  // namespace korvin
