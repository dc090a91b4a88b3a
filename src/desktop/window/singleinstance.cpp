// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace korvin {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kShowRequest = "show";
const QByteArray kOpenRequest = "open ";

// Whether the other end of a connected local socket runs as this user. The
// socket's folder and mode keep others out already; this holds also where the
// name lies in the shared temporary folder.
bool peerIsOwnUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    const auto descriptor = static_cast<int>(socket.socketDescriptor());
    return descriptor >= 0 && getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == getuid();
}

bool connectToOwn(QLocalSocket& socket, const QString& name)
{
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    if (peerIsOwnUser(socket))
        return true;
    socket.abort();
    return false;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
{
    // The user's runtime folder is private; the shared temporary folder gets
    // the user id in the name.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    m_serverName = !runtime.isEmpty() && QFileInfo(runtime).isDir()
                       ? QDir(runtime).filePath(key)
                       : QDir(QDir::tempPath()).filePath(key + QStringLiteral("-%1").arg(getuid()));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (anotherIsRunning())
            return false;
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (server->listen(m_serverName)) {
            m_server = std::move(server);
            connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
            return true;
        }
        if (server->serverError() != QAbstractSocket::AddressInUseError)
            return true;
        // Nobody answered, yet the name is taken: the socket of a program that
        // died. Another start may have claimed it in between, so look again.
        if (anotherIsRunning())
            return false;
        QLocalServer::removeServer(m_serverName);
    }
    return true;
}

bool SingleInstance::askRunningToShow()
{
    return send(kShowRequest);
}

// The path goes percent-encoded, so that no byte of it (a line end in a
// folder's name) can end the request early.
bool SingleInstance::askRunningToOpen(const std::string& absolutePath)
{
    return send(kOpenRequest + QByteArray::fromStdString(absolutePath).toPercentEncoding());
}

bool SingleInstance::send(const QByteArray& request)
{
    QLocalSocket socket;
    if (!connectToOwn(socket, m_serverName))
        return false;
    socket.write(request + '\n');
    const bool written = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return written;
}

bool SingleInstance::anotherIsRunning() const
{
    QLocalSocket socket;
    return connectToOwn(socket, m_serverName);
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsOwnUser(*socket)) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(*socket); });
    }
}

// A request is one line; it may arrive in pieces.
void SingleInstance::readRequests(QLocalSocket& socket)
{
    while (socket.canReadLine()) {
        const QByteArray line = socket.readLine().trimmed();
        if (line.size() > kMaxRequestBytes) {
            socket.abort();
            return;
        }
        if (line == kShowRequest)
            emit showRequested();
        else if (line.startsWith(kOpenRequest))
            emit openRequested(QByteArray::fromPercentEncoding(line.mid(kOpenRequest.size())));
    }
    if (socket.bytesAvailable() > kMaxRequestBytes)
        socket.abort();
}

}  // namespace korvin
