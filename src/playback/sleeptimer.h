// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "book/booktables.h"
#include "library/settings.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/timers.h"
#include "playback/playbackengine.h"
#include "playback/playbackstate.h"
#include "playback/sleeptimerleft.h"
#include "ui/menumodel.h"

namespace korvin {

// The sleep timer (Audio, "Schlaf-Timer"): after 15, 30, 45 or 60 minutes of
// playing, or at the end of the heading, the book fades out over ten seconds
// and pauses; its place is then saved as at exit, so that nothing is lost if
// the night ends otherwise, and the player's volume is the listener's again.
//
// Only time in which the book plays counts: a pause holds the timer. During
// the fade the volume setting stays the listener's own (the player plays at a
// share of it, PlaybackState::volumePercent); the volume keys change that own
// volume and the fade goes on from it. Choosing another time, or "Aus",
// replaces the timer and ends a fade at once. Play commands leave it running,
// and so does a change of book. It is not kept across starts: "Aus" is checked
// at start. Timer 3 ticks every 100 ms while it runs. UI thread only.
class SleepTimer {
public:
    static constexpr int kTimer = 3;
    static constexpr int kTick = 100;
    static constexpr int kFadeMilliseconds = 10000;

    struct Parts {
        PlaybackState& state;
        const Settings& settings;
        MenuModel& menu;
        const BookTables& tables;
        const PlaybackEngine& engine;
    };
    struct Services {
        MediaPlayer& player;
        Timers& timers;
        MenuBar& menuBar;
    };

    // `saveAsAtExit` saves what the exit procedure saves, the book staying open.
    SleepTimer(Parts parts, Services services, std::function<void()> saveAsAtExit);

    // The radio items of "Schlaf-Timer" (cmd::kSleepTimer15 .. kSleepTimerOff).
    void choose(int command);
    // Timer 3.
    void tick();
    // The engine has ended a heading and moved on.
    void headingEnded();

    SleepTimerLeft left() const;

private:
    bool running() const { return m_mode != SleepTimerLeft::Mode::kOff; }
    void fadeTo(int percent);
    int endOfHeadingPercent() const;
    void runOut();
    void turnOff();

    Parts m_parts;
    Services m_services;
    std::function<void()> m_saveAsAtExit;
    SleepTimerLeft::Mode m_mode = SleepTimerLeft::Mode::kOff;
    long long m_countdown = 0;  // milliseconds of playing before the fade
    int m_faded = 0;            // milliseconds of the fade played
};

}  // namespace korvin
