// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

namespace korvin::test {

// Time for the simulated player and timers: milliseconds since the start of the
// test, moved on only by advance(). Everything scheduled on the clock runs inside
// advance(), in the order of its due time, equal times in the order scheduled;
// now() during a callback is that callback's due time.
//
// The simulated players compute their position from now(), so at any due time a
// timer tick sees every player exactly where it is at that moment.
class VirtualClock {
public:
    using Callback = std::function<void()>;

    std::int64_t now() const { return m_now; }

    // Runs `callback` at `atMs` (at once, during the next advance, when `atMs` is
    // not in the future).
    void schedule(std::int64_t atMs, Callback callback);

    // Moves time on by `ms` (0 runs what is due now), running everything that
    // falls due on the way, including what those callbacks schedule.
    void advance(std::int64_t ms);

    // Moves time on in steps of `stepMs` until `condition` holds or `limitMs`
    // have passed; returns whether it holds. The condition is checked first.
    bool advanceUntil(const std::function<bool()>& condition, std::int64_t limitMs, std::int64_t stepMs = 1);

    // Number of callbacks waiting.
    std::size_t pending() const { return m_queue.size(); }

private:
    std::int64_t m_now = 0;
    std::uint64_t m_sequence = 0;
    std::map<std::pair<std::int64_t, std::uint64_t>, Callback> m_queue;
};

}  // namespace korvin::test
