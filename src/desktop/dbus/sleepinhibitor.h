// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

#include <functional>

namespace korvin {

// Keeps the machine from suspending or locking for idleness while a book
// plays: asks the desktop portal (org.freedesktop.portal.Inhibit, idle and
// suspend), or where none answers logind (Inhibit "idle:sleep" on the system
// bus). Where neither exists nothing happens and nothing is said. Calls are
// answered later, never waited for; the UI thread goes on. Released when no
// longer wanted and when destroyed.
class SleepInhibitor : public QObject {
    Q_OBJECT
public:
    enum class Held { kNothing, kPortal, kLogind };

    // `reason` gives the text the desktop may show for it, in the interface's
    // language at the time of asking.
    SleepInhibitor(QDBusConnection session, QDBusConnection system, std::function<QString()> reason);
    ~SleepInhibitor() override;

    // True while a book plays.
    void setWanted(bool wanted);
    Held held() const { return m_held; }

signals:
    // An answer came: held() may have changed.
    void settled();

private:
    void askPortal();
    void askLogind();
    void release();

    QDBusConnection m_session;
    QDBusConnection m_system;
    std::function<QString()> m_reason;
    bool m_wanted = false;
    bool m_asking = false;
    Held m_held = Held::kNothing;
    QDBusObjectPath m_portalRequest;
    QDBusUnixFileDescriptor m_logindLock;  // closing it ends the inhibition
};

}  // namespace korvin
