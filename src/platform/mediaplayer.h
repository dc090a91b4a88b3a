// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace korvin {

// The embedded audio player (the main window holds it as `COcx1`). It plays one
// file at a time; the program follows its progress by polling.
//
// Guarantees every implementation keeps:
//  * After setUrl(path) the file opens and openState() is kOpenStateMediaOpen;
//    setPosition() and play() called right after setUrl() act on that file.
//    setUrl("") stops and unloads; openState() then is not kOpenStateMediaOpen.
//  * setPosition() does not change the play state.
//  * While playing, position() grows in seconds of the file at the set rate.
//  * At the end of the file the play state becomes kMediaEnded and stays so
//    through pause() until play() or setPosition(). A seek from there leaves
//    the player kStopped (no longer at the end, not playing) through further
//    seeks and pauses until play(). play() then starts from the current
//    position; at the very end it ends again at once.
//  * pause() keeps the position; play() after pause() continues from it.
//  * setRate() accepts at least 0.5 to 3.0 and keeps the pitch.
//  * setVolume() clamps to 0..100; setPosition() clamps below 0 to 0.
//  * While a file loads, openState() is kOpenStateOpening.
//  * A file that cannot be played (missing, unreadable, not audio) fails when
//    its load ends: errorCount() goes up and the error handler is raised on the
//    UI thread, never from a player thread and never inside setUrl(). From then
//    on openState() is kOpenStateClosed and playState() kUndefined while url()
//    still names the file, until the next setUrl(); play(), pause() and
//    setPosition() do nothing. That is how a caller tells a failed file from no
//    file (url() empty).
//  * A failure to decode a file that is open adds to errorCount() and raises the
//    error handler the same way.
// All calls are made on the UI thread.
class MediaPlayer {
public:
    enum PlayState {
        kUndefined = 0,
        kStopped = 1,
        kPaused = 2,
        kPlaying = 3,
        kScanForward = 4,
        kScanReverse = 5,
        kBuffering = 6,
        kWaiting = 7,
        kMediaEnded = 8,
        kTransitioning = 9,
        kReady = 10,
        kReconnecting = 11,
    };
    static constexpr int kOpenStateClosed = 0;
    static constexpr int kOpenStateOpening = 12;
    static constexpr int kOpenStateMediaOpen = 13;

    virtual ~MediaPlayer() = default;

    virtual void setUrl(const std::string& path) = 0;
    virtual std::string url() const = 0;
    virtual int openState() const = 0;
    virtual int playState() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;

    // Seconds from the start of the current file.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;

    // 1.0 is normal speed.
    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;

    // 0..100.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;

    // Duration of the current file in seconds; 0 when none is loaded or unknown.
    virtual double duration() const = 0;

    virtual int errorCount() const = 0;
    virtual void clearErrors() = 0;

    // Called (on the UI thread) for every player error.
    virtual void setErrorHandler(std::function<void()> handler) = 0;
};

// The main window holds its player by the name of the component's wrapper.
using COcx1 = MediaPlayer;

// Plays the start of an audio file and returns when it has finished: the short
// title cue heard after a book has been opened. Blocks the caller.
class TitleCuePlayer {
public:
    virtual ~TitleCuePlayer() = default;
    // Plays `path` from 0 to `milliseconds` (at most 10,000); a shorter file ends
    // earlier. Failures are silent.
    virtual void playRange(const std::string& path, int milliseconds) = 0;
};

}  // namespace korvin
