// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace korvin::bench {

// Wall time and the CPU time of this thread (user and system): on a busy
// machine the CPU time shows the work, the wall time also the waiting.
struct PassClock {
    double wall = 0;
    double cpu = 0;

    static PassClock now()
    {
        timespec cpu {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        return {std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(),
                static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) * 1e-9};
    }
    PassClock operator-(const PassClock& other) const { return {wall - other.wall, cpu - other.cpu}; }
};

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace korvin::bench
