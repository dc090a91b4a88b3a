// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dbus/sessionservices.h"

namespace korvin {

SessionServices::SessionServices(RemoteControl& remote, MprisService::Hooks hooks,
                                 std::function<QString()> inhibitReason, QDBusConnection session,
                                 QDBusConnection system)
    : m_remote(remote)
    , m_mpris(remote, std::move(hooks), session)
    , m_inhibitor(session, system, std::move(inhibitReason))
{
    // The reports of one moment (a key, its notifications, a poll) come out as
    // one look.
    m_update.setSingleShot(true);
    connect(&m_update, &QTimer::timeout, this, &SessionServices::update);
    m_remote.setListener([this] {
        if (!m_update.isActive())
            m_update.start(0);
    });
    update();
}

SessionServices::~SessionServices()
{
    m_remote.setListener(nullptr);
}

void SessionServices::update()
{
    m_mpris.refresh();
    m_inhibitor.setWanted(m_remote.nowPlaying().status == NowPlaying::Status::kPlaying);
}

}  // namespace korvin
