// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dbus/mprisproperties.h"

#include <QStringList>

#include <cmath>

namespace korvin::mpris {

qint64 microseconds(double seconds)
{
    return std::isfinite(seconds) ? static_cast<qint64>(std::llround(seconds * 1e6)) : 0;
}

QString playbackStatus(NowPlaying::Status status)
{
    switch (status) {
    case NowPlaying::Status::kPlaying:
        return QStringLiteral("Playing");
    case NowPlaying::Status::kPaused:
        return QStringLiteral("Paused");
    case NowPlaying::Status::kStopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QDBusObjectPath trackId(const NowPlaying& now)
{
    if (!now.bookOpen || now.heading < 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/korvin/Korvin/book%1/heading%2").arg(now.bookSerial).arg(now.heading));
}

QVariantMap metadata(const NowPlaying& now)
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId(now)));
    if (!now.bookOpen || now.heading < 0)
        return map;
    QStringList creators;
    for (const std::string& creator : now.creators)
        creators.append(QString::fromStdString(creator));
    map.insert(QStringLiteral("xesam:title"), QString::fromStdString(now.headingTitle));
    map.insert(QStringLiteral("xesam:album"), QString::fromStdString(now.bookTitle));
    map.insert(QStringLiteral("xesam:artist"), creators);
    map.insert(QStringLiteral("mpris:length"), microseconds(now.headingDuration));
    return map;
}

QVariantMap playerProperties(const NowPlaying& now)
{
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatus(now.status)},
        {QStringLiteral("Rate"), now.rate},
        {QStringLiteral("MinimumRate"), now.minimumRate},
        {QStringLiteral("MaximumRate"), now.maximumRate},
        {QStringLiteral("Volume"), now.volume / 100.0},
        {QStringLiteral("Metadata"), metadata(now)},
        {QStringLiteral("CanGoNext"), now.canGoNext},
        {QStringLiteral("CanGoPrevious"), now.canGoPrevious},
        {QStringLiteral("CanPlay"), now.bookOpen},
        {QStringLiteral("CanPause"), now.bookOpen},
        {QStringLiteral("CanSeek"), now.bookOpen},
        {QStringLiteral("CanControl"), true},
    };
}

QVariantMap changedProperties(const NowPlaying& before, const NowPlaying& now)
{
    const QVariantMap old = playerProperties(before);
    QVariantMap changed = playerProperties(now);
    for (auto it = changed.begin(); it != changed.end();) {
        if (old.value(it.key()) == it.value())
            it = changed.erase(it);
        else
            ++it;
    }
    return changed;
}

}  // namespace korvin::mpris
