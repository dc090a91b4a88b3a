// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/idlecalls.h"

#include <QApplication>
#include <QThread>

namespace korvin {

namespace {

// How soon a request looks again whether the window has become free.
constexpr int kRetryMs = 50;

}  // namespace

IdleCalls::IdleCalls(std::function<bool()> busy, QObject* parent)
    : QObject(parent)
    , m_busy(std::move(busy))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &IdleCalls::runNext);
}

void IdleCalls::post(std::function<void()> call)
{
    m_calls.push_back(std::move(call));
    if (!m_timer.isActive())
        m_timer.start(0);
}

bool IdleCalls::windowIsWaiting() const
{
    return !(m_busy && m_busy()) && !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
           QThread::currentThread()->loopLevel() <= 1;
}

// One call at a time: a call may open a dialog, and the next must wait for it.
void IdleCalls::runNext()
{
    if (m_calls.empty())
        return;
    if (!windowIsWaiting()) {
        m_timer.start(kRetryMs);
        return;
    }
    const std::function<void()> call = std::move(m_calls.front());
    m_calls.pop_front();
    if (!m_calls.empty())
        m_timer.start(0);
    call();
}

void IdleCalls::runWaiting()
{
    while (!m_calls.empty() && windowIsWaiting()) {
        const std::function<void()> call = std::move(m_calls.front());
        m_calls.pop_front();
        call();
    }
}

}  // namespace korvin
