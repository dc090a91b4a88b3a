// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qtmessageboxes.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace korvin {
namespace {

// A screen reader meets the box as one alert: the caption as its name, the
// whole text as its value, the icon as a graphic. Closing it gives the focus
// back to the control that had it, though the window's focus moved meanwhile.
TEST(QtMessageBoxes, AreReadAsOneAlertWithCaptionIconAndWholeTextAndGiveTheFocusBack)
{
    for (const auto icon : {MessageBoxes::Icon::kInformation, MessageBoxes::Icon::kWarning}) {
        const QString text = QStringLiteral("Die gehörte Spieldauer beträgt 0 Stunden, eine Minute und 5 Sekunden.");
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* first = new QLineEdit(&window);
        auto* second = new QLineEdit(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        QApplication::setActiveWindow(&window);
        second->setFocus();
        QApplication::processEvents();

        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
            EXPECT_EQ(node->role(), QAccessible::AlertMessage);
            EXPECT_EQ(node->text(QAccessible::Name), QStringLiteral("Information"));
            EXPECT_EQ(node->text(QAccessible::Value), text);
            bool graphic = false;
            for (int i = 0; i < node->childCount(); ++i)
                graphic = graphic || node->child(i)->role() == QAccessible::Graphic;
            EXPECT_TRUE(graphic);
            first->setFocus();
            box->close();
        });
        QtMessageBoxes(&window).show(text.toStdString(), "Information", icon, MessageBoxes::Buttons::kOk);
        QApplication::processEvents();
        EXPECT_EQ(window.focusWidget(), second);
    }
}

}  // namespace
}  // namespace korvin
