// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/virtualclock.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvin::test {
namespace {

TEST(VirtualClock, RunsCallbacksInDueOrderAtTheirTime)
{
    VirtualClock clock;
    std::vector<std::pair<int, std::int64_t>> runs;
    clock.schedule(30, [&] { runs.emplace_back(3, clock.now()); });
    clock.schedule(10, [&] { runs.emplace_back(1, clock.now()); });
    clock.schedule(30, [&] { runs.emplace_back(4, clock.now()); });
    clock.schedule(20, [&] { runs.emplace_back(2, clock.now()); });
    clock.advance(25);
    EXPECT_EQ(clock.now(), 25);
    clock.advance(100);
    EXPECT_EQ(clock.now(), 125);
    EXPECT_EQ(runs, (std::vector<std::pair<int, std::int64_t>>{{1, 10}, {2, 20}, {3, 30}, {4, 30}}));
}

TEST(VirtualClock, RunsWhatACallbackSchedulesWhenItFallsDueInTheSameAdvance)
{
    VirtualClock clock;
    std::vector<std::int64_t> runs;
    clock.schedule(10, [&] {
        runs.push_back(clock.now());
        clock.schedule(clock.now() + 5, [&] { runs.push_back(clock.now()); });
        clock.schedule(clock.now() - 100, [&] { runs.push_back(clock.now()); });  // the past: at once
    });
    clock.advance(15);
    EXPECT_EQ(runs, (std::vector<std::int64_t>{10, 10, 15}));
}

TEST(VirtualClock, AdvanceOfZeroRunsOnlyWhatIsDueNow)
{
    VirtualClock clock;
    int runs = 0;
    clock.schedule(0, [&] { ++runs; });
    clock.schedule(1, [&] { ++runs; });
    clock.advance(0);
    EXPECT_EQ(runs, 1);
    clock.advance(-5);
    EXPECT_EQ(clock.now(), 0);
    EXPECT_EQ(clock.pending(), 1u);
}

TEST(VirtualClock, AdvanceUntilStopsAtTheFirstMomentTheConditionHolds)
{
    VirtualClock clock;
    bool flag = false;
    clock.schedule(42, [&] { flag = true; });
    EXPECT_TRUE(clock.advanceUntil([&] { return flag; }, 1000));
    EXPECT_EQ(clock.now(), 42);
    EXPECT_FALSE(clock.advanceUntil([] { return false; }, 100, 30));
    EXPECT_EQ(clock.now(), 142);
}

}  // namespace
}  // namespace korvin::test
