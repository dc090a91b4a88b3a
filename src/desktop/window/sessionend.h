// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace korvin {

// Turns the ways a desktop ends a program — logout and shutdown through the
// session manager, SIGTERM, SIGHUP and SIGINT — into one call of a handler on
// the UI thread, once. The signals reach the event loop through a
// self-pipe: the handler only writes a byte, everything else runs in the
// loop, so a second signal during the exit procedure waits its turn and is
// passed over.
//
// One instance per process: the signal handler writes to this instance's pipe.
// The previous handlers are restored when it is destroyed.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kSignalCount = 3;

    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    // Whether the signals are caught (false when the pipe could not be made).
    bool catchesSignals() const { return m_notifier != nullptr; }

    // What ending is. A request that came before the handler was given (the
    // signals are caught from early in the start) calls it from the event
    // loop.
    void setHandler(std::function<void()> end);

    // The session manager asks running programs to save before it ends the
    // session: `release` lets it go on (nothing is asked of the listener),
    // then ending runs as for a signal. The application's commitDataRequest
    // arrives here; a test calls it without a session manager.
    void commitData(const std::function<void()>& release);

private:
    void request();
    void drainPipe();

    int m_pipe[2] = {-1, -1};
    struct sigaction m_previous[kSignalCount] = {};
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_end;
    bool m_requested = false;
};

}  // namespace korvin
