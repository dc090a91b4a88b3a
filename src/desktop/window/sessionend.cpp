// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace korvin {
namespace {

constexpr std::array<int, SessionEnd::kSignalCount> kSignals = {SIGTERM, SIGHUP, SIGINT};

// The one thing a signal handler may reach: the write end of the pipe. It is
// set before the handlers are installed and cleared after they are removed.
std::atomic<int> g_signalPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void onSignal(int)
{
    const int saved = errno;
    const int fd = g_signalPipe.load();
    if (fd >= 0) {
        const char byte = 1;
        // A full pipe already holds a request; losing this byte loses nothing.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(QObject* parent)
    : QObject(parent)
{
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session manager asks running programs to save before it logs
        // out; the program saves by ending the way closing its window does.
        connect(
            application, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager& manager) { commitData([&manager] { manager.release(); }); }, Qt::DirectConnection);
    }
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_pipe[0] = m_pipe[1] = -1;
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SessionEnd::drainPipe);
    g_signalPipe.store(m_pipe[1]);

    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: libmpv's and Qt's threads must not
    // see EINTR because the listener's desktop is ending.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &m_previous[i]);
}

SessionEnd::~SessionEnd()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_signalPipe.store(-1);
    m_notifier.reset();
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void SessionEnd::drainPipe()
{
    char bytes[64];
    while (::read(m_pipe[0], bytes, sizeof bytes) > 0) { }
    request();
}

void SessionEnd::commitData(const std::function<void()>& release)
{
    // Nothing to ask the listener: everything is saved without a question.
    release();
    request();
}

void SessionEnd::setHandler(std::function<void()> end)
{
    m_end = std::move(end);
    // A signal that came while the program was still being built.
    if (m_requested && m_end)
        QMetaObject::invokeMethod(
            this, [this] { m_end(); }, Qt::QueuedConnection);
}

void SessionEnd::request()
{
    if (m_requested)
        return;
    m_requested = true;
    if (m_end)
        m_end();
    else
        // Nothing to save yet; a loop already running (the box that says
        // another start is active) ends, a later one runs the handler.
        QCoreApplication::exit(0);
}

}  // namespace korvin
