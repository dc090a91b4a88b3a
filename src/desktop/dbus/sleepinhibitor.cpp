// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dbus/sleepinhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace korvin {

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
// The portal's flags: 4 suspend, 8 idle.
constexpr uint kSuspendAndIdle = 4 | 8;

}  // namespace

SleepInhibitor::SleepInhibitor(QDBusConnection session, QDBusConnection system, std::function<QString()> reason)
    : m_session(std::move(session))
    , m_system(std::move(system))
    , m_reason(std::move(reason))
{
}

SleepInhibitor::~SleepInhibitor()
{
    m_wanted = false;
    release();
}

void SleepInhibitor::setWanted(bool wanted)
{
    if (wanted == m_wanted)
        return;
    m_wanted = wanted;
    // While a question is out, its answer decides.
    if (m_asking)
        return;
    if (wanted)
        askPortal();
    else
        release();
}

void SleepInhibitor::askPortal()
{
    if (!m_session.isConnected()) {
        askLogind();
        return;
    }
    m_asking = true;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << QString() << kSuspendAndIdle << QVariantMap{{QStringLiteral("reason"), m_reason()}};
    auto* watcher = new QDBusPendingCallWatcher(m_session.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        answer->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *answer;
        m_asking = false;
        if (reply.isError()) {
            if (m_wanted)
                askLogind();
            emit settled();
            return;
        }
        m_portalRequest = reply.value();
        m_held = Held::kPortal;
        if (!m_wanted)
            release();
        emit settled();
    });
}

void SleepInhibitor::askLogind()
{
    if (!m_system.isConnected())
        return;
    m_asking = true;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle:sleep") << QStringLiteral("Korvin") << m_reason() << QStringLiteral("block");
    auto* watcher = new QDBusPendingCallWatcher(m_system.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        answer->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *answer;
        m_asking = false;
        if (!reply.isError() && reply.value().isValid()) {
            m_logindLock = reply.value();
            m_held = Held::kLogind;
            if (!m_wanted)
                release();
        }
        // Without an answer, asked again when playback starts again.
        emit settled();
    });
}

void SleepInhibitor::release()
{
    switch (m_held) {
    case Held::kPortal:
        m_session.asyncCall(QDBusMessage::createMethodCall(kPortalService, m_portalRequest.path(),
                                                           QStringLiteral("org.freedesktop.portal.Request"),
                                                           QStringLiteral("Close")));
        m_portalRequest = QDBusObjectPath();
        break;
    case Held::kLogind:
        m_logindLock = QDBusUnixFileDescriptor();
        break;
    case Held::kNothing:
        break;
    }
    m_held = Held::kNothing;
}

}  // namespace korvin
