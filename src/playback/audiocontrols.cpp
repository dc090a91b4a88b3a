#include "playback/audiocontrols.h"

#include <algorithm>

namespace korvin {

AudioControls::AudioControls(Settings& settings, MediaPlayer& player)
    : m_settings(settings)
    , m_player(player)
{
}

// The player keeps the volume within 0..100; the setting holds what the player
// holds, so that neither the settings file nor the player panel ever shows 110.
void AudioControls::changeVolume(int volume)
{
    m_player.setVolume(volume);
    m_settings.volume = std::clamp(volume, 0, 100);
}

void AudioControls::changeRate(double rate)
{
    m_player.setRate(rate);
    m_settings.rate = rate;
}

void AudioControls::volumeUp()
{
    changeVolume(m_player.volume() + kVolumeStep);
}

void AudioControls::volumeNormal()
{
    changeVolume(kNormalVolume);
}

void AudioControls::volumeDown()
{
    changeVolume(m_player.volume() - kVolumeStep);
}

void AudioControls::speedFaster()
{
    const double rate = m_player.rate();
    if (rate <= kFastestToStepFrom)
        changeRate(rate + kRateStep);
}

void AudioControls::speedNormal()
{
    changeRate(kNormalRate);
}

void AudioControls::speedSlower()
{
    const double rate = m_player.rate();
    if (rate >= kSlowestToStepFrom)
        changeRate(rate - kRateStep);
}

void AudioControls::windForward()
{
    wind(+1);
}

void AudioControls::windBackward()
{
    wind(-1);
}

void AudioControls::wind(int direction)
{
    if (m_player.playState() == MediaPlayer::kMediaEnded)
        return;
    const double position = m_player.position();
    const double target = position + direction * m_player.duration() * kWindShare;
    // Without a file, or with one of unknown length, the target is the position
    // itself, and nothing moves.
    if (direction > 0 ? position < target : position > target)
        m_player.setPosition(target);
}

}  // namespace korvin
