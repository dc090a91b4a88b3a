// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/keyfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include "desktop/window/keymapping.h"
#include "desktop/window/menubarview.h"
#include "ui/acceleratortable.h"

namespace korvin {

KeyFilter::KeyFilter(QWidget& window, Handlers handlers, QObject* parent)
    : QObject(parent)
    , m_window(&window)
    , m_handlers(std::move(handlers))
{
}

void KeyFilter::setAccelerators(const std::vector<Accelerator>& table)
{
    m_table = table;
    m_loaded = true;
}

std::optional<int> KeyFilter::commandOf(const QKeyEvent& event) const
{
    if (!m_loaded)
        return std::nullopt;
    const std::optional<KeyStroke> stroke = keyStrokeOf(event);
    if (!stroke)
        return std::nullopt;
    const int command = commandForKey(m_table, stroke->key, stroke->modifiers);
    return command != 0 ? std::optional<int>(command) : std::nullopt;
}

std::optional<RemoteControl::Action> KeyFilter::mediaActionOf(int qtKey)
{
    using Action = RemoteControl::Action;
    switch (qtKey) {
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
        return Action::kPlayPause;
    case Qt::Key_MediaPause:
        return Action::kPause;
    case Qt::Key_MediaStop:
        return Action::kStop;
    case Qt::Key_MediaNext:
        return Action::kNext;
    case Qt::Key_MediaPrevious:
        return Action::kPrevious;
    default:
        return std::nullopt;
    }
}

bool KeyFilter::isMenuShortcut(const QKeyEvent& event) const
{
    if (!m_handlers.isMenuShortcut)
        return false;
    const QKeySequence keys(event.keyCombination());
    return m_handlers.isMenuShortcut(keys);
}

bool KeyFilter::belongsToWindow(QObject* watched) const
{
    if (!m_window)
        return false;
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget->window() == m_window && !qobject_cast<QMenuBar*>(widget);
    // Without a focused widget Qt offers the key to the window itself.
    if (auto* window = qobject_cast<QWindow*>(watched))
        return window == m_window->windowHandle();
    return false;
}

KeyFilter::KeyRole KeyFilter::roleOf(const QKeyEvent& event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const int key = event.key();
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return KeyRole::kFocus;
    if (key == Qt::Key_F1 && modifiers == Qt::NoModifier)
        return KeyRole::kHelp;
    if (mediaActionOf(key))
        return KeyRole::kMedia;
    if (commandOf(event))
        return KeyRole::kAccelerator;
    if (isMenuShortcut(event))
        return KeyRole::kMenuShortcut;
    return KeyRole::kNone;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Shortcut && watched->property(MenuBarView::kCommandProperty).isValid())
        return true;
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);

    if (!belongsToWindow(watched)) {
        // An open menu of ours takes its keys as menu keys (mnemonics), not as
        // shortcuts of its items.
        if (type == QEvent::ShortcutOverride && qobject_cast<QMenu*>(watched) && isMenuShortcut(*key)) {
            event->accept();
            return true;
        }
        return false;
    }
    if (QApplication::activePopupWidget())
        return false;

    const KeyRole role = roleOf(*key);
    if (type == QEvent::ShortcutOverride) {
        if (role == KeyRole::kNone || role == KeyRole::kFocus)
            return false;
        // Taken here: Qt's shortcut map leaves the key alone and sends it on as
        // a key press.
        event->accept();
        return true;
    }

    switch (role) {
    case KeyRole::kFocus:
        if (m_handlers.moveFocus)
            m_handlers.moveFocus(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        return true;
    case KeyRole::kHelp:
        if (!key->isAutoRepeat() && m_handlers.help)
            m_handlers.help();
        return true;
    case KeyRole::kMedia:
        if (!key->isAutoRepeat() && m_handlers.media)
            m_handlers.media(*mediaActionOf(key->key()));
        return true;
    case KeyRole::kAccelerator:
        if (m_handlers.command)
            m_handlers.command(*commandOf(*key));
        return true;
    case KeyRole::kMenuShortcut:
    case KeyRole::kNone:
        return false;
    }
    return false;
}

}  // namespace korvin
