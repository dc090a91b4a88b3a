// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

#include <functional>

namespace korvin {

// Qt joins the accessibility bus only once the session bus has said where it
// is, an answer that arrives in the event loop. On a busy machine the window
// manager may have made a window active before that: Qt then never tells the
// screen reader which window is active or where the focus is, and the
// listener hears nothing. When the connection comes up, this tells it.
class LateScreenReader : public QAccessible::ActivationObserver {
public:
    // How an event reaches the screen reader (tests listen here).
    using Tell = std::function<void(QAccessibleEvent&)>;

    explicit LateScreenReader(Tell tell = [](QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); });
    ~LateScreenReader() override;
    LateScreenReader(const LateScreenReader&) = delete;
    LateScreenReader& operator=(const LateScreenReader&) = delete;

    void accessibilityActiveChanged(bool active) override;

private:
    Tell m_tell;
};

}  // namespace korvin
