// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/aboutbox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/maincontroller.h"
#include "ui/commandids.h"
#include "windowfixture.h"

namespace korvin {
namespace {

TEST(AboutBox, ShowsCaptionIconVersionAndNotice)
{
    AboutBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info Korvin 2.0"));
    QStringList texts;
    bool icon = false;
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        texts << label->text();
        icon = icon || !label->pixmap().isNull();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Korvin 2.0.1")));
    EXPECT_TRUE(icon);
    const auto buttons = box.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
}

TEST(AboutBox, TheAboutCommandOpensItModallyAndOkClosesIt)
{
    test::WindowFixture fixture;
    QString caption;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        caption = modal->windowTitle();
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    fixture.controller().command(cmd::kAbout);
    EXPECT_EQ(caption, QStringLiteral("Info Korvin 2.0"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace korvin
