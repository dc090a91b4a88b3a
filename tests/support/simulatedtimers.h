// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/timers.h"
#include "support/virtualclock.h"

#include <functional>
#include <map>
#include <memory>

namespace korvin::test {

// The main window's timers on a virtual clock. A timer set at time T with period
// P ticks at T+P, T+2P, ... until killed; setting it again starts it over from
// the moment of the call. Ticks reach the handler inside VirtualClock::advance(),
// in due order; the handler may set and kill timers (its own too). A period
// below 1 ms counts as 1 ms.
//
// The clock must outlive the timers; ticks still queued when the timers go are
// dropped.
class SimulatedTimers final : public Timers {
public:
    explicit SimulatedTimers(VirtualClock& clock);

    void setHandler(std::function<void(int id)> handler) { m_handler = std::move(handler); }

    void setTimer(int id, int milliseconds) override;
    void killTimer(int id) override;
    bool isRunning(int id) const override;

    // The period of a running timer, 0 when it is not running.
    int period(int id) const;
    // How often the timer has ticked since the start of the test.
    int tickCount(int id) const;

private:
    struct Timer {
        int period = 0;
        bool running = false;
        unsigned generation = 0;
        int ticks = 0;
    };

    void scheduleTick(int id, unsigned generation, std::int64_t atMs);

    VirtualClock& m_clock;
    std::function<void(int)> m_handler;
    std::map<int, Timer> m_timers;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace korvin::test
