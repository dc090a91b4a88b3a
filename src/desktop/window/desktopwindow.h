// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <vector>

#include "platform/window.h"

namespace korvin {

class ClientArea;
class HeadingTreeView;
class KeyFilter;
class MainController;
class MediaPlayer;
class MenuBarView;
class PlayerPanel;
class QtListBox;

// The main window "Korvin 2.0.1": the menu bar, the heading tree (1000), the
// player panel (1001), the text view (1004) and the group (1041), bookmark
// (1026) and search-result (1003) lists, laid out by the window's layout
// formula. Hands every command, notification, key and close to the controller
// it is attached to.
class DesktopWindow : public QMainWindow, public Window {
    Q_OBJECT
public:
    explicit DesktopWindow(MediaPlayer& player);
    ~DesktopWindow() override;

    // Places the text view's widget as control 1004; the window owns it.
    void setTextViewWidget(QWidget* view);
    // Connects menus, tree, lists, player button and keys to `controller`;
    // detach() undoes it (before the controller goes).
    void attach(MainController& controller);
    void detach();
    // Sees every command the keys, the menus and the player button send (those
    // whose items can be chosen) before the controller gets it; a hook that
    // answers false keeps the command from the controller (for tests).
    void setCommandHook(std::function<bool(int command)> hook) { m_commandHook = std::move(hook); }

    // Centres the window on its screen, then shows it maximised.
    void showAtStart();
    // A later start asked for the window: restore it when minimised, raise it.
    void restoreFromRequest();
    // The desktop is ending (logout, shutdown, a signal): ends the program as
    // closing the window does. Never from inside a dialog a handler waits on
    // (that handler would go on in an ended program): open dialogs are closed
    // first, and the window closes once the main loop is reached again.
    void endSession();
    bool hasEnded() const { return m_ended; }

    QWidget* control(int controlId) const;
    MenuBarView& menuBarView() const { return *m_menuBarView; }
    HeadingTreeView& treeView() const { return *m_treeView; }
    PlayerPanel& playerPanel() const { return *m_playerPanel; }
    QtListBox& groupList() const { return *m_groupList; }
    QtListBox& bookmarkList() const { return *m_bookmarkList; }
    QtListBox& searchResultList() const { return *m_searchResultList; }
    KeyFilter& keyFilter() const { return *m_keyFilter; }
    ClientArea& clientArea() const { return *m_clientArea; }
    // The controls Tab visits, in order.
    std::vector<QWidget*> focusOrder() const;

    // Window
    void setAccelerators(const std::vector<Accelerator>& table) override;
    using QWidget::setFocus;
    void setFocus(int controlId) override;
    void redraw() override;
    void languageChanged(int languageOffset) override;
    void end() override;

signals:
    // The controller ended the window; the program should quit.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void layoutControls();
    void moveFocus(bool forward);
    void sendCommand(int command);

    ClientArea* m_clientArea;
    HeadingTreeView* m_treeView;
    PlayerPanel* m_playerPanel;
    QWidget* m_textView = nullptr;
    QtListBox* m_groupList;
    QtListBox* m_bookmarkList;
    QtListBox* m_searchResultList;
    MenuBarView* m_menuBarView;
    KeyFilter* m_keyFilter;
    MainController* m_controller = nullptr;
    std::function<bool(int)> m_commandHook;
    bool m_ended = false;
    bool m_inCloseEvent = false;
};

}  // namespace korvin
