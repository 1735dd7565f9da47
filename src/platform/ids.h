// SPDX-License-Identifier: MIT
// Names of the window's controls, menu entries, timers and pictures, and the events the window delivers.
#pragma once

#include <cstdint>

namespace pelorix {

// Every control of the window by its design name. `Form` stands for the window itself (the board).
enum class Control : std::uint8_t {
    Form,
    Label1, Label2, Label4, Label5, Label6, Label8,
    Text1, Text2, Text3, Text4, Text5,
    File1, File2,
    Command1, Command2, Command3,
    Check1,
    Picture1,
};
inline constexpr int controlCount = static_cast<int>(Control::Picture1) + 1;

// Every menu entry by its design name, in menu order.
enum class Menu : std::uint8_t {
    options, puzzle7, newpuzzle, prandom, pnrandom, choosepicture, choosepicture2,
    anispeed, tslow, tfast,
    soptions, usolve, csolve, csolves, ctime, cpiece, cpicture,
    quit,
    instructions, dfdf, hgh,
    fdgff, fdfgfg, fddd, dfgfgfg, dgdffgfg,
};
inline constexpr int menuCount = static_cast<int>(Menu::dgdffgfg) + 1;

enum class TimerId : std::uint8_t { Timer1, Timer2 };

// The two pictures the game copies from: the window's background picture and Picture1's picture.
enum class PictureId : std::uint8_t { Window, Picture1 };

// Key codes in the common virtual-key numbering that the game looks at.
namespace keys {
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int B = 66;
}  // namespace keys

enum class EventKind : std::uint8_t {
    MouseDown,   // on the board: button, shift, x, y in client pixels
    KeyDown,     // control Form (the board) or a text box: key, shift
    KeyUp,       // a text box: key, shift
    TextChange,  // a text box's text changed
    Click,       // a button or a file-list entry was clicked
    MenuClick,   // a menu entry was chosen
    TimerTick,   // a timer's interval has run out
    Unload,      // the window is being closed
};

struct Event {
    EventKind kind = EventKind::Click;
    Control control = Control::Form;
    Menu menu = Menu::options;
    TimerId timer = TimerId::Timer1;
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;
    int key = 0;
    float x = 0;
    float y = 0;
};

}  // namespace pelorix
