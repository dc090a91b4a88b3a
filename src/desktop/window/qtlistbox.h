// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

#include "platform/listbox.h"

class QListWidget;
class QWidget;

namespace korvin {

// A visible list box (group 1041, bookmark 1026, search-result 1003) over a
// QListWidget: unsorted, single selection. Only the listener's own selection
// changes reach the notifier; the program's changes through this interface do
// not.
class QtListBox : public QObject, public ListBox {
    Q_OBJECT
public:
    // The widget is created as a child of `parent`, which owns it.
    QtListBox(int controlId, QWidget* parent);

    int controlId() const { return m_controlId; }
    QListWidget& widget() const { return *m_widget; }
    // Receives the control id on every selection change the listener makes.
    void setNotifier(std::function<void(int controlId)> notifier) { m_notifier = std::move(notifier); }

    int addString(const std::string& text) override;
    void deleteString(int index) override;
    void resetContent() override;
    int count() const override;
    std::string text(int index) const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;

private:
    void selectionChanged();

    int m_controlId;
    QListWidget* m_widget;
    std::function<void(int)> m_notifier;
    int m_programChanges = 0;
};

}  // namespace korvin
