// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace korvin {

// What the sleep timer has still to run, for "where am I".
struct SleepTimerLeft {
    enum class Mode { kOff, kCountdown, kEndOfHeading };
    Mode mode = Mode::kOff;
    double seconds = 0.0;  // of playing until it runs out and the fade begins (kCountdown)
};

}  // namespace korvin
