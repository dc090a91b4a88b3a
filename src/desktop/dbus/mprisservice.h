// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

#include "app/remotecontrol.h"

namespace korvin {

// Korvin as an MPRIS 2 media player on the session bus: the desktop's sound
// menu, a headset's buttons and the media keys the desktop takes reach the
// player through it (org.mpris.MediaPlayer2 and its Player interface at
// /org/mpris/MediaPlayer2). Without a bus, or when the bus refuses, it is not
// there, silently. Runs on the UI thread.
class MprisService : public QObject {
    Q_OBJECT
public:
    static inline const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.korvin");
    static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    struct Hooks {
        // Raise: brings the window to the front as a second start does.
        std::function<void()> raise;
        // Quit: the exit procedure, everything saved.
        std::function<void()> quit;
        // Runs a call once the window waits for the listener.
        std::function<void(std::function<void()>)> whenIdle;
    };

    // Takes kServiceName on `bus`, or, when another program holds it, the
    // name with ".instance" and the process id, as MPRIS asks.
    MprisService(RemoteControl& remote, Hooks hooks, QDBusConnection bus);
    ~MprisService() override;

    // The name taken; empty when the service is not on the bus.
    const QString& serviceName() const { return m_serviceName; }

    // Tells the clients what changed since they were last told: the changed
    // properties in one PropertiesChanged, and Seeked after a jump. Nothing
    // when nothing changed.
    void refresh();

    // For the adaptors.
    RemoteControl& remote() const { return m_remote; }
    const Hooks& hooks() const { return m_hooks; }
    // Runs `call` on the remote control once the window is free.
    void later(std::function<void(RemoteControl&)> call);

signals:
    // The player interface's signal; position in microseconds.
    void Seeked(qlonglong position);

private:
    RemoteControl& m_remote;
    Hooks m_hooks;
    QDBusConnection m_bus;
    QString m_serviceName;
    NowPlaying m_told;
    unsigned m_jumpsTold = 0;
};

}  // namespace korvin
