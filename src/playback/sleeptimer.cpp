// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/sleeptimer.h"

#include <algorithm>
#include <cmath>

#include "playback/audiotime.h"
#include "ui/commandids.h"

namespace korvin {

namespace {

constexpr long long kMinute = 60 * 1000;

long long minutesOf(int command)
{
    switch (command) {
    case cmd::kSleepTimer15:
        return 15;
    case cmd::kSleepTimer30:
        return 30;
    case cmd::kSleepTimer45:
        return 45;
    case cmd::kSleepTimer60:
        return 60;
    default:
        return 0;
    }
}

}  // namespace

SleepTimer::SleepTimer(Parts parts, Services services, std::function<void()> saveAsAtExit)
    : m_parts(parts)
    , m_services(services)
    , m_saveAsAtExit(std::move(saveAsAtExit))
{
    m_parts.menu.checkRadio(cmd::kSleepTimer15, cmd::kSleepTimerOff, cmd::kSleepTimerOff);
}

void SleepTimer::choose(int command)
{
    using Mode = SleepTimerLeft::Mode;
    // A fade under way ends with the timer it belongs to.
    fadeTo(100);
    m_faded = 0;
    m_countdown = minutesOf(command) * kMinute;
    if (m_countdown > 0)
        m_mode = Mode::kCountdown;
    else if (command == cmd::kSleepTimerEndOfHeading)
        m_mode = Mode::kEndOfHeading;
    else
        m_mode = Mode::kOff;
    if (running())
        m_services.timers.setTimer(kTimer, kTick);
    else
        m_services.timers.killTimer(kTimer);
    m_parts.menu.checkRadio(cmd::kSleepTimer15, cmd::kSleepTimerOff, command);
    m_services.menuBar.redraw();
}

void SleepTimer::tick()
{
    if (!running() || m_services.player.playState() != MediaPlayer::kPlaying)
        return;
    if (m_mode == SleepTimerLeft::Mode::kEndOfHeading) {
        fadeTo(endOfHeadingPercent());
        return;
    }
    if (m_countdown > 0) {
        m_countdown -= kTick;
        return;
    }
    m_faded += kTick;
    fadeTo(100 - m_faded * 100 / kFadeMilliseconds);
    if (m_faded >= kFadeMilliseconds)
        runOut();
}

void SleepTimer::headingEnded()
{
    if (m_mode == SleepTimerLeft::Mode::kEndOfHeading)
        runOut();
}

SleepTimerLeft SleepTimer::left() const
{
    SleepTimerLeft left;
    left.mode = m_mode;
    // Until it runs out: the time the listener chose, less what has played.
    if (m_mode == SleepTimerLeft::Mode::kCountdown)
        left.seconds = static_cast<double>(std::max(0LL, m_countdown)) / 1000.0;
    return left;
}

// The last ten seconds of the heading, at the speed it plays, fade it out.
int SleepTimer::endOfHeadingPercent() const
{
    const BookTable& phrases = m_parts.tables.phrases;
    const PlaybackEngine& engine = m_parts.engine;
    const HeadingAudio audio = headingAudio(phrases, {phrases.selectionMark(), m_services.player.position()},
                                            [&engine](int row) { return engine.isHeard(row); });
    const double rate = m_services.player.rate() > 0 ? m_services.player.rate() : 1.0;
    const double left = (audio.length - audio.heard) / rate * 1000.0;
    if (!(left < kFadeMilliseconds))
        return 100;
    return std::clamp(static_cast<int>(std::lround(left * 100 / kFadeMilliseconds)), 0, 100);
}

void SleepTimer::fadeTo(int percent)
{
    percent = std::clamp(percent, 0, 100);
    PlaybackState& state = m_parts.state;
    if (state.volumePercent == percent)
        return;
    state.volumePercent = percent;
    m_services.player.setVolume(fadedVolume(m_parts.settings.volume, percent));
}

void SleepTimer::runOut()
{
    m_services.player.pause();
    m_saveAsAtExit();
    turnOff();
}

void SleepTimer::turnOff()
{
    choose(cmd::kSleepTimerOff);
}

}  // namespace korvin
