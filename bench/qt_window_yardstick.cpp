// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the window's start: the plainest Qt Widgets program that a
// screen reader can announce, a main window with one named text field that
// takes the focus.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Yardstick"));
    auto* field = new QLineEdit(&window);
    field->setAccessibleName(QStringLiteral("Field"));
    window.setCentralWidget(field);
    window.show();
    field->setFocus();
    return application.exec();
}
