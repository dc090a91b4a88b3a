// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/audiocontrols.h"

#include <algorithm>

namespace korvin {

namespace {

// Rates are sums of steps of 0.2, which a double does not hold exactly.
constexpr double kRateSlack = 1e-9;

}  // namespace

AudioControls::AudioControls(Settings& settings, MediaPlayer& player, const PlaybackState& state,
                             const Options& options)
    : m_settings(settings)
    , m_player(player)
    , m_state(state)
    , m_options(options)
{
}

// While the sleep timer fades, the player plays at a share of the setting.
int AudioControls::listenersVolume() const
{
    return m_state.volumePercent >= 100 ? m_player.volume() : m_settings.volume;
}

// The player keeps the volume within 0..100; the setting holds what the player
// holds, so that neither the settings file nor the player panel ever shows 110.
void AudioControls::changeVolume(int volume)
{
    m_settings.volume = std::clamp(volume, 0, 100);
    m_player.setVolume(m_state.volumePercent >= 100 ? volume : fadedVolume(m_settings.volume, m_state.volumePercent));
}

void AudioControls::changeRate(double rate)
{
    m_player.setRate(rate);
    m_settings.rate = rate;
}

void AudioControls::volumeUp()
{
    changeVolume(listenersVolume() + kVolumeStep);
}

void AudioControls::volumeNormal()
{
    changeVolume(kNormalVolume);
}

void AudioControls::volumeDown()
{
    changeVolume(listenersVolume() - kVolumeStep);
}

void AudioControls::speedFaster()
{
    const double rate = m_player.rate();
    if (m_options.upToTriple) {
        if (rate < kFastestRate - kRateSlack)
            changeRate(std::min(rate + kRateStep, kFastestRate));
    } else if (rate <= kFastestToStepFrom) {
        changeRate(rate + kRateStep);
    }
}

void AudioControls::speedNormal()
{
    changeRate(kNormalRate);
}

void AudioControls::speedSlower()
{
    const double rate = m_player.rate();
    if (m_options.upToTriple) {
        if (rate > kSlowestRate + kRateSlack)
            changeRate(std::max(rate - kRateStep, kSlowestRate));
    } else if (rate >= kSlowestToStepFrom) {
        changeRate(rate - kRateStep);
    }
}

AudioControls::RateRange AudioControls::rateRange() const
{
    if (m_options.upToTriple)
        return {kSlowestRate, kFastestRate};
    return {kSlowestNormalRate, kFastestNormalRate};
}

void AudioControls::keepToNormalRange()
{
    const double rate = m_settings.rate;
    if (rate > kFastestNormalRate + kRateSlack)
        changeRate(kFastestNormalRate);
    else if (rate < kSlowestNormalRate - kRateSlack)
        changeRate(kSlowestNormalRate);
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
