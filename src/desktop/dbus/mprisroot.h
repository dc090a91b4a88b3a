// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

namespace korvin {

class MprisService;

// org.mpris.MediaPlayer2: who the player is, Raise and Quit.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    // A child of `service`, which it serves.
    explicit MprisRoot(MprisService* service);

    QString identity() const { return QStringLiteral("Korvin"); }
    QString desktopEntry() const { return QStringLiteral("korvin"); }
    bool canRaise() const { return true; }
    bool canQuit() const { return true; }
    bool hasTrackList() const { return false; }
    // Books are opened in the window, not handed in by URI.
    QStringList supportedUriSchemes() const { return {}; }
    QStringList supportedMimeTypes() const { return {}; }

public slots:
    void Raise();
    void Quit();

private:
    MprisService& m_service;
};

}  // namespace korvin
