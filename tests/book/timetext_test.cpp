// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/timetext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace korvin {
namespace {

TEST(TimeText, ParsesHoursMinutesSecondsAndMilliseconds)
{
    EXPECT_DOUBLE_EQ(parseTime("00:03:25"), 205);
    EXPECT_DOUBLE_EQ(parseTime("0:00:00.999"), 0.999);
    EXPECT_DOUBLE_EQ(parseTime("1:02:03.250"), 3723.25);
    EXPECT_DOUBLE_EQ(parseTime("1:02:03"), 3723);
    EXPECT_DOUBLE_EQ(parseTime(""), 0);
}

TEST(TimeText, TakesTheDigitsAfterThePointAsWholeMilliseconds)
{
    EXPECT_DOUBLE_EQ(parseTime("1:02:03.5"), 3723.005);
    EXPECT_DOUBLE_EQ(parseTime("0:00:01.05"), 1.005);
    EXPECT_DOUBLE_EQ(parseTime("0:00:00.1500"), 1.5);
}

TEST(TimeText, ReadsEachFieldUpToItsFirstNonDigit)
{
    EXPECT_DOUBLE_EQ(parseTime("00:00:05xyz"), 5);
    EXPECT_DOUBLE_EQ(parseTime("a:b:c"), 0);
    EXPECT_DOUBLE_EQ(parseTime("::"), 0);
    EXPECT_DOUBLE_EQ(parseTime("-1:00:10"), 10);  // a sign is not a digit: never negative
    EXPECT_DOUBLE_EQ(parseTime(" 1:00:00"), 0);
    EXPECT_DOUBLE_EQ(parseTime("0:00:01.5.7"), 1.005);
}

TEST(TimeText, FillsMissingFieldsFromTheLeftWithZero)
{
    EXPECT_DOUBLE_EQ(parseTime("2"), 7200);
    EXPECT_DOUBLE_EQ(parseTime("1:02"), 3720);
    EXPECT_DOUBLE_EQ(parseTime("1:02.5"), 3720);  // no second colon, no fraction
    EXPECT_DOUBLE_EQ(parseTime("0:00:"), 0);
}

TEST(TimeText, KeepsHugeDigitRunsFinite)
{
    const std::string huge(5000, '9');
    const double value = parseTime(huge + ":" + huge + ":" + huge + "." + huge);
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_GT(value, 1e15);
}

TEST(TimeText, FormatsWholeSecondsWithTwoDigitsEach)
{
    EXPECT_EQ(formatTime(0.7), "00:00:00");
    EXPECT_EQ(formatTime(1), "00:00:01");
    EXPECT_EQ(formatTime(3599.9), "00:59:59");
    EXPECT_EQ(formatTime(3723.25), "01:02:03");
    EXPECT_EQ(formatTime(360000), "100:00:00");
    EXPECT_EQ(formatTime(35999), "09:59:59");
    EXPECT_EQ(formatTime(36000), "10:00:00");
    EXPECT_EQ(formatTime(1e300), "2501999792983:36:32");  // held at 2^53 seconds
    EXPECT_EQ(formatTime(parseTime("12:34:56")), "12:34:56");
}

TEST(TimeText, FormatsAbsurdValuesWithoutFault)
{
    EXPECT_EQ(formatTime(-5), "00:00:00");
    EXPECT_EQ(formatTime(std::numeric_limits<double>::quiet_NaN()), "00:00:00");
    EXPECT_EQ(formatTime(-std::numeric_limits<double>::infinity()), "00:00:00");
    const std::string large = formatTime(std::numeric_limits<double>::infinity());
    EXPECT_EQ(large, formatTime(1e300));
    EXPECT_EQ(large, "2501999792983:36:32");  // 2^53 seconds
}

}  // namespace
}  // namespace korvin
