// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of the D-Bus tests: each test runs on a private session bus of its
// own (dbus-run-session, session.conf), which stands in for the system bus too,
// so that no test reaches the buses of the machine or of the person running it.
// Without dbus-run-session the tests that need a bus skip.

#include <QApplication>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv, argv + argc);
    const bool listing = std::find(arguments.begin(), arguments.end(), "--gtest_list_tests") != arguments.end();
    if (!qEnvironmentVariableIsSet("KORVIN_TEST_BUS") && !listing) {
        qputenv("KORVIN_TEST_BUS", "1");
        std::string config = "--config-file=" KORVIN_DBUS_TEST_CONFIG;
        std::vector<char*> command{const_cast<char*>("dbus-run-session"), config.data(), const_cast<char*>("--")};
        command.insert(command.end(), argv, argv + argc);
        command.push_back(nullptr);
        execvp(command.front(), command.data());
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");  // still here: no bus at all
    }
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", qgetenv("DBUS_SESSION_BUS_ADDRESS"));
    // Also when CTest only lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    QApplication::setApplicationName(QStringLiteral("Korvin 2.0"));
    std::setlocale(LC_NUMERIC, "C");  // for libmpv
    return RUN_ALL_TESTS();
}
