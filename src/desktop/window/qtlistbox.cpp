// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qtlistbox.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QSignalBlocker>

#include <memory>

namespace korvin {

namespace {

// Counts the program's own changes, so that the selection signals they raise
// are not taken for the listener's.
class ProgramChange {
public:
    explicit ProgramChange(int& depth) : m_depth(depth) { ++m_depth; }
    ~ProgramChange() { --m_depth; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

private:
    int& m_depth;
};

}  // namespace

QtListBox::QtListBox(int controlId, QWidget* parent)
    : QObject(parent)
    , m_controlId(controlId)
    , m_widget(new QListWidget(parent))
{
    m_widget->setSortingEnabled(false);
    m_widget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_widget->setDragEnabled(false);
    m_widget->setFocusPolicy(Qt::StrongFocus);
    connect(m_widget, &QListWidget::itemSelectionChanged, this, &QtListBox::selectionChanged);
}

void QtListBox::selectionChanged()
{
    if (m_programChanges == 0 && m_notifier)
        m_notifier(m_controlId);
}

int QtListBox::addString(const std::string& text)
{
    const ProgramChange change(m_programChanges);
    m_widget->addItem(QString::fromStdString(text));
    return m_widget->count() - 1;
}

void QtListBox::deleteString(int index)
{
    if (index < 0 || index >= m_widget->count())
        return;
    const ProgramChange change(m_programChanges);
    const int selected = currentIndex();
    // Taking the current line away, the view makes a neighbour current and
    // selected of its own accord, and tells the screen reader that it has the
    // focus, wherever the focus is. The program would read that neighbour as
    // the listener's choice (M would skip the line after the one deleted), and
    // the listener would hear a line no one chose. The line stops being current
    // first, quietly; the selection stays where the program put it.
    if (m_widget->currentRow() == index) {
        QItemSelectionModel* selection = m_widget->selectionModel();
        const QSignalBlocker quiet(selection);
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    std::unique_ptr<QListWidgetItem> removed(m_widget->takeItem(index));
    const int kept = selected == index ? -1 : selected > index ? selected - 1 : selected;
    if (currentIndex() != kept)
        setCurrentIndex(kept);
}

void QtListBox::resetContent()
{
    const ProgramChange change(m_programChanges);
    m_widget->clear();
}

int QtListBox::count() const
{
    return m_widget->count();
}

std::string QtListBox::text(int index) const
{
    const QListWidgetItem* item = m_widget->item(index);
    return item ? item->text().toStdString() : std::string();
}

int QtListBox::currentIndex() const
{
    const QList<QListWidgetItem*> selected = m_widget->selectedItems();
    return selected.isEmpty() ? -1 : m_widget->row(selected.constFirst());
}

void QtListBox::setCurrentIndex(int index)
{
    const ProgramChange change(m_programChanges);
    if (index < 0 || index >= m_widget->count()) {
        m_widget->clearSelection();
        m_widget->setCurrentRow(-1, QItemSelectionModel::Clear);
        return;
    }
    if (m_widget->hasFocus()) {
        m_widget->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    } else {
        // A list view tells the screen reader that its new current item has
        // the focus, wherever the focus is: the listener would hear the list
        // while the keys go on to the control that has it. Without the focus
        // the line becomes current quietly and is selected.
        QItemSelectionModel* selection = m_widget->selectionModel();
        const QModelIndex line = m_widget->model()->index(index, 0);
        {
            const QSignalBlocker quiet(selection);
            selection->setCurrentIndex(line, QItemSelectionModel::NoUpdate);
        }
        selection->select(line, QItemSelectionModel::ClearAndSelect);
        m_widget->viewport()->update();
    }
    m_widget->scrollToItem(m_widget->item(index));
}

void QtListBox::setEnabled(bool enabled)
{
    m_widget->setEnabled(enabled);
}

bool QtListBox::isEnabled() const
{
    return m_widget->isEnabled();
}

}  // namespace korvin
