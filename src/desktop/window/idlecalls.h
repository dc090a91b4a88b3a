// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace korvin {

// Requests from outside the window (the desktop's sound menu, a later start)
// wait until the window waits for the listener: no handler is running (it may
// wait on a dialog of its own), no dialog, message box or menu is open. Then
// they run one by one, in the order they came, on the UI thread, each as if
// the listener had pressed a key.
class IdleCalls : public QObject {
    Q_OBJECT
public:
    // `busy` tells whether a handler of the window is running.
    explicit IdleCalls(std::function<bool()> busy, QObject* parent = nullptr);

    void post(std::function<void()> call);
    // Runs at once, in order, what waits, as long as the window is free: what
    // came before a request to end the program is done before it.
    void runWaiting();
    std::size_t pending() const { return m_calls.size(); }

private:
    bool windowIsWaiting() const;
    void runNext();

    std::function<bool()> m_busy;
    std::deque<std::function<void()>> m_calls;
    QTimer m_timer;
};

}  // namespace korvin
