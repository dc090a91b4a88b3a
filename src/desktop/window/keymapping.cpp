// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/keymapping.h"

#include <QKeyEvent>

#include <array>

namespace korvin {

namespace {

// X keycodes (evdev code + 8) of the letter keys of a US keyboard, A to Z.
constexpr std::array<quint32, 26> kLetterKeycodes = {
    38, 56, 54, 40, 26, 41, 42, 43, 31, 44, 45, 46, 58,  // A B C D E F G H I J K L M
    57, 32, 33, 24, 27, 39, 28, 30, 55, 25, 53, 29, 52,  // N O P Q R S T U V W X Y Z
};

// X keycodes of the digit row, 1 to 9 and then 0.
constexpr quint32 kFirstDigitKeycode = 10;
constexpr quint32 kLastDigitKeycode = 19;

std::optional<int> digitAtKeycode(quint32 keycode)
{
    if (keycode < kFirstDigitKeycode || keycode > kLastDigitKeycode)
        return std::nullopt;
    return keycode == kLastDigitKeycode ? '0' : '1' + static_cast<int>(keycode - kFirstDigitKeycode);
}

std::optional<int> letterAtKeycode(quint32 keycode)
{
    for (std::size_t i = 0; i < kLetterKeycodes.size(); ++i)
        if (kLetterKeycodes[i] == keycode)
            return 'A' + static_cast<int>(i);
    return std::nullopt;
}

// A key of a layout whose letters are not Latin: Qt reports such keys by their
// Unicode character; the function and modifier keys lie above Unicode.
bool isNonLatinCharacterKey(int key)
{
    return key > 0xff && key < Qt::Key_Escape;
}

std::optional<int> keyCodeOf(int key, quint32 nativeKeycode, bool keypad)
{
    // A digit is its key's place: Shift+1 writes "!" on one layout and "1" on
    // another (and Qt reports what is written), but the key is the same.
    if (const std::optional<int> digit = digitAtKeycode(nativeKeycode))
        return digit;
    // Without a keycode (a synthesised event) the key is all there is; the
    // keypad's digits are not the digit row.
    if (nativeKeycode == 0 && !keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key == Qt::Key_Space)
        return Accelerator::kSpace;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return Accelerator::kF1 + (key - Qt::Key_F1);
    if (isNonLatinCharacterKey(key))
        return letterAtKeycode(nativeKeycode);
    return std::nullopt;
}

// 1..24 for "F1".."F24", 0 for anything else.
int functionKeyNumber(std::string_view part)
{
    if (part.size() < 2 || part.size() > 3 || part[0] != 'F')
        return 0;
    int number = 0;
    for (char c : part.substr(1)) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    return number <= 24 ? number : 0;
}

}  // namespace

std::optional<KeyStroke> keyStrokeOf(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::MetaModifier)
        return std::nullopt;
    const std::optional<int> key =
        keyCodeOf(event.key(), event.nativeScanCode(), modifiers.testFlag(Qt::KeypadModifier));
    if (!key)
        return std::nullopt;
    KeyStroke stroke;
    stroke.key = *key;
    if (modifiers & Qt::ShiftModifier)
        stroke.modifiers |= Accelerator::kShift;
    if (modifiers & Qt::ControlModifier)
        stroke.modifiers |= Accelerator::kCtrl;
    if (modifiers & Qt::AltModifier)
        stroke.modifiers |= Accelerator::kAlt;
    return stroke;
}

QKeySequence keySequenceOfShortcutText(std::string_view text)
{
    if (text.empty())
        return {};
    Qt::KeyboardModifiers modifiers;
    std::optional<Qt::Key> key;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('+', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view part = text.substr(start, end - start);
        start = end + 1;
        if (key)
            return {};  // a key must come last
        if (part == "Strg" || part == "Ctrl")
            modifiers |= Qt::ControlModifier;
        else if (part == "Umsch" || part == "Shift")
            modifiers |= Qt::ShiftModifier;
        else if (part == "Alt")
            modifiers |= Qt::AltModifier;
        else if (part == "Leer" || part == "Space")
            key = Qt::Key_Space;
        else if (part.size() == 1 && part[0] >= 'A' && part[0] <= 'Z')
            key = static_cast<Qt::Key>(Qt::Key_A + (part[0] - 'A'));
        else if (part.size() == 1 && part[0] >= '0' && part[0] <= '9')
            key = static_cast<Qt::Key>(Qt::Key_0 + (part[0] - '0'));
        else if (const int number = functionKeyNumber(part); number > 0)
            key = static_cast<Qt::Key>(Qt::Key_F1 + number - 1);
        else
            return {};
    }
    if (!key)
        return {};
    return QKeySequence(QKeyCombination(modifiers, *key));
}

}  // namespace korvin
