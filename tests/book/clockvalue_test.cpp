// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/clockvalue.h"

#include <gtest/gtest.h>

#include "book/timetext.h"

namespace korvin {
namespace {

TEST(ClockValue, ReadsEveryFormOfSmilClockValuesAndRefusesWhatIsNone)
{
    const std::optional<std::int64_t> none;
    const struct {
        const char* text;
        std::optional<std::int64_t> microseconds;
    } cases[] = {
        {"0:00:05.621", 5'621'000},
        {"00:00:05", 5'000'000},
        {"1:02:03.5", 3'723'500'000},
        {"123:00:00", 442'800'000'000},
        {"00:05.6", 5'600'000},
        {"1:05", 65'000'000},
        {"5.621s", 5'621'000},
        {"5621ms", 5'621'000},
        {"1.5min", 90'000'000},
        {"0.5h", 1'800'000'000},
        {"5.621", 5'621'000},
        {"7", 7'000'000},
        {"0.0000015s", 2},        // rounded to the microsecond
        {"0:00:00.1234567", 123'457},
        {" npt=12.345s ", 12'345'000},
        {"0", 0},
        // The usual "h:mm:ss.fff" with every digit at its bound.
        {"9:59:59.999", 35'999'999'000},
        {"0:00:02.999", 2'999'000},
        {"8:49:39", 31'779'000'000},
        {"", none}, {"s", none}, {"-5s", none}, {"5 s", none}, {"5sec", none}, {"1.s", none}, {".5s", none},
        {"0:60:00", none}, {"0:00:60", none}, {"100:00", none}, {"0:00:5x", none}, {"0:00:05.", none},
        {"1:2:3:4", none}, {"0::05", none}, {"abc", none}, {"99999999999999999999", none}, {"300000000h", none},
        // The usual form's length with a character out of place.
        {"0:6a:00.000", none}, {"0:00:0:.000", none}, {"0:00:/5.000", none}, {"0:00:05.99a", none},
        {"0:00:05,999", none}, {"0:00:0:", none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseClockValue(c.text), c.microseconds) << c.text;
}

TEST(ClockValue, WritesTheSameTextForTheSameInstant)
{
    EXPECT_EQ(secondsText(*parseClockValue("0:00:05.621")), secondsText(*parseClockValue("5621ms")));
    const struct {
        std::int64_t microseconds;
        const char* seconds;
        const char* clock;
    } cases[] = {
        {0, "0.000", "00:00:00"},
        {5'621'000, "5.621", "00:00:05.621"},
        {61'010'000, "61.010", "00:01:01.010"},
        {5'621'300, "5.6213", "00:00:05.621"},
        {5'000'001, "5.000001", "00:00:05"},
        {359'999'999'999, "359999.999999", "100:00:00"},  // rounded up to the next hour
        {-5, "0.000", "00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(secondsText(c.microseconds), c.seconds) << c.microseconds;
        EXPECT_EQ(clockText(c.microseconds), c.clock) << c.microseconds;
    }
    // The time texts read back to the millisecond.
    EXPECT_DOUBLE_EQ(parseTime(clockText(61'010'000)), 61.01);
}

}  // namespace
}  // namespace korvin
