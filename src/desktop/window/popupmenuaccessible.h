// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class QMenu;

namespace korvin {

// What a screen reader meets of a popup menu: its title and its items, each
// item a MenuItemAccessible whatever its role.
class PopupMenuAccessible : public QAccessibleWidget {
public:
    explicit PopupMenuAccessible(QMenu* menu);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;

private:
    QMenu* menu() const;
};

}  // namespace korvin
