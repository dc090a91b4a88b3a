// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/latescreenreader.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace korvin {

LateScreenReader::LateScreenReader(Tell tell)
    : m_tell(std::move(tell))
{
    QAccessible::installActivationObserver(this);
}

LateScreenReader::~LateScreenReader()
{
    QAccessible::removeActivationObserver(this);
}

void LateScreenReader::accessibilityActiveChanged(bool active)
{
    if (!active)
        return;
    // Qt tells its observers before its connection is ready to send.
    QTimer::singleShot(0, QCoreApplication::instance(), [tell = m_tell] {
        QWidget* window = QApplication::activeWindow();
        if (!window)
            return;
        // What the window's activation would have said: the window is active,
        // then where the focus is. Told twice, the screen reader stays put.
        QAccessible::State activated;
        activated.active = true;
        QAccessibleStateChangeEvent windowEvent(window, activated);
        tell(windowEvent);
        if (QWidget* focus = QApplication::focusWidget()) {
            QAccessibleEvent focusEvent(focus, QAccessible::Focus);
            tell(focusEvent);
        }
    });
}

}  // namespace korvin
