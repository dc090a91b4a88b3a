// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/singleinstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QUuid>

#include <gtest/gtest.h>

#include "desktop/window/startfolders.h"

namespace korvin {
namespace {

QString freshKey()
{
    return QStringLiteral("korvin-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstance, TheSecondStartFindsTheFirstAndAsksItToShow)
{
    const QString key = freshKey();
    SingleInstance first(key);
    ASSERT_TRUE(first.claim());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(key);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(second.askRunningToShow());
    EXPECT_TRUE(shown.wait(5000));
    EXPECT_EQ(shown.count(), 1);
}

TEST(SingleInstance, ProgramsOfDifferentStateFoldersRunSideBySide)
{
    EXPECT_NE(instanceKey("/home/a/.local/share/Varnholt/Korvin 2.0"), instanceKey("/tmp/test-home"));
    EXPECT_EQ(instanceKey("/tmp/x"), instanceKey("/tmp/x"));
    EXPECT_TRUE(instanceKey("/tmp/x").startsWith(QStringLiteral("Korvin 2.0.1")));
    SingleInstance one(freshKey());
    SingleInstance other(freshKey());
    EXPECT_TRUE(one.claim());
    EXPECT_TRUE(other.claim());
}

TEST(SingleInstance, TheSocketOfAProgramThatDiedIsTakenOver)
{
    const QString key = freshKey();
    {
        SingleInstance probe(key);
        QFile stale(probe.serverName());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    SingleInstance next(key);
    EXPECT_TRUE(next.claim());
    SingleInstance later(key);
    EXPECT_FALSE(later.claim());
}

TEST(SingleInstance, AskingWhenNobodyRunsReachesNobody)
{
    SingleInstance lonely(freshKey());
    EXPECT_FALSE(lonely.askRunningToShow());
    EXPECT_FALSE(lonely.askRunningToOpen("/a/book"));
}

TEST(SingleInstance, ABookHandedOverArrivesWhateverItsPathHolds)
{
    const QString key = freshKey();
    SingleInstance first(key);
    ASSERT_TRUE(first.claim());
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    const std::string paths[] = {"/home/a/Bücher/ncc.html", "/with space/and%25percent", "/line\nbreak/\nshow\n",
                                 "/open /x", std::string("/bytes/\xFF\xFE", 9)};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        SingleInstance later(key);
        ASSERT_TRUE(later.askRunningToOpen(path));
        ASSERT_TRUE(opened.wait(5000));
        EXPECT_EQ(opened.takeFirst().at(0).toByteArray().toStdString(), path);
    }
    EXPECT_EQ(shown.count(), 0);
}

TEST(SingleInstance, ARequestWithoutEndIsCutOffAtItsLimit)
{
    const QString key = freshKey();
    SingleInstance first(key);
    ASSERT_TRUE(first.claim());
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    QLocalSocket flood;
    flood.connectToServer(first.serverName());
    ASSERT_TRUE(flood.waitForConnected(5000));
    QSignalSpy cut(&flood, &QLocalSocket::disconnected);
    flood.write("open /" + QByteArray(SingleInstance::kMaxRequestBytes + 10, 'x'));
    EXPECT_TRUE(cut.wait(5000));
    EXPECT_EQ(opened.count(), 0);
}

}  // namespace
}  // namespace korvin
