// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/virtualclock.h"

#include <algorithm>

namespace korvin::test {

void VirtualClock::schedule(std::int64_t atMs, Callback callback)
{
    m_queue.emplace(std::make_pair(std::max(atMs, m_now), m_sequence++), std::move(callback));
}

void VirtualClock::advance(std::int64_t ms)
{
    const std::int64_t end = m_now + std::max<std::int64_t>(ms, 0);
    while (!m_queue.empty() && m_queue.begin()->first.first <= end) {
        auto due = m_queue.extract(m_queue.begin());
        m_now = due.key().first;
        due.mapped()();
    }
    m_now = end;
}

bool VirtualClock::advanceUntil(const std::function<bool()>& condition, std::int64_t limitMs, std::int64_t stepMs)
{
    const std::int64_t end = m_now + std::max<std::int64_t>(limitMs, 0);
    stepMs = std::max<std::int64_t>(stepMs, 1);
    advance(0);
    while (!condition()) {
        if (m_now >= end)
            return false;
        advance(std::min(stepMs, end - m_now));
    }
    return true;
}

}  // namespace korvin::test
