// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace korvin {

// A visible, unsorted, single-selection list box (group, bookmark and
// search-result lists). Changing the selection from the program does not notify;
// only the listener's own selection changes reach the main window (as the
// notification kSelectionChanged of the list's control id). Only the program and
// the listener select a line: adding, deleting and emptying never select one by
// themselves; deleting the selected line leaves no line selected, and a selected
// line that moves up with a deletion stays selected. A line the list marks as
// current without selecting it (a list view given the focus) is not selected.
class ListBox {
public:
    virtual ~ListBox() = default;
    // Appends a line and returns its index.
    virtual int addString(const std::string& text) = 0;
    virtual void deleteString(int index) = 0;
    virtual void resetContent() = 0;
    virtual int count() const = 0;
    virtual std::string text(int index) const = 0;
    // -1 when no line is selected.
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

}  // namespace korvin
