// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/simulatedtimers.h"
#include "support/virtualclock.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvin::test {
namespace {

using Tick = std::pair<std::int64_t, int>;  // (time, timer id)

class SimulatedTimersTest : public ::testing::Test {
protected:
    SimulatedTimersTest()
    {
        timers.setHandler([this](int id) { ticks.emplace_back(clock.now(), id); });
    }

    VirtualClock clock;
    SimulatedTimers timers{clock};
    std::vector<Tick> ticks;
};

TEST_F(SimulatedTimersTest, APeriodicTimerTicksEveryPeriodUntilKilled)
{
    timers.setTimer(2, 100);
    EXPECT_TRUE(timers.isRunning(2));
    EXPECT_EQ(timers.period(2), 100);
    clock.advance(350);
    EXPECT_EQ(ticks, (std::vector<Tick>{{100, 2}, {200, 2}, {300, 2}}));
    timers.killTimer(2);
    EXPECT_FALSE(timers.isRunning(2));
    EXPECT_EQ(timers.period(2), 0);
    clock.advance(1000);
    EXPECT_EQ(ticks.size(), 3u);
    EXPECT_EQ(timers.tickCount(2), 3);
}

TEST_F(SimulatedTimersTest, SettingARunningTimerAgainStartsItOver)
{
    timers.setTimer(2, 100);
    clock.advance(50);
    timers.setTimer(2, 100);
    clock.advance(200);
    EXPECT_EQ(ticks, (std::vector<Tick>{{150, 2}, {250, 2}}));
}

TEST_F(SimulatedTimersTest, TicksOfSeveralTimersComeInDueOrder)
{
    timers.setTimer(2, 100);
    timers.setTimer(1, 30);
    clock.advance(100);
    // At an equal time the tick queued first comes first.
    EXPECT_EQ(ticks, (std::vector<Tick>{{30, 1}, {60, 1}, {90, 1}, {100, 2}}));
}

TEST_F(SimulatedTimersTest, AHandlerMayKillItsTimerAndSetAnother)
{
    // The engine's pattern: a one-shot timer kills itself in its handler, and a
    // poll tick restarts the poll timer.
    timers.setHandler([this](int id) {
        ticks.emplace_back(clock.now(), id);
        if (id == 1)
            timers.killTimer(1);
        if (id == 2 && clock.now() == 100) {
            timers.setTimer(2, 100);
            timers.setTimer(1, 50);
        }
    });
    timers.setTimer(2, 100);
    clock.advance(400);
    EXPECT_EQ(ticks, (std::vector<Tick>{{100, 2}, {150, 1}, {200, 2}, {300, 2}, {400, 2}}));
}

TEST_F(SimulatedTimersTest, KillingATimerThatIsNotRunningDoesNothing)
{
    timers.killTimer(7);
    EXPECT_FALSE(timers.isRunning(7));
    clock.advance(100);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(SimulatedTimersTest, APeriodBelowOneMillisecondCountsAsOne)
{
    timers.setTimer(3, 0);
    clock.advance(3);
    EXPECT_EQ(ticks, (std::vector<Tick>{{1, 3}, {2, 3}, {3, 3}}));
}

TEST(SimulatedTimers, TicksStillQueuedWhenTheTimersGoAreDropped)
{
    VirtualClock clock;
    {
        SimulatedTimers timers(clock);
        timers.setHandler([](int) { FAIL() << "tick after the timers went"; });
        timers.setTimer(2, 100);
    }
    clock.advance(500);
}

}  // namespace
}  // namespace korvin::test
