// The window tests need a QApplication; Qt draws offscreen and mpv plays to no
// device unless told otherwise.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KORVIN_MPV_OPTIONS"))
        qputenv("KORVIN_MPV_OPTIONS", "ao=null");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    QApplication::setApplicationName(QStringLiteral("Korvin 2.0"));
    return RUN_ALL_TESTS();
}
