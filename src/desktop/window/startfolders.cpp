// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/startfolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvin {

namespace {

std::string withoutTrailingSlash(QString path)
{
    path = QDir::cleanPath(path);
    return path.toStdString();
}

}  // namespace

Folders resolveFolders(const std::optional<std::string>& home, const QString& executableFolder)
{
    QString state;
    if (home)
        state = QString::fromStdString(*home);
    else if (const QString fromEnvironment = qEnvironmentVariable("KORVIN_HOME"); !fromEnvironment.isEmpty())
        state = fromEnvironment;
    else
        state = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    const QString installed = QDir(executableFolder).filePath(QStringLiteral(KORVIN_RELATIVE_DATA_DIR));
    const QString data = QFileInfo(installed + QStringLiteral("/documents")).isDir()
                             ? installed
                             : QStringLiteral(KORVIN_SOURCE_DATA_DIR);

    Folders folders;
    folders.state = withoutTrailingSlash(QDir(state).absolutePath());
    folders.data = withoutTrailingSlash(QDir(data).absolutePath());
    return folders;
}

std::string unpackCacheRoot(const Folders& folders)
{
    const QString state = QString::fromStdString(folders.state);
    const QString dataLocation = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const bool ownFolder = dataLocation.isEmpty() || QDir(dataLocation).absolutePath() != QDir(state).absolutePath();
    const QString cache = ownFolder ? state : QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return withoutTrailingSlash(QDir(cache).absoluteFilePath(QStringLiteral("unpacked")));
}

bool enterStateFolder(const std::string& folder)
{
    const QString path = QString::fromStdString(folder);
    return QDir().mkpath(path) && QDir::setCurrent(path);
}

QString instanceKey(const std::string& stateFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(stateFolder), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("Korvin 2.0.1-") + QString::fromLatin1(hash);
}

}  // namespace korvin
