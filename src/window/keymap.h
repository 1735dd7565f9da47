// SPDX-License-Identifier: MIT
// Qt keys mapped onto the common virtual-key numbering the game's key handlers receive.
#pragma once

#include <Qt>

class QKeyEvent;

namespace pelorix::qt {

// Virtual-key codes of the keys the game does not act on, by name. The ones it acts on (Enter,
// Escape, the arrows, B) are in platform/ids.h.
namespace vk {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Clear = 12;  // keypad 5 with Num Lock off
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Pause = 19;
inline constexpr int CapsLock = 20;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Print = 44;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48;   // 0-9: 48-57
inline constexpr int LetterA = 65;  // A-Z: 65-90, either case
inline constexpr int Super = 91;    // the system key left of the space bar
inline constexpr int Menu = 93;     // the context-menu key
inline constexpr int Keypad0 = 96;  // keypad 0-9 with Num Lock on: 96-105
inline constexpr int KeypadMultiply = 106;
inline constexpr int KeypadAdd = 107;
inline constexpr int KeypadSubtract = 109;
inline constexpr int KeypadDecimal = 110;
inline constexpr int KeypadDivide = 111;
inline constexpr int F1 = 112;  // F1-F24: 112-135
inline constexpr int NumLock = 144;
inline constexpr int ScrollLock = 145;
// Punctuation keys of a US keyboard, named by their unshifted symbol; the shifted symbol of the
// same key gives the same code.
inline constexpr int Semicolon = 186;     // ; :
inline constexpr int Equals = 187;        // = +
inline constexpr int Comma = 188;         // , <
inline constexpr int Minus = 189;         // - _
inline constexpr int Period = 190;        // . >
inline constexpr int Slash = 191;         // / ?
inline constexpr int Grave = 192;         // ` ~
inline constexpr int BracketLeft = 219;   // [ {
inline constexpr int Backslash = 220;     // \ |
inline constexpr int BracketRight = 221;  // ] }
inline constexpr int Apostrophe = 222;    // ' "
// Any other key (a letter of another alphabet, a media key): it has no code of its own, yet it
// still counts as a key press.
inline constexpr int Other = 255;
}  // namespace vk

// The virtual-key code of a key event; every key gets one, `vk::Other` when it has none of its own.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKey(const QKeyEvent& event);
// Shift state bits: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);

}  // namespace pelorix::qt
