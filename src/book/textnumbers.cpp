// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/textnumbers.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>

namespace korvin {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view skipSpace(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    return text.substr(i);
}

}  // namespace

int toInteger(std::string_view text)
{
    text = skipSpace(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Accumulate as a negative number so that INT_MIN fits; saturate instead of
    // overflowing, which atoi leaves undefined.
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double toReal(std::string_view text)
{
    text = skipSpace(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // from_chars reads the longest number at the front, without locale and
    // without a sign of its own.
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return 0.0;
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow; atof gives infinity or 0.
        (void)end;
        return 0.0;
    }
    if (error != std::errc())
        return 0.0;
    return negative ? -value : value;
}

std::string decimalText(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0.0;
    // Room for the 309 digits of the largest double and the decimals asked for.
    std::array<char, 400> text;
    const int precision = decimals < 0 ? 0 : decimals > 60 ? 60 : decimals;
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, precision).ptr;
    return std::string(text.data(), end);
}

}  // namespace korvin
