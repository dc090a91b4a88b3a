// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/keymapping.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace korvin {
namespace {

QKeyEvent keyEvent(int key, Qt::KeyboardModifiers modifiers, const QString& text = {}, quint32 keycode = 0)
{
    return QKeyEvent(QEvent::KeyPress, key, modifiers, keycode, 0, 0, text);
}

TEST(KeyMapping, LettersAreKeyCodesWhateverShiftAndCapsLockSay)
{
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_P, Qt::NoModifier, "p")), (KeyStroke{'P', Accelerator::kNone}));
    // Caps Lock: an upper-case text without Shift is still P without Shift.
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_P, Qt::NoModifier, "P")), (KeyStroke{'P', Accelerator::kNone}));
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_P, Qt::ShiftModifier, "P")), (KeyStroke{'P', Accelerator::kShift}));
    // Caps Lock with Shift gives a lower-case text: still Shift+P.
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_P, Qt::ShiftModifier, "p")), (KeyStroke{'P', Accelerator::kShift}));
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_M, Qt::ControlModifier | Qt::AltModifier)),
              (KeyStroke{'M', Accelerator::kCtrl | Accelerator::kAlt}));
}

TEST(KeyMapping, SpaceAndFunctionKeysHaveTheirCodes)
{
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_Space, Qt::ControlModifier, " ")),
              (KeyStroke{Accelerator::kSpace, Accelerator::kCtrl}));
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_F4, Qt::AltModifier)), (KeyStroke{Accelerator::kF4, Accelerator::kAlt}));
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_F1, Qt::NoModifier)), (KeyStroke{Accelerator::kF1, Accelerator::kNone}));
}

TEST(KeyMapping, AGermanLayoutGivesItsOwnLetters)
{
    // The key right of T on a German keyboard is Z (Y on a US one); Qt reports Z.
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_Z, Qt::NoModifier, "z", 29)), (KeyStroke{'Z', Accelerator::kNone}));
    // Umlauts are no letters of the table.
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_Adiaeresis, Qt::NoModifier, QString::fromUtf8("ä"), 48)));
}

TEST(KeyMapping, ANonLatinLayoutGivesTheLetterOfTheKeysPosition)
{
    // Russian layout: the key of P (X keycode 33) writes з; the key of G (42) writes п.
    EXPECT_EQ(keyStrokeOf(keyEvent(0x0417, Qt::NoModifier, QString::fromUtf8("з"), 33)),
              (KeyStroke{'P', Accelerator::kNone}));
    EXPECT_EQ(keyStrokeOf(keyEvent(0x041F, Qt::ShiftModifier, QString::fromUtf8("П"), 42)),
              (KeyStroke{'G', Accelerator::kShift}));
    // Greek layout, key of S (39).
    EXPECT_EQ(keyStrokeOf(keyEvent(0x03A3, Qt::AltModifier, QString::fromUtf8("σ"), 39)),
              (KeyStroke{'S', Accelerator::kAlt}));
    // Without a keycode (a synthesised event) there is no position to go by.
    EXPECT_FALSE(keyStrokeOf(keyEvent(0x0417, Qt::NoModifier, QString::fromUtf8("з"), 0)));
}

// The digit row by its place: Shift+1 writes "!" on a US keyboard, the
// unshifted keys of a French one write "&", "é", ...; the keypad is no digit row.
TEST(KeyMapping, TheDigitRowsKeysAreTheirDigitsWhateverTheLayoutWrites)
{
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_Exclam, Qt::ShiftModifier, "!", 10)), (KeyStroke{'1', Accelerator::kShift}));
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_Ampersand, Qt::NoModifier, "&", 10)), (KeyStroke{'1', Accelerator::kNone}));
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_0, Qt::NoModifier, "0", 19)), (KeyStroke{'0', Accelerator::kNone}));
    // Without a keycode (a synthesised event) the digit is all there is.
    EXPECT_EQ(keyStrokeOf(keyEvent(Qt::Key_3, Qt::ShiftModifier, "3", 0)), (KeyStroke{'3', Accelerator::kShift}));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_Exclam, Qt::ShiftModifier, "!", 0)));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_1, Qt::KeypadModifier, "1", 87)));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_1, Qt::KeypadModifier, "1", 0)));
}

TEST(KeyMapping, OtherKeysAndTheSuperKeyHaveNoStroke)
{
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_P, Qt::MetaModifier)));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_Tab, Qt::NoModifier)));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_Return, Qt::NoModifier)));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_Escape, Qt::NoModifier)));
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_5, Qt::KeypadModifier, "5", 84)));  // the keypad's 5
    EXPECT_FALSE(keyStrokeOf(keyEvent(Qt::Key_Shift, Qt::ShiftModifier)));
}

TEST(KeyMapping, ShortcutTextsOfBothLanguagesNameTheirKeys)
{
    EXPECT_EQ(keySequenceOfShortcutText("Strg+O"), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(keySequenceOfShortcutText("Ctrl+O"), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(keySequenceOfShortcutText("Umsch+P"), QKeySequence(Qt::SHIFT | Qt::Key_P));
    EXPECT_EQ(keySequenceOfShortcutText("Shift+P"), QKeySequence(Qt::SHIFT | Qt::Key_P));
    EXPECT_EQ(keySequenceOfShortcutText("Alt+F4"), QKeySequence(Qt::ALT | Qt::Key_F4));
    EXPECT_EQ(keySequenceOfShortcutText("Leer"), QKeySequence(Qt::Key_Space));
    EXPECT_EQ(keySequenceOfShortcutText("Space"), QKeySequence(Qt::Key_Space));
    EXPECT_EQ(keySequenceOfShortcutText("F1"), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(keySequenceOfShortcutText("N"), QKeySequence(Qt::Key_N));
    EXPECT_EQ(keySequenceOfShortcutText("Umsch+6"), QKeySequence(Qt::SHIFT | Qt::Key_6));
}

TEST(KeyMapping, UnknownShortcutTextsNameNoKey)
{
    for (const char* text : {"", "Strg", "Strg+", "Hyper+P", "P+Strg", "F0", "F25", "Fx", "F123", "ö", "p", "O+P"})
        EXPECT_TRUE(keySequenceOfShortcutText(text).isEmpty()) << text;
}

}  // namespace
}  // namespace korvin
