// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <vector>

namespace korvin::test {

// A client of the player's MPRIS service on a connection of its own, as the
// desktop's sound menu is: calls and signals go through the bus. A call waits
// for its answer with the event loop running, so that the program in this
// process can give it.
class BusClient : public QObject {
    Q_OBJECT
public:
    explicit BusClient(QString service);
    ~BusClient() override;

    QDBusConnection& bus() { return m_bus; }
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {});
    // A property; a map stands as a QVariantMap.
    QVariant get(const QString& interface, const QString& property);
    void set(const QString& property, const QVariant& value);

    // The changed properties of each PropertiesChanged of the player interface
    // heard, and each Seeked.
    std::vector<QVariantMap> changes;
    std::vector<qlonglong> seeks;
    int changesOf(const QString& property) const;

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void seeked(qlonglong position) { seeks.push_back(position); }

private:
    QString m_name;
    QString m_service;
    QDBusConnection m_bus;
};

// Keeps what Qt's D-Bus module says while it lives: where a service is
// missing, nothing may be said.
class DbusMessages {
public:
    DbusMessages();
    ~DbusMessages();
    DbusMessages(const DbusMessages&) = delete;
    DbusMessages& operator=(const DbusMessages&) = delete;
    const std::vector<QString>& said() const;

private:
    QtMessageHandler m_previous;
};

// Runs the event loop until `done` holds or `timeoutMs` have passed.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000);

}  // namespace korvin::test
