// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace korvin {

// One running program per user and state folder: the first start claims a
// per-user local socket named after `key`; a second start finds it taken and
// hands its request to the first: show the window, or open a book there. A
// socket left by a program that crashed is taken over. Only the user's own
// programs are answered or asked: a peer of another user is cut off.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The longest request a running program reads; a longer one is dropped.
    static constexpr int kMaxRequestBytes = 64 * 1024;

    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when no other program holds the key; this one then answers later
    // starts until it is destroyed. False when another program runs. When the
    // socket cannot be set up at all the program runs unguarded (true).
    bool claim();

    // From a second start: asks the running program to restore and raise its
    // window. Returns whether it was reached.
    bool askRunningToShow();
    // From a second start: asks the running program to open the book at
    // `absolutePath` (a folder or its ncc.html). Returns whether it was reached.
    bool askRunningToOpen(const std::string& absolutePath);

    // The socket's full name (a path in the user's runtime folder).
    const QString& serverName() const { return m_serverName; }

signals:
    // A later start asked this program to show its window.
    void showRequested();
    // A later start asked this program to open a book; `path` as given there.
    void openRequested(const QByteArray& path);

private:
    bool anotherIsRunning() const;
    bool send(const QByteArray& request);
    void acceptConnections();
    void readRequests(QLocalSocket& socket);

    QString m_serverName;
    std::unique_ptr<QLocalServer> m_server;
};

}  // namespace korvin
