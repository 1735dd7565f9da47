// SPDX-License-Identifier: MIT
// Tables of the window's controls and menu tree as the window shows them at launch.
#include "platform/design.h"

namespace pelorix {
namespace {

constexpr Rgb green{0, 255, 0};
constexpr Rgb cyan{0, 255, 255};
constexpr Rgb red{255, 0, 0};
constexpr Rgb magenta{255, 0, 255};
constexpr Rgb blue{0, 0, 255};

using K = ControlKind;
using C = Control;

// Indexed by Control.
constexpr std::array<ControlDesign, controlCount> controls{{
    {C::Form, K::Window, "puzzlemaker2", launchCaption, 0, 0, 11310, 5775, 0, {}, ""},
    {C::Label1, K::Label, "Label1", "Width of puzzle (3-20):", 480, 1680, 1695, 255, 0, green, ""},
    {C::Label2, K::Label, "Label2", "Height of puzzle (3-20):", 480, 2280, 1695, 255, 0, green, ""},
    {C::Label4, K::Label, "Label4",
     "Please enter the time elapsed (in 100ths of a second) before computer moves a new piece:", 0, 240,
     6495, 255, 0, magenta, ""},
    {C::Label5, K::Label, "Label5", "Chosen picture:", 480, 240, 1215, 255, 0, cyan, ""},
    {C::Label6, K::Label, "Label6",
     "Please enter the time elapsed (in 10ths of a second) before the computer loads a new picture:", 0,
     240, 6615, 255, 0, magenta, ""},
    {C::Label8, K::Label, "Label8", "Animation pictures:", 4440, 240, 1335, 255, 0, red, ""},
    {C::Text1, K::TextBox, "Text1", "4", 2160, 1680, 375, 285, 2, {}, ""},
    {C::Text2, K::TextBox, "Text2", "4", 2160, 2280, 375, 285, 2, {}, ""},
    {C::Text3, K::TextBox, "Text3", "", 1680, 240, 1215, 285, 0, {}, ""},
    {C::Text4, K::TextBox, "Text4", "", 6480, 240, 375, 285, 2, {}, ""},
    {C::Text5, K::TextBox, "Text5", "", 6600, 240, 375, 285, 2, {}, ""},
    {C::File1, K::FileList, "File1", "", 2880, 240, 1215, 870, 0, blue, "*.regular_picture"},
    {C::File2, K::FileList, "File2", "", 5760, 240, 1215, 870, 0, blue, "*.animation_picture"},
    {C::Command1, K::Button, "Command1", "Begin", 480, 3000, 1215, 495, 0, {}, ""},
    {C::Command2, K::Button, "Command2", "Done", 4440, 240, 975, 495, 0, {}, ""},
    {C::Command3, K::Button, "Command3", "Cancel", 4440, 1080, 975, 495, 0, {}, ""},
    {C::Check1, K::CheckBox, "Check1", "Picture's are Random (not chosen)", 7440, 240, 1815, 495, 0, blue, ""},
    {C::Picture1, K::PictureBox, "Picture1", "", 8760, 3000, 4035, 3570, 0, {}, ""},
}};

using M = Menu;

// Indexed by Menu; entries appear in their menus in this order.
constexpr std::array<MenuDesign, menuCount> menus{{
    {M::options, "options", "Options", {}, true, true, false},
    {M::puzzle7, "puzzle7", "Puzzle", M::options, false, true, false},
    {M::newpuzzle, "newpuzzle", "New puzzle", M::puzzle7, true, true, false},
    {M::prandom, "prandom", "Pictures are random", M::puzzle7, true, true, false},
    {M::pnrandom, "pnrandom", "Pictures are not random", M::puzzle7, true, true, true},
    {M::choosepicture, "choosepicture", "Choose \"regular\" puzzle picture and size", M::puzzle7, true, true, false},
    {M::choosepicture2, "choosepicture2", "Choose \"animated\" puzzle picture and size", M::puzzle7, true, true,
     false},
    {M::anispeed, "anispeed", "Animated puzzle speed", M::options, true, true, false},
    {M::tslow, "tslow", "Slow", M::anispeed, true, true, false},
    {M::tfast, "tfast", "Fast", M::anispeed, true, true, true},
    {M::soptions, "soptions", "Solving options", M::options, false, true, false},
    {M::usolve, "usolve", "User solves puzzle", M::soptions, true, true, true},
    {M::csolve, "csolve", "Computer solves puzzle (regular mode)-[Press \"b\" for one move]", M::soptions, true,
     true, false},
    {M::csolves, "csolves", "Computer solves puzzle (scr-saver mode)", M::soptions, true, true, false},
    {M::ctime, "ctime", "Computer time", M::soptions, true, true, false},
    {M::cpiece, "cpiece", "Choose time taken to move a piece", M::ctime, true, true, false},
    {M::cpicture, "cpicture", "Choose time taken to load new picture (scr-saver mode)", M::ctime, true, true,
     false},
    {M::quit, "quit", "Quit", M::options, true, true, false},
    {M::instructions, "instructions", "Instructions", {}, false, true, false},
    {M::dfdf, "dfdf", "Moving a piece:", M::instructions, true, true, false},
    {M::hgh, "hgh", "{Click left mouse button on piece}", M::dfdf, true, true, false},
    {M::fdgff, "fdgff", "Key help", {}, false, true, false},
    {M::fdfgfg, "fdfgfg", "Moving a piece:", M::fdgff, true, true, false},
    {M::fddd, "fddd", "{Use the numeric keypad}", M::fdfgfg, true, true, false},
    {M::dfgfgfg, "dfgfgfg", "Toggling animation on or off", M::fdgff, true, false, false},
    {M::dgdffgfg, "dgdffgfg", "{Press enter}", M::dfgfgfg, true, true, false},
}};

constexpr std::array<Control, controlCount - 1> tabs{
    C::Label1, C::Label2, C::Text1, C::Text2, C::File1, C::Check1, C::Label5, C::Text3, C::Text4,
    C::Label4, C::Label6, C::Text5, C::Command1, C::Command2, C::Command3, C::Picture1, C::Label8, C::File2,
};

}  // namespace

const ControlDesign& design(Control control) { return controls[static_cast<int>(control)]; }
const MenuDesign& design(Menu entry) { return menus[static_cast<int>(entry)]; }
const std::array<Control, controlCount - 1>& tabOrder() { return tabs; }

}  // namespace pelorix
