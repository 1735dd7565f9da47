// SPDX-License-Identifier: MIT
// Qt keys mapped onto virtual-key codes: named keys, digits and letters, keypad, punctuation.
#include "window/keymap.h"

#include <QKeyEvent>

#include "platform/ids.h"

namespace pelorix::qt {

namespace {

struct KeyCode {
    int qtKey;
    int code;
};

// Keys with a code of their own, wherever they are.
constexpr KeyCode named[] = {
    {Qt::Key_Return, keys::Enter}, {Qt::Key_Enter, keys::Enter}, {Qt::Key_Escape, keys::Escape},
    // Keypad 4/8/6/2 with Num Lock off arrive as arrows with the keypad modifier.
    {Qt::Key_Left, keys::Left}, {Qt::Key_Up, keys::Up}, {Qt::Key_Right, keys::Right}, {Qt::Key_Down, keys::Down},
    {Qt::Key_Backspace, vk::Backspace}, {Qt::Key_Tab, vk::Tab}, {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Clear, vk::Clear}, {Qt::Key_Shift, vk::Shift}, {Qt::Key_Control, vk::Control},
    {Qt::Key_Alt, vk::Alt}, {Qt::Key_AltGr, vk::Alt}, {Qt::Key_Pause, vk::Pause}, {Qt::Key_CapsLock, vk::CapsLock},
    {Qt::Key_Space, vk::Space}, {Qt::Key_PageUp, vk::PageUp}, {Qt::Key_PageDown, vk::PageDown},
    {Qt::Key_End, vk::End}, {Qt::Key_Home, vk::Home}, {Qt::Key_Print, vk::Print}, {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete}, {Qt::Key_Meta, vk::Super}, {Qt::Key_Super_L, vk::Super},
    {Qt::Key_Super_R, vk::Super}, {Qt::Key_Menu, vk::Menu}, {Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, vk::ScrollLock},
};

// The operator keys of the keypad; the same symbols elsewhere are punctuation.
constexpr KeyCode keypad[] = {
    {Qt::Key_Asterisk, vk::KeypadMultiply}, {Qt::Key_Plus, vk::KeypadAdd}, {Qt::Key_Minus, vk::KeypadSubtract},
    {Qt::Key_Period, vk::KeypadDecimal}, {Qt::Key_Comma, vk::KeypadDecimal}, {Qt::Key_Slash, vk::KeypadDivide},
};

// Punctuation, and the shifted digits, by the key that types them on a US keyboard: Qt reports
// the symbol typed, the game wants the key.
constexpr KeyCode symbols[] = {
    {Qt::Key_Semicolon, vk::Semicolon}, {Qt::Key_Colon, vk::Semicolon},
    {Qt::Key_Equal, vk::Equals}, {Qt::Key_Plus, vk::Equals},
    {Qt::Key_Comma, vk::Comma}, {Qt::Key_Less, vk::Comma},
    {Qt::Key_Minus, vk::Minus}, {Qt::Key_Underscore, vk::Minus},
    {Qt::Key_Period, vk::Period}, {Qt::Key_Greater, vk::Period},
    {Qt::Key_Slash, vk::Slash}, {Qt::Key_Question, vk::Slash},
    {Qt::Key_QuoteLeft, vk::Grave}, {Qt::Key_AsciiTilde, vk::Grave},
    {Qt::Key_BracketLeft, vk::BracketLeft}, {Qt::Key_BraceLeft, vk::BracketLeft},
    {Qt::Key_Backslash, vk::Backslash}, {Qt::Key_Bar, vk::Backslash},
    {Qt::Key_BracketRight, vk::BracketRight}, {Qt::Key_BraceRight, vk::BracketRight},
    {Qt::Key_Apostrophe, vk::Apostrophe}, {Qt::Key_QuoteDbl, vk::Apostrophe},
    {Qt::Key_ParenRight, vk::Digit0}, {Qt::Key_Exclam, vk::Digit0 + 1}, {Qt::Key_At, vk::Digit0 + 2},
    {Qt::Key_NumberSign, vk::Digit0 + 3}, {Qt::Key_Dollar, vk::Digit0 + 4}, {Qt::Key_Percent, vk::Digit0 + 5},
    {Qt::Key_AsciiCircum, vk::Digit0 + 6}, {Qt::Key_Ampersand, vk::Digit0 + 7},
    {Qt::Key_Asterisk, vk::Digit0 + 8}, {Qt::Key_ParenLeft, vk::Digit0 + 9},
};

template <std::size_t N>
int lookUp(const KeyCode (&table)[N], int key) {
    for (const KeyCode& k : table)
        if (k.qtKey == key) return k.code;
    return 0;
}

}  // namespace

int virtualKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool onKeypad = modifiers.testFlag(Qt::KeypadModifier);
    // Qt reports letters upper case either way.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return vk::LetterA + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return (onKeypad ? vk::Keypad0 : vk::Digit0) + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::F1 + (key - Qt::Key_F1);
    if (const int code = lookUp(named, key)) return code;
    if (onKeypad)
        if (const int code = lookUp(keypad, key)) return code;
    if (const int code = lookUp(symbols, key)) return code;
    return vk::Other;
}

int virtualKey(const QKeyEvent& event) { return virtualKey(event.key(), event.modifiers()); }

int shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) shift |= 1;
    if (modifiers.testFlag(Qt::ControlModifier)) shift |= 2;
    if (modifiers.testFlag(Qt::AltModifier)) shift |= 4;
    return shift;
}

}  // namespace pelorix::qt
