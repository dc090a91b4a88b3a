// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// Seconds from a time text "hours:minutes:seconds[.fraction]" (01:02:03,
// 1:02:03.250). Each field is read as decimal digits up to the first other
// character; an empty or missing field is 0. The digits after the point count
// as whole milliseconds: 1:02:03.250 gives 3723.25, 1:02:03.5 gives 3723.005.
// A text with fewer than two colons fills the fields from the left (hours,
// then minutes) and has no fraction. Never negative, never infinite or NaN.
double parseTime(std::string_view text);

// "%02i:%02i:%02i" of the whole seconds of `seconds` (hours unlimited, more
// digits from 100 hours on). A value below 1, NaN or negative gives
// "00:00:00"; values beyond 2^53 seconds are held there.
std::string formatTime(double seconds);

}  // namespace korvin
