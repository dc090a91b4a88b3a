#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace korvin {

// One running program per user and state folder: the first start claims a
// per-user local socket named after `key`; a second start finds it taken, asks
// the first to show its window and ends. A socket left by a program that
// crashed is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when no other program holds the key; this one then answers later
    // starts until it is destroyed. False when another program runs. When the
    // socket cannot be set up at all the program runs unguarded (true).
    bool claim();

    // From a second start: asks the running program to restore and raise its
    // window. Returns whether it was reached.
    bool askRunningToShow();

    // The socket's full name (a path in the user's runtime folder).
    const QString& serverName() const { return m_serverName; }

signals:
    // A later start asked this program to show its window.
    void showRequested();

private:
    bool anotherIsRunning() const;
    void acceptConnections();

    QString m_serverName;
    std::unique_ptr<QLocalServer> m_server;
};

}  // namespace korvin
