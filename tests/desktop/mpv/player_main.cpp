// SPDX-License-Identifier: GPL-3.0-or-later
// The player tests run inside a Qt event loop, as the player does in the program.

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    // Headless and silent unless the caller chose an audio output.
    if (!qEnvironmentVariableIsSet("KORVIN_MPV_OPTIONS"))
        qputenv("KORVIN_MPV_OPTIONS", "ao=null");
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    // libmpv works only with the C number format; Qt has just set the locale.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
