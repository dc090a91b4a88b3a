// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of the Qt test programs: a QApplication as the program has one,
// drawing offscreen and with mpv playing to no device unless the caller chose
// otherwise.

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    // Also when CTest only lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KORVIN_MPV_OPTIONS"))
        qputenv("KORVIN_MPV_OPTIONS", "ao=null");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    QApplication::setApplicationName(QStringLiteral("Korvin 2.0"));
    // libmpv works only with the C number format; Qt has just set the locale.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
