// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/timetext.h"

#include <charconv>
#include <cmath>

namespace korvin {

namespace {

// Fields stop growing here: far beyond any real time, and small enough that
// the sum of all fields stays an exact, finite double.
constexpr double kFieldLimit = 1e15;
constexpr double kMaxSeconds = 9007199254740992.0;  // 2^53

double readField(std::string_view text)
{
    double value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > kFieldLimit)
            value = kFieldLimit;
    }
    return value;
}

}  // namespace

double parseTime(std::string_view text)
{
    if (text.empty())
        return 0;
    const std::size_t firstColon = text.find(':');
    const double hours = readField(text.substr(0, firstColon));
    if (firstColon == std::string_view::npos)
        return hours * 3600;
    const std::size_t secondColon = text.find(':', firstColon + 1);
    const double minutes = readField(text.substr(firstColon + 1, secondColon - firstColon - 1));
    if (secondColon == std::string_view::npos)
        return hours * 3600 + minutes * 60;
    const std::string_view rest = text.substr(secondColon + 1);
    const std::size_t point = rest.find('.');
    const double seconds = readField(rest.substr(0, point));
    const double fraction = point == std::string_view::npos ? 0 : readField(rest.substr(point + 1));
    return hours * 3600 + minutes * 60 + seconds + fraction * 0.001;
}

std::string formatTime(double seconds)
{
    // Also false for NaN.
    if (!(seconds >= 1))
        seconds = 0;
    if (seconds > kMaxSeconds)
        seconds = kMaxSeconds;
    const auto whole = static_cast<long long>(std::floor(seconds));
    const long long hours = whole / 3600;
    const int minutes = static_cast<int>(whole / 60 % 60);
    const int secs = static_cast<int>(whole % 60);
    // "%02lld:%02d:%02d" without the formatting machinery: every heading of
    // a book without elapsed times gets one.
    std::string text;
    if (hours < 10)
        text += '0';
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, hours).ptr);
    for (const int field : {minutes, secs}) {
        text += ':';
        text += static_cast<char>('0' + field / 10);
        text += static_cast<char>('0' + field % 10);
    }
    return text;
}

}  // namespace korvin
