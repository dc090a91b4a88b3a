// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qttimers.h"

#include <QTimer>

namespace korvin {

QtTimers::QtTimers(QObject* parent)
    : QObject(parent)
{
}

QtTimers::~QtTimers() = default;

void QtTimers::setTimer(int id, int milliseconds)
{
    std::unique_ptr<QTimer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, id] {
            if (m_handler)
                m_handler(id);
        });
    }
    timer->start(milliseconds);
}

void QtTimers::killTimer(int id)
{
    const auto found = m_timers.find(id);
    if (found != m_timers.end())
        found->second->stop();
}

bool QtTimers::isRunning(int id) const
{
    const auto found = m_timers.find(id);
    return found != m_timers.end() && found->second->isActive();
}

int QtTimers::interval(int id) const
{
    return isRunning(id) ? m_timers.at(id)->interval() : 0;
}

}  // namespace korvin
