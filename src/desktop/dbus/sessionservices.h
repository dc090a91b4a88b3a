// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

#include <memory>

#include "desktop/dbus/mprisservice.h"
#include "desktop/dbus/sleepinhibitor.h"

namespace korvin {

// What the desktop session offers a player, kept up to date with it: MPRIS 2
// on the session bus, and no sleep while a book plays. After every handling
// the remote control reports, once the event loop is reached again, the
// clients hear what changed and the inhibition follows the play state.
// Removes its listener from `remote` when destroyed.
class SessionServices : public QObject {
    Q_OBJECT
public:
    SessionServices(RemoteControl& remote, MprisService::Hooks hooks, std::function<QString()> inhibitReason,
                    QDBusConnection session, QDBusConnection system);
    ~SessionServices() override;

    MprisService& mpris() { return m_mpris; }
    SleepInhibitor& inhibitor() { return m_inhibitor; }

private:
    void update();

    RemoteControl& m_remote;
    MprisService m_mpris;
    SleepInhibitor m_inhibitor;
    QTimer m_update;
};

}  // namespace korvin
