// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/options.h"
#include "library/settings.h"
#include "platform/mediaplayer.h"
#include "playback/playbackstate.h"

namespace korvin {

// The eight commands of the audio menu: loudness, speed and winding. They act
// on the player at once; volume and speed also change the settings the engine
// re-applies at every seek and the settings file keeps. None of them looks at
// whether a book is open, changes a menu or shows a message.
class AudioControls {
public:
    static constexpr int kVolumeStep = 10;
    static constexpr int kNormalVolume = 50;
    static constexpr double kRateStep = 0.2;
    static constexpr double kNormalRate = 1.0;
    // Faster only up to this rate, slower only down to the other: the steps
    // from normal speed end at 2.0 and at 0.6.
    static constexpr double kFastestToStepFrom = 1.9;
    static constexpr double kSlowestToStepFrom = 0.8;
    // With the option "Bis dreifach" the steps go on to 3.0 and down to 0.5;
    // turned off again, a rate beyond the steps comes back to their nearest end.
    static constexpr double kFastestRate = 3.0;
    static constexpr double kSlowestRate = 0.5;
    static constexpr double kFastestNormalRate = 2.0;
    static constexpr double kSlowestNormalRate = 0.6;
    // A wind moves by this share of the loaded file's duration.
    static constexpr double kWindShare = 0.001;

    // `settings` holds the rate and volume settings these commands change;
    // `state` says whether the sleep timer fades the book out (then the volume
    // steps go from the listener's own volume, not the faded one); `options`
    // whether the speed goes to 3×.
    AudioControls(Settings& settings, MediaPlayer& player, const PlaybackState& state, const Options& options);

    void volumeUp();
    void volumeNormal();
    void volumeDown();
    void speedFaster();
    void speedNormal();
    void speedSlower();
    // Keep the play state; do nothing once the player reports media ended.
    void windForward();
    void windBackward();

    // The rates the speed keys reach: 0.6..2.0, or 0.5..3.0 with "Bis dreifach".
    struct RateRange {
        double slowest = kSlowestNormalRate;
        double fastest = kFastestNormalRate;
    };
    RateRange rateRange() const;

    // After "Bis dreifach" was turned off: a rate beyond 0.6..2.0 comes back
    // to the nearer end, on the player and in the setting.
    void keepToNormalRange();

    // What the commands do in steps, to a value chosen elsewhere (the desktop's
    // sound menu): the player and the settings take it alike.
    void changeVolume(int volume);
    void changeRate(double rate);

private:
    int listenersVolume() const;
    void wind(int direction);

    Settings& m_settings;
    MediaPlayer& m_player;
    const PlaybackState& m_state;
    const Options& m_options;
};

}  // namespace korvin
