// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/clockvalue.h"

#include <array>
#include <charconv>

namespace korvin {

namespace {

constexpr std::int64_t kSecond = 1'000'000;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits at the front of `text`, taken off it; nullopt when there are none or
// more than `maxDigits`.
std::optional<std::int64_t> takeNumber(std::string_view& text, std::size_t maxDigits)
{
    std::size_t length = 0;
    std::int64_t value = 0;
    while (length < text.size() && isDigit(text[length])) {
        if (length == maxDigits)
            return std::nullopt;
        value = value * 10 + (text[length] - '0');
        ++length;
    }
    if (length == 0)
        return std::nullopt;
    text.remove_prefix(length);
    return value;
}

// A fraction after its point, in nanoseconds of a unit (the first nine digits
// count), taken off `text` with its point; 0 without a point, nullopt when no
// digit follows the point.
std::optional<std::int64_t> takeFraction(std::string_view& text)
{
    if (text.empty() || text[0] != '.')
        return 0;
    text.remove_prefix(1);
    std::int64_t nanos = 0;
    std::int64_t scale = 100'000'000;
    std::size_t length = 0;
    while (length < text.size() && isDigit(text[length])) {
        nanos += (text[length] - '0') * scale;
        scale /= 10;
        ++length;
    }
    if (length == 0)
        return std::nullopt;
    text.remove_prefix(length);
    return nanos;
}

std::optional<std::int64_t> checked(std::int64_t microseconds)
{
    if (microseconds < 0 || microseconds > kMaxMicroseconds)
        return std::nullopt;
    return microseconds;
}

// "mm:ss[.f]" or "h:mm:ss[.f]" after the first field and its colon.
std::optional<std::int64_t> parseClock(std::int64_t first, std::string_view rest)
{
    std::int64_t hours = 0;
    std::int64_t minutes = first;
    auto seconds = takeNumber(rest, 2);
    if (!seconds)
        return std::nullopt;
    if (!rest.empty() && rest[0] == ':') {
        rest.remove_prefix(1);
        hours = first;
        minutes = *seconds;
        if (minutes > 99)
            return std::nullopt;
        seconds = takeNumber(rest, 2);
        if (!seconds)
            return std::nullopt;
    } else if (minutes > 99) {
        return std::nullopt;  // a partial clock's minutes are two digits
    }
    if (minutes >= 60 || *seconds >= 60)
        return std::nullopt;
    const auto nanos = takeFraction(rest);
    if (!nanos || !rest.empty() || hours > kMaxMicroseconds / kSecond / 3600)
        return std::nullopt;
    return checked(((hours * 60 + minutes) * 60 + *seconds) * kSecond + (*nanos + 500) / 1000);
}

std::optional<std::int64_t> parseTimecount(std::int64_t whole, std::string_view rest)
{
    const auto nanos = takeFraction(rest);
    if (!nanos)
        return std::nullopt;
    std::int64_t unit = kSecond;
    if (rest == "h")
        unit = 3600 * kSecond;
    else if (rest == "min")
        unit = 60 * kSecond;
    else if (rest == "ms")
        unit = 1000;
    else if (!rest.empty() && rest != "s")
        return std::nullopt;
    if (whole > kMaxMicroseconds / unit)
        return std::nullopt;
    // nanos < 10^9 and unit <= 3.6 * 10^9: the product stays within 64 bits.
    return checked(whole * unit + (*nanos * unit + 500'000'000) / 1'000'000'000);
}

void appendPadded(std::string& text, std::int64_t value, int digits)
{
    std::array<char, 24> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    const auto length = static_cast<int>(end - buffer.data());
    for (int i = length; i < digits; ++i)
        text += '0';
    text.append(buffer.data(), end);
}

}  // namespace

// The form production tools write for every clip, "h:mm:ss.fff" with one
// digit of hours and three of milliseconds (or none), read without the general
// path; nullopt when `text` has another form.
std::optional<std::int64_t> usualClock(std::string_view text)
{
    if ((text.size() != 7 && text.size() != 11) || text[1] != ':' || text[4] != ':')
        return std::nullopt;
    // A character below "0" wraps around to a large number, so one
    // comparison tells a digit.
    const auto digit = [&](std::size_t at) { return static_cast<unsigned>(text[at] - '0'); };
    bool digits = digit(0) <= 9 && digit(2) <= 5 && digit(3) <= 9 && digit(5) <= 5 && digit(6) <= 9;
    std::int64_t milliseconds = 0;
    if (text.size() == 11) {
        if (text[7] != '.')
            return std::nullopt;
        digits = digits && digit(8) <= 9 && digit(9) <= 9 && digit(10) <= 9;
        milliseconds = digit(8) * 100 + digit(9) * 10 + digit(10);
    }
    if (!digits)
        return std::nullopt;
    const std::int64_t seconds = digit(0) * 3600 + (digit(2) * 10 + digit(3)) * 60 + digit(5) * 10 + digit(6);
    return seconds * kSecond + milliseconds * 1000;
}

std::optional<std::int64_t> parseClockValue(std::string_view text)
{
    if (const auto usual = usualClock(text))
        return usual;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    if (text.substr(0, 4) == "npt=")
        text.remove_prefix(4);
    // Enough digits for every value up to the bound, in any unit, and few
    // enough for 64 bits.
    const auto first = takeNumber(text, 18);
    if (!first)
        return std::nullopt;
    if (!text.empty() && text[0] == ':') {
        text.remove_prefix(1);
        return parseClock(*first, text);
    }
    return parseTimecount(*first, text);
}

std::string secondsText(std::int64_t microseconds)
{
    std::string text;
    assignSecondsText(microseconds, text);
    return text;
}

void assignSecondsText(std::int64_t microseconds, std::string& out)
{
    if (microseconds < 0)
        microseconds = 0;
    // Written from the back into a buffer: a clip time is written for every
    // phrase of a book.
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* at = end;
    std::int64_t fraction = microseconds % kSecond;
    int digits = 6;
    if (fraction % 1000 == 0) {
        fraction /= 1000;
        digits = 3;
    } else {
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
    }
    for (int i = 0; i < digits; ++i) {
        *--at = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    *--at = '.';
    std::int64_t whole = microseconds / kSecond;
    do {
        *--at = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    out.assign(at, end);
}

std::string clockText(std::int64_t microseconds)
{
    if (microseconds < 0)
        microseconds = 0;
    const std::int64_t milliseconds = (microseconds + 500) / 1000;
    const std::int64_t seconds = milliseconds / 1000;
    std::string text;
    appendPadded(text, seconds / 3600, 2);
    text += ':';
    appendPadded(text, seconds / 60 % 60, 2);
    text += ':';
    appendPadded(text, seconds % 60, 2);
    if (milliseconds % 1000 != 0) {
        text += '.';
        appendPadded(text, milliseconds % 1000, 3);
    }
    return text;
}

}  // namespace korvin
