// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QTimer>

#include <functional>
#include <set>
#include <vector>

#include "desktop/window/desktopprogram.h"
#include "support/tempdir.h"

class QWidget;

namespace korvin {
class DesktopWindow;
class MainController;
class MenuModel;
}  // namespace korvin

namespace korvin::test {

// Runs the event loop until `done` holds or `timeoutMs` have passed; false on
// the timeout. The wake timer lets the loop look at `done` at least every 10 ms.
template <typename Condition> bool runUntil(Condition done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(10);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// The real program with a fresh state folder: started (shown, initialised) and
// active, recording every command the keys, menus and buttons send. Only the
// commands of `carriedOut` reach the controller: the others would open modal
// dialogs that no one closes here.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    DesktopWindow& window() const;
    MainController& controller() const;
    std::vector<int>& commands() { return m_commands; }
    std::set<int>& carriedOut() { return m_carriedOut; }
    const TempDir& home() const { return m_home; }

    // Enables the menu as the menu update after opening a book with every
    // feature would, and shows it.
    void enableBookMenus();
    // The controller's menu, changed here as the book-dependent Parts would.
    MenuModel& menu() const;

    // A key pressed and released the way the platform delivers it: first
    // offered as a shortcut, then sent to `target` (the focus widget when null).
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* target = nullptr);
    // A key with a given text (Caps Lock gives "P" without Shift).
    void pressWithText(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QWidget* focusTarget() const;

private:
    TempDir m_home;
    DesktopProgram m_program;
    std::vector<int> m_commands;
    std::set<int> m_carriedOut;
};

}  // namespace korvin::test
