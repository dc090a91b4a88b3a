#include "desktop/window/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace korvin {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kShowRequest = "show\n";

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
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kShowRequest);
    const bool written = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return written;
}

bool SingleInstance::anotherIsRunning() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    return socket.waitForConnected(kConnectTimeoutMs);
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kShowRequest.trimmed()))
                emit showRequested();
        });
    }
}

}  // namespace korvin
