// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "playback/audiocontrols.h"

namespace korvin {

// What a remote control of the player sees: the desktop's sound menu, a
// headset's buttons, the media keys. One heading is one track.
struct NowPlaying {
    enum class Status { kStopped, kPaused, kPlaying };

    Status status = Status::kStopped;  // kStopped while no book is open
    bool bookOpen = false;
    int bookSerial = 0;  // counts the books opened in this run: tells one book's heading 3 from another's
    int heading = -1;    // the heading index of the selected heading; -1 without one
    int headingCount = 0;
    std::string headingTitle;
    double headingDuration = 0.0;  // seconds
    std::string bookTitle;         // UTF-8
    std::vector<std::string> creators;
    bool canGoNext = false;
    bool canGoPrevious = false;
    double rate = 1.0;
    // The rates setRate() keeps to: those the speed keys reach.
    double minimumRate = AudioControls::kSlowestNormalRate;
    double maximumRate = AudioControls::kFastestNormalRate;
    int volume = 0;  // 0..100
    friend bool operator==(const NowPlaying&, const NowPlaying&) = default;
};

// The player as a remote control drives it. The main-window controller
// implements it. Every call runs on the UI thread and, like a key, is carried
// out at once; the caller waits until the window is not busy() and no dialog
// or menu holds it.
class RemoteControl {
public:
    enum class Action { kPlayPause, kPlay, kPause, kStop, kNext, kPrevious };
    // The window's own keys, or the desktop (MPRIS).
    enum class Source { kKeyboard, kDesktop };

    // One press that reaches the program both as a key and from the desktop
    // acts once: the same action from the other source within this time is
    // its echo.
    static constexpr std::int64_t kEchoMs = 700;

    virtual ~RemoteControl() = default;

    // A steady clock's time in milliseconds, for act().
    static std::int64_t steadyMs()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    virtual NowPlaying nowPlaying() const = 0;
    // Seconds into the selected heading; 0 without a book.
    virtual double position() const = 0;
    // Goes up whenever the position moves otherwise than by playing: a seek, a
    // wind, a jump to another phrase.
    virtual unsigned jumps() const = 0;

    // PlayPause, Play and Pause act as Space does, Stop pauses; Next and
    // Previous move to the heading below or above in the heading tree and
    // start it, as choosing it there does. `atMs` is a steady clock's time of
    // the press, to tell an echo.
    virtual void act(Action action, Source source, std::int64_t atMs) = 0;
    // Moves `seconds` forward or back in the heading; before its start means
    // its start, past its end means Next.
    virtual void seekBy(double seconds) = 0;
    // Moves to `seconds` into the heading; a time outside it does nothing.
    virtual void seekTo(double seconds) = 0;
    // As the speed and volume keys change them, kept in the settings. A rate
    // of 0 pauses; others are brought into the range nowPlaying() tells (the
    // speed keys' range); one that is not a number, or below 0, does nothing.
    // The volume is brought into 0..100.
    virtual void setRate(double rate) = 0;
    virtual void setVolume(int volume) = 0;

    // Whether a command, key, timer tick or remote call is being handled
    // (perhaps waiting on a dialog): a remote call must wait until it is not.
    virtual bool busy() const = 0;

    // Called after every command, key, timer tick or remote call has been
    // handled, when what nowPlaying(), position() or jumps() tell may have
    // changed; never in the middle of one. Null removes it.
    virtual void setListener(std::function<void()> changed) = 0;
};

}  // namespace korvin
