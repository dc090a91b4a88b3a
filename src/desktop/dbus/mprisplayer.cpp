// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dbus/mprisplayer.h"

#include <algorithm>
#include <cmath>

#include "desktop/dbus/mprisproperties.h"
#include "desktop/dbus/mprisservice.h"

namespace korvin {

namespace {

using Action = RemoteControl::Action;

}  // namespace

MprisPlayer::MprisPlayer(MprisService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(*service)
{
    // The service emits Seeked; the bus hears it from this interface.
    setAutoRelaySignals(true);
}

QVariant MprisPlayer::playerProperty(const char* name) const
{
    return mpris::playerProperties(m_service.remote().nowPlaying()).value(QLatin1String(name));
}

QString MprisPlayer::playbackStatus() const
{
    return playerProperty("PlaybackStatus").toString();
}

double MprisPlayer::rate() const
{
    return playerProperty("Rate").toDouble();
}

double MprisPlayer::minimumRate() const
{
    return playerProperty("MinimumRate").toDouble();
}

double MprisPlayer::maximumRate() const
{
    return playerProperty("MaximumRate").toDouble();
}

double MprisPlayer::volume() const
{
    return playerProperty("Volume").toDouble();
}

QVariantMap MprisPlayer::metadata() const
{
    return mpris::metadata(m_service.remote().nowPlaying());
}

qlonglong MprisPlayer::position() const
{
    return mpris::microseconds(m_service.remote().position());
}

bool MprisPlayer::canGoNext() const
{
    return playerProperty("CanGoNext").toBool();
}

bool MprisPlayer::canGoPrevious() const
{
    return playerProperty("CanGoPrevious").toBool();
}

bool MprisPlayer::canPlay() const
{
    return playerProperty("CanPlay").toBool();
}

bool MprisPlayer::canPause() const
{
    return playerProperty("CanPause").toBool();
}

bool MprisPlayer::canSeek() const
{
    return playerProperty("CanSeek").toBool();
}

void MprisPlayer::setRate(double rate)
{
    m_service.later([rate](RemoteControl& remote) { remote.setRate(rate); });
}

void MprisPlayer::setVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    const int percent = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0));
    m_service.later([percent](RemoteControl& remote) { remote.setVolume(percent); });
}

// The time of the call, not of its turn, tells whether it echoes a key.
void MprisPlayer::act(Action action)
{
    const std::int64_t at = RemoteControl::steadyMs();
    m_service.later([action, at](RemoteControl& remote) { remote.act(action, RemoteControl::Source::kDesktop, at); });
}

void MprisPlayer::PlayPause()
{
    act(Action::kPlayPause);
}

void MprisPlayer::Play()
{
    act(Action::kPlay);
}

void MprisPlayer::Pause()
{
    act(Action::kPause);
}

void MprisPlayer::Stop()
{
    act(Action::kStop);
}

void MprisPlayer::Next()
{
    act(Action::kNext);
}

void MprisPlayer::Previous()
{
    act(Action::kPrevious);
}

void MprisPlayer::Seek(qlonglong offset)
{
    m_service.later([offset](RemoteControl& remote) { remote.seekBy(static_cast<double>(offset) / 1e6); });
}

// A position for a track other than the one playing is out of date: the
// listener has moved on meanwhile.
void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    m_service.later([trackId, position](RemoteControl& remote) {
        if (mpris::trackId(remote.nowPlaying()) == trackId)
            remote.seekTo(static_cast<double>(position) / 1e6);
    });
}

void MprisPlayer::OpenUri(const QString&)
{
}

}  // namespace korvin
