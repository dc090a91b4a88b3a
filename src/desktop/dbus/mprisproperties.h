// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

#include "app/remotecontrol.h"

namespace korvin::mpris {

// The MPRIS 2 form of what plays: one track per heading.

inline const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

qint64 microseconds(double seconds);
// "Playing", "Paused" or "Stopped".
QString playbackStatus(NowPlaying::Status status);
// One object path per heading of each book opened in this run; the reserved
// "no track" path without a heading.
QDBusObjectPath trackId(const NowPlaying& now);
// mpris:trackid, and with a heading xesam:title, xesam:album, xesam:artist and
// mpris:length.
QVariantMap metadata(const NowPlaying& now);
// Every property of the player interface but Position, which clients follow
// from the rate and the Seeked signal.
QVariantMap playerProperties(const NowPlaying& now);
// The properties of `now` whose values differ from those of `before`.
QVariantMap changedProperties(const NowPlaying& before, const NowPlaying& now);

}  // namespace korvin::mpris
