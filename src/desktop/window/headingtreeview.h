// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <vector>

#include "book/headingtree.h"

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace korvin {

// The visible heading tree (control 1000): a QTreeWidget that shows the
// HeadingTree model through its Observer. The model's selections and
// expansions are shown; the listener's selections and expansions go back to
// the model (select() then reports to the main window). Gaining the keyboard
// focus is reported to the focus notifier.
class HeadingTreeView : public QObject, public HeadingTree::Observer {
    Q_OBJECT
public:
    // The widget is created as a child of `parent`, which owns it.
    explicit HeadingTreeView(QWidget* parent);
    ~HeadingTreeView() override;

    QTreeWidget& widget() const { return *m_widget; }

    // Shows `model` (nullptr: nothing); the view stays the model's observer
    // until another model is set.
    void setModel(HeadingTree* model);
    void setFocusNotifier(std::function<void()> notifier) { m_focusNotifier = std::move(notifier); }

    // The widget's item of a model item, nullptr when there is none.
    QTreeWidgetItem* itemOf(HeadingTree::Item item) const;

    void treeCleared() override;
    void itemInserted(HeadingTree::Item item, HeadingTree::Item parent) override;
    void itemSelected(HeadingTree::Item item) override;
    void itemExpanded(HeadingTree::Item item, bool expanded) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuild();
    void listenerChangedCurrent(QTreeWidgetItem* current);
    void listenerExpanded(QTreeWidgetItem* item, bool expanded);
    HeadingTree::Item modelItem(const QTreeWidgetItem* item) const;

    QTreeWidget* m_widget;
    HeadingTree* m_model = nullptr;
    std::vector<QTreeWidgetItem*> m_items;  // by model item; owned by the widget
    std::function<void()> m_focusNotifier;
    int m_modelChanges = 0;
};

}  // namespace korvin
