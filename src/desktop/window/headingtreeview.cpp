// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/headingtreeview.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

namespace korvin {

namespace {

constexpr int kItemRole = Qt::UserRole;

// Marks the view's own updates from the model, whose signals are no
// listener's doing.
class ModelChange {
public:
    explicit ModelChange(int& depth) : m_depth(depth) { ++m_depth; }
    ~ModelChange() { --m_depth; }
    ModelChange(const ModelChange&) = delete;
    ModelChange& operator=(const ModelChange&) = delete;

private:
    int& m_depth;
};

// A tree that, on gaining the focus, tells the screen reader which item is
// current: Qt announces only the tree itself, and the listener would not know
// which heading they are on.
class AnnouncingTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusInEvent(event);
        // After Qt's own announcement of the tree, which follows this event.
        QTimer::singleShot(0, this, [this] {
            if (hasFocus() && currentIndex().isValid())
                currentChanged(currentIndex(), currentIndex());
        });
    }
};

}  // namespace

HeadingTreeView::HeadingTreeView(QWidget* parent)
    : QObject(parent)
    , m_widget(new AnnouncingTree(parent))
{
    m_widget->setColumnCount(1);
    m_widget->setHeaderHidden(true);
    m_widget->setRootIsDecorated(true);
    m_widget->setItemsExpandable(true);
    m_widget->setUniformRowHeights(true);
    m_widget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_widget->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_widget->setDragEnabled(false);
    m_widget->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_widget->setExpandsOnDoubleClick(true);
    m_widget->setFocusPolicy(Qt::StrongFocus);
    m_widget->header()->setStretchLastSection(true);

    connect(m_widget, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { listenerChangedCurrent(current); });
    connect(m_widget, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { listenerExpanded(item, true); });
    connect(m_widget, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { listenerExpanded(item, false); });
    m_widget->installEventFilter(this);
}

HeadingTreeView::~HeadingTreeView()
{
    if (m_model)
        m_model->setObserver(nullptr);
}

void HeadingTreeView::setModel(HeadingTree* model)
{
    if (m_model)
        m_model->setObserver(nullptr);
    m_model = model;
    if (m_model)
        m_model->setObserver(this);
    rebuild();
}

void HeadingTreeView::rebuild()
{
    treeCleared();
    if (!m_model)
        return;
    for (HeadingTree::Item item = m_model->firstItem(); item != HeadingTree::kNone; item = m_model->nextInOrder(item))
        itemInserted(item, m_model->parent(item));
    for (HeadingTree::Item item = 0; item < m_model->count(); ++item)
        if (m_model->isExpanded(item))
            itemExpanded(item, true);
    itemSelected(m_model->selectedItem());
}

QTreeWidgetItem* HeadingTreeView::itemOf(HeadingTree::Item item) const
{
    if (item < 0 || item >= static_cast<int>(m_items.size()))
        return nullptr;
    return m_items[static_cast<std::size_t>(item)];
}

HeadingTree::Item HeadingTreeView::modelItem(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, kItemRole).toInt() : HeadingTree::kNone;
}

void HeadingTreeView::treeCleared()
{
    const ModelChange change(m_modelChanges);
    m_items.clear();
    m_widget->clear();
}

void HeadingTreeView::itemInserted(HeadingTree::Item item, HeadingTree::Item parent)
{
    if (!m_model || item < 0)
        return;
    const ModelChange change(m_modelChanges);
    if (static_cast<std::size_t>(item) >= m_items.size())
        m_items.resize(static_cast<std::size_t>(item) + 1, nullptr);
    QTreeWidgetItem* parentItem = itemOf(parent);
    QTreeWidgetItem* widgetItem =
        parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_widget);
    widgetItem->setText(0, QString::fromStdString(m_model->itemText(item)));
    widgetItem->setData(0, kItemRole, item);
    m_items[static_cast<std::size_t>(item)] = widgetItem;
}

void HeadingTreeView::itemSelected(HeadingTree::Item item)
{
    const ModelChange change(m_modelChanges);
    QTreeWidgetItem* widgetItem = itemOf(item);
    if (!widgetItem) {
        m_widget->clearSelection();
        m_widget->setCurrentItem(nullptr);
        return;
    }
    m_widget->setCurrentItem(widgetItem, 0, QItemSelectionModel::ClearAndSelect);
    m_widget->scrollToItem(widgetItem);
}

void HeadingTreeView::itemExpanded(HeadingTree::Item item, bool expanded)
{
    const ModelChange change(m_modelChanges);
    if (QTreeWidgetItem* widgetItem = itemOf(item))
        widgetItem->setExpanded(expanded);
}

void HeadingTreeView::listenerChangedCurrent(QTreeWidgetItem* current)
{
    if (m_modelChanges > 0 || !m_model || !current)
        return;
    m_model->select(modelItem(current));
}

void HeadingTreeView::listenerExpanded(QTreeWidgetItem* item, bool expanded)
{
    if (m_modelChanges > 0 || !m_model)
        return;
    m_model->setExpanded(modelItem(item), expanded);
}

bool HeadingTreeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_widget && event->type() == QEvent::FocusIn && m_focusNotifier)
        m_focusNotifier();
    return QObject::eventFilter(watched, event);
}

}  // namespace korvin
