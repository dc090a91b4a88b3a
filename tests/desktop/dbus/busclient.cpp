// SPDX-License-Identifier: GPL-3.0-or-later
#include "busclient.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QTimer>
#include <QUuid>

#include <algorithm>

#include "desktop/dbus/mprisservice.h"

namespace korvin::test {

namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

QVariant plain(const QVariant& value)
{
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value;
}

std::vector<QString>& dbusMessages()
{
    static std::vector<QString> messages;
    return messages;
}

void recordDbusMessage(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category ? context.category : "").startsWith("qt.dbus") || message.contains("DBus") ||
        message.contains("D-Bus"))
        dbusMessages().push_back(message);
}

}  // namespace

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QTimer wake;  // looks at `done` again at least every 10 ms
        wake.start(10);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

BusClient::BusClient(QString service)
    : m_name(QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_service(std::move(service))
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_name))
{
    m_bus.connect(m_service, MprisService::kObjectPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    m_bus.connect(m_service, MprisService::kObjectPath, QStringLiteral("org.mpris.MediaPlayer2.Player"),
                  QStringLiteral("Seeked"), this, SLOT(seeked(qlonglong)));
}

BusClient::~BusClient()
{
    QDBusConnection::disconnectFromBus(m_name);
}

QDBusMessage BusClient::call(const QString& interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, MprisService::kObjectPath, interface, method);
    message.setArguments(arguments);
    QDBusPendingCall pending = m_bus.asyncCall(message);
    waitFor([&] { return pending.isFinished(); });
    return pending.reply();
}

QVariant BusClient::get(const QString& interface, const QString& property)
{
    const QDBusMessage reply = call(kProperties, QStringLiteral("Get"), {interface, property});
    return reply.arguments().isEmpty() ? QVariant() : plain(reply.arguments().front().value<QDBusVariant>().variant());
}

void BusClient::set(const QString& property, const QVariant& value)
{
    call(kProperties, QStringLiteral("Set"),
         {QStringLiteral("org.mpris.MediaPlayer2.Player"), property, QVariant::fromValue(QDBusVariant(value))});
}

int BusClient::changesOf(const QString& property) const
{
    return static_cast<int>(std::count_if(changes.begin(), changes.end(),
                                          [&](const QVariantMap& change) { return change.contains(property); }));
}

void BusClient::propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
{
    if (interface != QStringLiteral("org.mpris.MediaPlayer2.Player"))
        return;
    QVariantMap values;
    for (auto it = changed.begin(); it != changed.end(); ++it)
        values.insert(it.key(), plain(it.value()));
    changes.push_back(values);
}

DbusMessages::DbusMessages()
    : m_previous(qInstallMessageHandler(recordDbusMessage))
{
    dbusMessages().clear();
}

DbusMessages::~DbusMessages()
{
    qInstallMessageHandler(m_previous);
}

const std::vector<QString>& DbusMessages::said() const
{
    return dbusMessages();
}

}  // namespace korvin::test
