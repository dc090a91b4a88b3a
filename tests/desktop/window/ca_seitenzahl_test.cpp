// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_seitenzahl.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "desktop/window/qtdialogs.h"

namespace korvin {
namespace {

const Dialogs::PageTexts kTexts{"Gehe zu Seite...",
                                "Bitte geben Sie eine Seitenzahl ein und drücken Sie \"Enter\" oder ESC zum Abbrechen.",
                                "OK", "Abbrechen"};

// Runs the go-to-page dialog and lets `act` work it while it is open.
std::optional<std::string> askWith(const std::function<void(CA_Seitenzahl&)>& act)
{
    QtDialogs dialogs(nullptr);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CA_Seitenzahl*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no go-to-page dialog";
            QApplication::activeModalWidget()->close();
            return;
        }
        act(*dialog);
    });
    return dialogs.askPageNumber(kTexts);
}

TEST(CA_Seitenzahl, IsAModalDialogThatAnnouncesCaptionPromptAndField)
{
    const std::optional<std::string> label = askWith([](CA_Seitenzahl& dialog) {
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(dialog.windowTitle(), QString::fromStdString(kTexts.caption));
        EXPECT_EQ(dialog.prompt().text(), QString::fromStdString(kTexts.prompt));
        EXPECT_EQ(dialog.prompt().buddy(), &dialog.edit());
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(&dialog.edit());
        EXPECT_EQ(field->role(), QAccessible::EditableText);
        EXPECT_EQ(field->text(QAccessible::Name), QString::fromStdString(kTexts.prompt));
        EXPECT_EQ(dialog.focusWidget(), &dialog.edit());
        EXPECT_TRUE(dialog.okButton().isDefault());
        EXPECT_EQ(dialog.cancelButton().text(), QStringLiteral("Abbrechen"));
        QTest::keyClicks(&dialog.edit(), QStringLiteral(" iv "));
        QTest::keyClick(&dialog.edit(), Qt::Key_Return);
    });
    EXPECT_EQ(label, " iv ");  // nothing trimmed
}

TEST(CA_Seitenzahl, EscapeAndCancelChooseNothingAndAnEmptyFieldConfirms)
{
    EXPECT_FALSE(askWith([](CA_Seitenzahl& dialog) {
        QTest::keyClicks(&dialog.edit(), QStringLiteral("12"));
        QTest::keyClick(&dialog.edit(), Qt::Key_Escape);
    }));
    EXPECT_FALSE(askWith([](CA_Seitenzahl& dialog) { dialog.cancelButton().click(); }));
    EXPECT_EQ(askWith([](CA_Seitenzahl& dialog) { QTest::keyClick(&dialog.edit(), Qt::Key_Return); }), "");
}

}  // namespace
}  // namespace korvin
