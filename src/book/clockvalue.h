// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvin {

// Clock values of SMIL 2 and of the metadata of DAISY 3 books, held as whole
// microseconds so that the same instant written in two forms compares equal.

// The instant `text` names, in every form SMIL allows: a full clock value
// ("0:00:05.621", "00:00:05"), a partial one ("00:05.6"), a timecount with or
// without its metric ("5.621s", "5621ms", "1.5min", "0.5h", "5.621"), white
// space around it and an "npt=" before it allowed. Minutes and seconds of a
// clock are one or two digits below 60; digits of a fraction beyond the
// microsecond are rounded. nullopt for anything else, a negative value or one
// beyond kMaxMicroseconds.
std::optional<std::int64_t> parseClockValue(std::string_view text);
inline constexpr std::int64_t kMaxMicroseconds = std::int64_t{1'000'000'000'000'000};  // about 31 years

// Seconds as the phrase table holds clip times: "5.621", "0.000", "3600.000";
// "5.6213" where the value has digits beyond the millisecond. The same
// instant always gives the same text.
std::string secondsText(std::int64_t microseconds);
// The same into `out`, whose storage is kept.
void assignSecondsText(std::int64_t microseconds, std::string& out);

// A time text "hh:mm:ss" with ".mmm" when the milliseconds are not 0
// ("00:01:01.010"; hours unlimited), rounded to the millisecond. The time
// texts of the heading table and the book's total time; parseTime() reads it
// back to the millisecond.
std::string clockText(std::int64_t microseconds);

}  // namespace korvin
