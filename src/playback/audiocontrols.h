#pragma once

#include "library/settings.h"
#include "platform/mediaplayer.h"

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
    // A wind moves by this share of the loaded file's duration.
    static constexpr double kWindShare = 0.001;

    // `settings` holds the rate and volume settings these commands change.
    AudioControls(Settings& settings, MediaPlayer& player);

    void volumeUp();
    void volumeNormal();
    void volumeDown();
    void speedFaster();
    void speedNormal();
    void speedSlower();
    // Keep the play state; do nothing once the player reports media ended.
    void windForward();
    void windBackward();

    // What the commands do in steps, to a value chosen elsewhere (the desktop's
    // sound menu): the player and the settings take it alike.
    void changeVolume(int volume);
    void changeRate(double rate);

private:
    void wind(int direction);

    Settings& m_settings;
    MediaPlayer& m_player;
};

}  // namespace korvin
