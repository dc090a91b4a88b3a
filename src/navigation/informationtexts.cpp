// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigation/informationtexts.h"

#include <algorithm>
#include <cmath>

#include "book/textnumbers.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

// Far beyond any book, and still exact as a whole number in a double.
constexpr double kLongestDuration = 1e15;

long long wholeSeconds(double seconds)
{
    if (!(seconds >= 1.0))
        return 0;
    return static_cast<long long>(std::floor(std::min(seconds, kLongestDuration)));
}

int playTimeText(InformationTexts::PlayTime which)
{
    switch (which) {
    case InformationTexts::PlayTime::kTotal:
        return str::kTotalTime;
    case InformationTexts::PlayTime::kElapsed:
        return str::kElapsedTime;
    case InformationTexts::PlayTime::kRemaining:
        return str::kRemainingTime;
    }
    return str::kTotalTime;
}

}  // namespace

std::string InformationTexts::part(long long value, int one, int many) const
{
    if (value == 1)
        return text(one);
    return std::to_string(value) + " " + text(many);
}

std::string InformationTexts::duration(double seconds) const
{
    const long long n = wholeSeconds(seconds);
    return part(n / 3600, str::kOneHour, str::kHours) + ", " + part(n / 60 % 60, str::kOneMinute, str::kMinutes) +
           " " + text(str::kAnd) + " " + part(n % 60, str::kOneSecond, str::kSeconds);
}

std::string InformationTexts::playTime(PlayTime which, double seconds, bool fullStop) const
{
    return text(playTimeText(which)) + duration(seconds) + (fullStop ? "." : "");
}

std::string InformationTexts::entries(const std::string& count) const
{
    if (toInteger(count) == 1)
        return text(str::kOneEntry);
    return count + " " + text(str::kEntries);
}

std::string InformationTexts::levels(int deepest) const
{
    if (deepest <= 1)
        return text(str::kOneLevel);
    return text(str::kLevelsStart) + " " + std::to_string(deepest) + " " + text(str::kLevelsEnd);
}

std::string InformationTexts::headingIndex(int index, const std::string& count) const
{
    return text(str::kAtHeading) + " " + std::to_string(static_cast<long long>(index) + 1) + " " +
           text(str::kOfTotal) + " " + count + ".";
}

std::string InformationTexts::headingLevel(const std::string& level) const
{
    return text(str::kAtLevel) + " " + level + " .";
}

std::string InformationTexts::whereAmI(const Place& place) const
{
    std::string sentences = fillIn(text(str::kWhereHeading),
                                   {std::to_string(place.heading), std::to_string(place.headingCount), place.title});
    if (!place.page.empty())
        sentences += " " + fillIn(text(str::kWherePage), {place.page});
    sentences += " " + fillIn(text(str::kWhereInHeading), {duration(place.headingHeard), duration(place.headingLeft)});
    sentences += " " + fillIn(text(str::kWhereInBook), {duration(place.bookHeard), duration(place.bookLeft)});
    switch (place.sleepTimer.mode) {
    case SleepTimerLeft::Mode::kCountdown:
        sentences += " " + fillIn(text(str::kWhereSleepTimer), {duration(place.sleepTimer.seconds)});
        break;
    case SleepTimerLeft::Mode::kEndOfHeading:
        sentences += " " + text(str::kWhereSleepAtEnd);
        break;
    case SleepTimerLeft::Mode::kOff:
        break;
    }
    return sentences;
}

}  // namespace korvin
