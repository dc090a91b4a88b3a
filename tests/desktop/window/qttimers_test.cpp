// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qttimers.h"

#include <QTest>

#include <gtest/gtest.h>

namespace korvin {
namespace {

TEST(QtTimers, TicksCarryTheirIdUntilKilled)
{
    QtTimers timers;
    std::vector<int> ticks;
    timers.setHandler([&](int id) {
        ticks.push_back(id);
        if (id == 1)
            timers.killTimer(1);  // a timer that ends itself, as timer 1 of the window does
    });
    timers.setTimer(1, 5);
    timers.setTimer(2, 5);
    EXPECT_TRUE(timers.isRunning(1));
    EXPECT_EQ(timers.interval(2), 5);
    QTRY_VERIFY(std::count(ticks.begin(), ticks.end(), 2) >= 3);
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), 1), 1);
    EXPECT_FALSE(timers.isRunning(1));
    timers.killTimer(2);
    timers.killTimer(99);
    EXPECT_FALSE(timers.isRunning(2));
    EXPECT_EQ(timers.interval(2), 0);
}

TEST(QtTimers, SettingARunningTimerAgainStartsItOver)
{
    QtTimers timers;
    timers.setTimer(3, 60000);
    timers.setTimer(3, 100);
    EXPECT_TRUE(timers.isRunning(3));
    EXPECT_EQ(timers.interval(3), 100);
}

}  // namespace
}  // namespace korvin
