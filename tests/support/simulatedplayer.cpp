// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/simulatedplayer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvin::test {

SimulatedPlayer::SimulatedPlayer(VirtualClock& clock)
    : m_clock(clock)
{
}

void SimulatedPlayer::addFile(const std::string& path, double seconds)
{
    m_files[path] = File{std::max(seconds, 0.0), false};
}

void SimulatedPlayer::addCorruptFile(const std::string& path)
{
    m_files[path] = File{0, true};
}

void SimulatedPlayer::removeFile(const std::string& path)
{
    m_files.erase(path);
}

void SimulatedPlayer::raiseError()
{
    std::weak_ptr<bool> alive = m_alive;
    m_clock.schedule(m_clock.now(), [this, alive] {
        if (!alive.expired())
            reportError();
    });
}

void SimulatedPlayer::note(const std::string& call)
{
    m_log.push_back(call);
}

void SimulatedPlayer::note(const std::string& call, double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    m_log.push_back(call + " " + std::string(text, result.ptr));
}

void SimulatedPlayer::setUrl(const std::string& path)
{
    note("setUrl " + path);
    m_url = path;
    ++m_loadGeneration;
    m_duration = 0;
    m_position = 0;
    m_wantPlaying = false;
    m_stoppedAtEnd = false;
    m_movedFromEnd = false;
    if (path.empty()) {
        m_load = Load::None;
        return;
    }
    m_load = Load::Loading;
    std::weak_ptr<bool> alive = m_alive;
    const unsigned generation = m_loadGeneration;
    m_clock.schedule(m_clock.now() + m_loadDelay, [this, alive, generation] {
        if (!alive.expired())
            finishLoad(generation);
    });
}

void SimulatedPlayer::finishLoad(unsigned generation)
{
    if (generation != m_loadGeneration || m_load != Load::Loading)
        return;
    const auto found = m_files.find(m_url);
    if (found == m_files.end() || found->second.corrupt) {
        m_load = Load::Failed;
        m_wantPlaying = false;
        m_position = 0;
        reportError();
        return;
    }
    m_load = Load::Open;
    m_duration = found->second.seconds;
    m_position = std::min(m_position, m_duration);
    m_since = m_clock.now();
}

void SimulatedPlayer::reportError()
{
    ++m_errorCount;
    if (m_errorHandler)
        m_errorHandler();
}

int SimulatedPlayer::openState() const
{
    switch (m_load) {
    case Load::Loading:
        return kOpenStateOpening;
    case Load::Open:
        return kOpenStateMediaOpen;
    default:
        return kOpenStateClosed;
    }
}

double SimulatedPlayer::livePosition() const
{
    if (!running())
        return m_position;
    const double played = static_cast<double>(m_clock.now() - m_since) / 1000.0 * m_rate;
    return std::min(m_position + played, m_duration);
}

int SimulatedPlayer::playState() const
{
    switch (m_load) {
    case Load::Loading:
        return m_wantPlaying ? kPlaying : kPaused;
    case Load::Open:
        if (m_stoppedAtEnd)
            return m_movedFromEnd ? kStopped : m_endedState;
        if (!m_wantPlaying)
            return kPaused;
        return livePosition() >= m_duration ? m_endedState : kPlaying;
    default:
        return kUndefined;
    }
}

void SimulatedPlayer::settle()
{
    if (!running())
        return;
    m_position = livePosition();
    m_since = m_clock.now();
    if (m_position >= m_duration) {
        m_stoppedAtEnd = true;
        m_wantPlaying = false;
    }
}

void SimulatedPlayer::play()
{
    note("play");
    if (m_load != Load::Loading && m_load != Load::Open)
        return;
    settle();
    m_wantPlaying = true;
    m_stoppedAtEnd = false;
    m_movedFromEnd = false;
    m_since = m_clock.now();
}

void SimulatedPlayer::pause()
{
    note("pause");
    if (m_load != Load::Loading && m_load != Load::Open)
        return;
    settle();
    if (!m_stoppedAtEnd)
        m_wantPlaying = false;
}

double SimulatedPlayer::position() const
{
    switch (m_load) {
    case Load::Loading:
    case Load::Open:
        return livePosition();
    default:
        return 0;
    }
}

void SimulatedPlayer::setPosition(double seconds)
{
    note("setPosition", seconds);
    if (std::isnan(seconds) || (m_load != Load::Loading && m_load != Load::Open))
        return;
    settle();
    m_movedFromEnd = m_stoppedAtEnd;
    seconds = std::max(seconds, 0.0);
    m_position = m_load == Load::Open ? std::min(seconds, m_duration) : seconds;
    m_since = m_clock.now();
}

void SimulatedPlayer::setRate(double rate)
{
    note("setRate", rate);
    if (!std::isfinite(rate) || rate <= 0)
        return;
    settle();
    m_rate = std::clamp(rate, 0.01, 100.0);
}

void SimulatedPlayer::setVolume(int volume)
{
    note("setVolume", volume);
    m_volume = std::clamp(volume, 0, 100);
}

void SimulatedPlayer::clearErrors()
{
    note("clearErrors");
    m_errorCount = 0;
}

}  // namespace korvin::test
