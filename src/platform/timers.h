// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace korvin {

// The main window's timers. A timer, once set, fires every `milliseconds` on the
// UI thread until it is killed; setting a running timer again starts it over.
// The owner of the timers hands every tick to the main window's timer handler.
class Timers {
public:
    virtual ~Timers() = default;
    virtual void setTimer(int id, int milliseconds) = 0;
    virtual void killTimer(int id) = 0;
    virtual bool isRunning(int id) const = 0;
};

}  // namespace korvin
