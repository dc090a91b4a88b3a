// SPDX-License-Identifier: GPL-3.0-or-later
// The inhibition asked of the portal or of logind, answered by fakes of them on
// the private bus (which stands in for the system bus as well).

#include "desktop/dbus/sleepinhibitor.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QUuid>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <memory>

#include "busclient.h"

namespace korvin {
namespace {

using Held = SleepInhibitor::Held;
using test::waitFor;

const QString kRequest = QStringLiteral("/org/freedesktop/portal/desktop/request/1");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kLogind = QStringLiteral("org.freedesktop.login1");

class FakeRequest : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    int closed = 0;
public slots:
    void Close() { ++closed; }
};

class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")
public:
    uint flags = 0;
    QString reason;
public slots:
    QDBusObjectPath Inhibit(const QString&, uint asked, const QVariantMap& options)
    {
        flags = asked;
        reason = options.value(QStringLiteral("reason")).toString();
        return QDBusObjectPath(kRequest);
    }
};

// Hands out the write end of a pipe: once the caller closes it, the read end
// hangs up.
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    ~FakeLogind() override
    {
        if (readEnd >= 0)
            ::close(readEnd);
    }
    bool released() const
    {
        pollfd watch{readEnd, POLLIN, 0};
        return readEnd >= 0 && ::poll(&watch, 1, 0) == 1 && (watch.revents & POLLHUP);
    }
    QStringList asked;
    int readEnd = -1;
public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode)
    {
        asked = {what, who, why, mode};
        int ends[2] = {-1, -1};
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return {};
        readEnd = ends[0];
        QDBusUnixFileDescriptor lock(ends[1]);  // a copy
        ::close(ends[1]);
        return lock;
    }
};

// The services a desktop would have, on a connection of their own.
struct FakeServices {
    FakeServices(bool withPortal, bool withLogind)
    {
        if (withPortal) {
            bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                               QDBusConnection::ExportAllSlots);
            bus.registerObject(kRequest, &request, QDBusConnection::ExportAllSlots);
            bus.registerService(kPortal);
        }
        if (withLogind) {
            bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind, QDBusConnection::ExportAllSlots);
            bus.registerService(kLogind);
        }
    }
    // The names go back before the next fakes take them.
    ~FakeServices()
    {
        bus.unregisterService(kPortal);
        bus.unregisterService(kLogind);
        QDBusConnection::disconnectFromBus(name);
    }
    FakePortal portal;
    FakeRequest request;
    FakeLogind logind;
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
};

TEST(SleepInhibitor, AsksThePortalElseLogindAndLetsGoAtPauseOrEnd)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no private session bus: dbus-run-session is not installed";
    struct Case {
        const char* name;
        bool portal;
        bool logind;
        Held held;
        int answers;  // settled() until the asking is over
        bool pausedBeforeAnswer;
        bool endWhilePlaying;
    };
    const Case cases[] = {
        {"the portal first", true, true, Held::kPortal, 1, false, false},
        {"the portal, paused at once", true, false, Held::kNothing, 1, true, false},
        {"logind without a portal", false, true, Held::kLogind, 2, false, false},
        {"logind, to the end", false, true, Held::kLogind, 2, false, true},
        {"neither", false, false, Held::kNothing, 2, false, false},
    };
    const QString reason = QStringLiteral("Ein Buch wird vorgelesen");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::DbusMessages messages;
        FakeServices services(c.portal, c.logind);
        auto inhibitor = std::make_unique<SleepInhibitor>(QDBusConnection::sessionBus(), QDBusConnection::systemBus(),
                                                          [&] { return reason; });
        int answers = 0;
        QObject::connect(inhibitor.get(), &SleepInhibitor::settled, [&] { ++answers; });
        inhibitor->setWanted(true);
        if (c.pausedBeforeAnswer)
            inhibitor->setWanted(false);
        ASSERT_TRUE(waitFor([&] { return answers == c.answers; }));
        EXPECT_EQ(inhibitor->held(), c.held);
        EXPECT_EQ(services.portal.flags, c.portal ? 4u | 8u : 0u);  // suspend and idle
        EXPECT_EQ(services.portal.reason, c.portal ? reason : QString());
        const QStringList logindAsked{QStringLiteral("idle:sleep"), QStringLiteral("Korvin"), reason,
                                      QStringLiteral("block")};
        EXPECT_EQ(services.logind.asked, c.held == Held::kLogind ? logindAsked : QStringList());
        EXPECT_FALSE(services.logind.released());

        if (c.endWhilePlaying)
            inhibitor.reset();
        else
            inhibitor->setWanted(false);
        EXPECT_TRUE(waitFor([&] { return services.request.closed == (c.portal ? 1 : 0); }));
        EXPECT_TRUE(waitFor([&] { return services.logind.released() == (c.held == Held::kLogind); }));
        EXPECT_TRUE(!inhibitor || inhibitor->held() == Held::kNothing);
        EXPECT_EQ(messages.said(), std::vector<QString>());
    }
}

}  // namespace
}  // namespace korvin

#include "sleepinhibitor_test.moc"
