// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

#include "app/remotecontrol.h"
#include "platform/window.h"

class QKeyEvent;
class QWidget;

namespace korvin {

// The main window's key handling, installed on the application so that it sees
// every key before the focused control and before Qt's shortcuts:
//  * A key of the accelerator table, pressed in the main window, sends its
//    command and goes no further. Qt first offers the key as a shortcut
//    override; accepting that keeps menu shortcuts and menu-bar mnemonics
//    (Alt+A, Alt+L, Alt+S) from firing, so the accelerator wins.
//  * Tab and Shift+Tab move the focus between the controls; never accelerators.
//  * F1 is a help request.
//  * The media keys act as the desktop's sound menu does (RemoteControl); the
//    play key toggles, as the desktops make it do. Held down, they act once.
//  * Keys of an open menu, of the menu bar in keyboard mode and of other
//    windows (dialogs, message boxes) are left alone.
//  * Before the first accelerator table arrives, keys go to the focused control
//    unchanged; a menu item's shortcut is kept from Qt's shortcut map then too.
// Menu actions never trigger by shortcut: their shortcut events are eaten.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void(int command)> command;
        std::function<void()> help;
        std::function<void(RemoteControl::Action)> media;
        std::function<void(bool forward)> moveFocus;
        // Whether a menu item shows this key as its shortcut.
        std::function<bool(const QKeySequence&)> isMenuShortcut;
    };

    KeyFilter(QWidget& window, Handlers handlers, QObject* parent = nullptr);

    void setAccelerators(const std::vector<Accelerator>& table);
    bool hasAccelerators() const { return m_loaded; }

    // The command a key event sends, nullopt when none.
    std::optional<int> commandOf(const QKeyEvent& event) const;
    // What a media key asks for, nullopt for another key.
    static std::optional<RemoteControl::Action> mediaActionOf(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class KeyRole { kNone, kFocus, kHelp, kMedia, kAccelerator, kMenuShortcut };
    KeyRole roleOf(const QKeyEvent& event) const;
    bool belongsToWindow(QObject* watched) const;
    bool isMenuShortcut(const QKeyEvent& event) const;

    QPointer<QWidget> m_window;
    Handlers m_handlers;
    std::vector<Accelerator> m_table;
    bool m_loaded = false;
};

}  // namespace korvin
