// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/simulatedtimers.h"

#include <algorithm>

namespace korvin::test {

SimulatedTimers::SimulatedTimers(VirtualClock& clock)
    : m_clock(clock)
{
}

void SimulatedTimers::setTimer(int id, int milliseconds)
{
    Timer& timer = m_timers[id];
    timer.period = std::max(milliseconds, 1);
    timer.running = true;
    ++timer.generation;
    scheduleTick(id, timer.generation, m_clock.now() + timer.period);
}

void SimulatedTimers::killTimer(int id)
{
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return;
    found->second.running = false;
    ++found->second.generation;
}

bool SimulatedTimers::isRunning(int id) const
{
    const auto found = m_timers.find(id);
    return found != m_timers.end() && found->second.running;
}

int SimulatedTimers::period(int id) const
{
    return isRunning(id) ? m_timers.at(id).period : 0;
}

int SimulatedTimers::tickCount(int id) const
{
    const auto found = m_timers.find(id);
    return found == m_timers.end() ? 0 : found->second.ticks;
}

void SimulatedTimers::scheduleTick(int id, unsigned generation, std::int64_t atMs)
{
    std::weak_ptr<bool> alive = m_alive;
    m_clock.schedule(atMs, [this, alive, id, generation] {
        if (alive.expired())
            return;
        Timer& timer = m_timers[id];
        // A tick of a timer killed or set again since it was queued.
        if (!timer.running || timer.generation != generation)
            return;
        ++timer.ticks;
        // Queue the next tick first: the handler may kill or restart the timer,
        // which makes that tick stale.
        scheduleTick(id, generation, m_clock.now() + timer.period);
        if (m_handler)
            m_handler(id);
    });
}

}  // namespace korvin::test
