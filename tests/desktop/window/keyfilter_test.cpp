// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/keyfilter.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include "desktop/window/menubarview.h"
#include "ui/acceleratortable.h"

namespace korvin {
namespace {

// A window with a line edit (a control that wants every letter) and a menu
// action with the shortcut P, under the key filter.
class KeyFilterTest : public ::testing::Test {
protected:
    KeyFilterTest()
    {
        auto* layout = new QVBoxLayout(&window);
        edit = new QLineEdit(&window);
        layout->addWidget(edit);
        action = new QAction(QStringLiteral("forward"), &window);
        action->setShortcut(QKeySequence(Qt::Key_P));
        action->setProperty(MenuBarView::kCommandProperty, 32778);
        window.addAction(action);
        QObject::connect(action, &QAction::triggered, [this] { ++actionTriggers; });

        KeyFilter::Handlers handlers;
        handlers.command = [this](int command) { commands.push_back(command); };
        handlers.help = [this] { ++helps; };
        handlers.moveFocus = [this](bool forward) { focusMoves.push_back(forward); };
        handlers.isMenuShortcut = [](const QKeySequence& keys) { return keys == QKeySequence(Qt::Key_P); };
        filter = std::make_unique<KeyFilter>(window, handlers);
        qApp->installEventFilter(filter.get());

        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
    }
    ~KeyFilterTest() override { qApp->removeEventFilter(filter.get()); }

    QWidget window;
    QLineEdit* edit;
    QAction* action;
    std::unique_ptr<KeyFilter> filter;
    std::vector<int> commands;
    std::vector<bool> focusMoves;
    int helps = 0;
    int actionTriggers = 0;
};

TEST_F(KeyFilterTest, BeforeTheTableArrivesKeysReachTheFocusedControlUnchanged)
{
    QTest::keyClick(edit, Qt::Key_P);
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), QStringLiteral("p "));
    EXPECT_TRUE(commands.empty());
    // The menu item's shortcut P did not fire either.
    EXPECT_EQ(actionTriggers, 0);
}

TEST_F(KeyFilterTest, AcceleratorsSendTheirCommandsAndGoNoFurther)
{
    filter->setAccelerators(builtInAccelerators());
    QTest::keyClick(edit, Qt::Key_P);
    QTest::keyClick(edit, Qt::Key_P, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Space);
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_G);
    QTest::keyClick(edit, Qt::Key_G, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(edit, Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(commands, (std::vector<int>{32778, 32779, 32808, 32808, 32991, 32979, 32983, 32851, 32772}));
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(actionTriggers, 0);
}

TEST_F(KeyFilterTest, EveryEntryOfTheTableIsReachedByItsKey)
{
    const std::vector<Accelerator> table = builtInAccelerators();
    filter->setAccelerators(table);
    for (const Accelerator& accelerator : table) {
        const Qt::Key key = accelerator.key == Accelerator::kSpace ? Qt::Key_Space
                            : accelerator.key >= Accelerator::kF1 && accelerator.key <= Accelerator::kF1 + 11
                                ? static_cast<Qt::Key>(Qt::Key_F1 + accelerator.key - Accelerator::kF1)
                                : static_cast<Qt::Key>(Qt::Key_A + accelerator.key - 'A');
        Qt::KeyboardModifiers modifiers;
        if (accelerator.modifiers & Accelerator::kShift)
            modifiers |= Qt::ShiftModifier;
        if (accelerator.modifiers & Accelerator::kCtrl)
            modifiers |= Qt::ControlModifier;
        if (accelerator.modifiers & Accelerator::kAlt)
            modifiers |= Qt::AltModifier;
        commands.clear();
        QTest::keyClick(edit, key, modifiers);
        EXPECT_EQ(commands, std::vector<int>{accelerator.command}) << accelerator.key << "/" << accelerator.modifiers;
    }
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST_F(KeyFilterTest, LettersWithCapsLockAreTheSameAccelerators)
{
    filter->setAccelerators(builtInAccelerators());
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_P, QStringLiteral("P"), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_P, QStringLiteral("p"), Qt::ShiftModifier);
    EXPECT_EQ(commands, (std::vector<int>{32778, 32779}));
}

TEST_F(KeyFilterTest, ANonLatinLayoutReachesTheAcceleratorOfTheKeysPosition)
{
    filter->setAccelerators(builtInAccelerators());
    // Russian layout, the key of P: Qt reports з with the X keycode 33.
    QKeyEvent press(QEvent::KeyPress, 0x0417, Qt::NoModifier, 33, 0x6da, 0, QString::fromUtf8("з"));
    QApplication::sendEvent(edit, &press);
    EXPECT_EQ(commands, std::vector<int>{32778});
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST_F(KeyFilterTest, TabMovesTheFocusAndF1AsksForHelp)
{
    filter->setAccelerators(builtInAccelerators());
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::keyClick(edit, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_EQ(focusMoves, (std::vector<bool>{true, false}));
    EXPECT_EQ(helps, 1);
    EXPECT_TRUE(commands.empty());
}

TEST_F(KeyFilterTest, KeysOfKeysNotInTheTableReachTheControl)
{
    filter->setAccelerators(builtInAccelerators());
    QTest::keyClick(edit, Qt::Key_B);
    QTest::keyClick(edit, Qt::Key_Q);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), QStringLiteral("bq"));
    EXPECT_TRUE(commands.empty());
}

TEST_F(KeyFilterTest, KeysOfOtherWindowsAreLeftAlone)
{
    filter->setAccelerators(builtInAccelerators());
    QWidget dialog;
    auto* other = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    other->setFocus();
    QTest::keyClick(other, Qt::Key_P);
    QTest::keyClick(other, Qt::Key_Tab);
    EXPECT_EQ(other->text(), QStringLiteral("p"));
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(focusMoves.empty());
}

}  // namespace
}  // namespace korvin
