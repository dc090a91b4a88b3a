// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_suche.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "desktop/window/qtdialogs.h"

namespace korvin {
namespace {

const Dialogs::SearchTexts kTexts{"Suche...", "Bitte geben Sie hier einen Suchbegriff ein...", "OK", "Abbrechen"};

// Runs the search dialog and lets `act` work it while it is open.
std::optional<std::string> askWith(const std::function<void(CA_Suche&)>& act)
{
    QtDialogs dialogs(nullptr);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CA_Suche*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no search dialog";
            QApplication::activeModalWidget()->close();
            return;
        }
        act(*dialog);
    });
    return dialogs.askSearchTerm(kTexts);
}

TEST(CA_Suche, ShowsCaptionAndPromptAndEnablesOkFromTwoCharactersOn)
{
    const std::optional<std::string> term = askWith([](CA_Suche& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Suche..."));
        EXPECT_EQ(dialog.groupBox().title(), QStringLiteral("Bitte geben Sie hier einen Suchbegriff ein..."));
        EXPECT_EQ(dialog.edit().accessibleName(), dialog.groupBox().title());
        EXPECT_EQ(dialog.okButton().text(), QStringLiteral("OK"));
        EXPECT_EQ(dialog.cancelButton().text(), QStringLiteral("Abbrechen"));
        EXPECT_EQ(dialog.focusWidget(), &dialog.edit());
        EXPECT_FALSE(dialog.okButton().isEnabled());
        QTest::keyClicks(&dialog.edit(), QStringLiteral("Ü"));
        EXPECT_FALSE(dialog.okButton().isEnabled());
        QTest::keyClick(&dialog.edit(), Qt::Key_Return);  // nothing to confirm yet
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClicks(&dialog.edit(), QStringLiteral("BER <&\"*>"));
        EXPECT_TRUE(dialog.okButton().isEnabled());
        QTest::keyClick(&dialog.edit(), Qt::Key_Return);
    });
    EXPECT_EQ(term, "ÜBER <&\"*>");
}

TEST(CA_Suche, EscapeAndCancelChooseNothing)
{
    EXPECT_FALSE(askWith([](CA_Suche& dialog) {
        QTest::keyClicks(&dialog.edit(), QStringLiteral("Vertrag"));
        QTest::keyClick(&dialog.edit(), Qt::Key_Escape);
    }));
    EXPECT_FALSE(askWith([](CA_Suche& dialog) {
        QTest::keyClicks(&dialog.edit(), QStringLiteral("Vertrag"));
        dialog.cancelButton().click();
    }));
}

TEST(CA_Suche, TakesALongTerm)
{
    const QString longTerm(1000, u'x');
    EXPECT_EQ(askWith([&](CA_Suche& dialog) {
                  dialog.edit().setText(longTerm);
                  dialog.okButton().click();
              }),
              longTerm.toStdString());
}

}  // namespace
}  // namespace korvin
