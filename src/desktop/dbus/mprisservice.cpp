// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dbus/mprisservice.h"

#include <QCoreApplication>
#include <QDBusMessage>

#include "desktop/dbus/mprisplayer.h"
#include "desktop/dbus/mprisproperties.h"
#include "desktop/dbus/mprisroot.h"

namespace korvin {

MprisService::MprisService(RemoteControl& remote, Hooks hooks, QDBusConnection bus)
    : m_remote(remote)
    , m_hooks(std::move(hooks))
    , m_bus(std::move(bus))
    , m_told(remote.nowPlaying())
    , m_jumpsTold(remote.jumps())
{
    new MprisRoot(this);
    new MprisPlayer(this);
    if (!m_bus.isConnected() || !m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return;
    const QString instance = kServiceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString& name : {kServiceName, instance}) {
        if (m_bus.registerService(name)) {
            m_serviceName = name;
            return;
        }
    }
    m_bus.unregisterObject(kObjectPath);
}

MprisService::~MprisService()
{
    if (m_serviceName.isEmpty())
        return;
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(kObjectPath);
}

void MprisService::later(std::function<void(RemoteControl&)> call)
{
    RemoteControl& remote = m_remote;
    m_hooks.whenIdle([&remote, call = std::move(call)] { call(remote); });
}

void MprisService::refresh()
{
    const NowPlaying now = m_remote.nowPlaying();
    const unsigned jumps = m_remote.jumps();
    const QVariantMap changed = mpris::changedProperties(m_told, now);
    const bool jumped = jumps != m_jumpsTold;
    m_told = now;
    m_jumpsTold = jumps;
    if (m_serviceName.isEmpty())
        return;
    // The jump first: a client that hears of a later change has heard of it.
    if (jumped)
        emit Seeked(mpris::microseconds(m_remote.position()));
    if (!changed.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                         QStringLiteral("PropertiesChanged"));
        signal << mpris::kPlayerInterface << changed << QStringList();
        m_bus.send(signal);
    }
}

}  // namespace korvin
