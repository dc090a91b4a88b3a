// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_mitteilung.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "desktop/window/qtdialogs.h"

namespace korvin {
namespace {

CA_Mitteilung* shownWaitWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<CA_Mitteilung*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

TEST(CA_Mitteilung, IsShownAsAnAlertWithItsTextWhileTheWorkRunsOnTheUiThread)
{
    QtDialogs dialogs(nullptr, 0);
    bool ran = false;
    const bool completed = dialogs.run("Suche läuft. Bitte warten...", [&](const std::atomic<bool>&) {
        ran = true;
        CA_Mitteilung* window = shownWaitWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->windowTitle().isEmpty() || !(window->windowFlags() & Qt::WindowTitleHint));
        EXPECT_EQ(window->line().text(), QStringLiteral("Suche läuft. Bitte warten..."));
        EXPECT_TRUE(window->line().isReadOnly());
        EXPECT_TRUE(window->line().alignment() & Qt::AlignHCenter);
        EXPECT_TRUE(window->isWorking());
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::AlertMessage);
        EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Suche läuft. Bitte warten..."));
    }, {});
    EXPECT_TRUE(ran);
    EXPECT_TRUE(completed);
    EXPECT_EQ(shownWaitWindow(), nullptr);
}

TEST(CA_Mitteilung, EscapeStopsCancellableWorkOnAWorkerThreadButNotOtherWork)
{
    QtDialogs dialogs(nullptr, 0);
    // Escape once the work runs.
    const auto escapeSoon = [] {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, [timer] {
            if (CA_Mitteilung* window = shownWaitWindow(); window && window->isWorking()) {
                QTest::keyClick(window, Qt::Key_Escape);
                timer->deleteLater();
            }
        });
        timer->start(10);
    };
    const auto waitForCancel = [](const std::atomic<bool>& cancelled) {
        for (int i = 0; i < 200 && !cancelled; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    escapeSoon();
    EXPECT_FALSE(dialogs.run("Bitte warten", waitForCancel, {true, true}));
    escapeSoon();
    EXPECT_TRUE(dialogs.run("Bitte warten", [](const std::atomic<bool>&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }, {true, false}));
}

}  // namespace
}  // namespace korvin
