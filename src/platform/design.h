// SPDX-License-Identifier: MIT
// The window's design: every control and menu entry with its caption, first value, layout and colours.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ids.h"

namespace pelorix {

enum class ControlKind : std::uint8_t { Window, Label, TextBox, FileList, Button, CheckBox, PictureBox };

struct Rgb {
    std::uint8_t r, g, b;
};

struct ControlDesign {
    Control control;
    ControlKind kind;
    std::string_view name;
    std::string_view caption;  // label, button and check box caption, or a text box's first text
    int left, top, width, height;  // twips (15 to the pixel) from the client area's top-left
    int maxLength;                 // typed-character limit of a text box; 0 = none
    std::optional<Rgb> colour;     // text colour
    std::string_view pattern;      // file list pattern, e.g. "*.regular_picture"
};

struct MenuDesign {
    Menu entry;
    std::string_view name;
    std::string_view caption;
    std::optional<Menu> parent;  // empty: on the menu bar
    bool visible;
    bool enabled;
    bool checked;
};

inline constexpr int twipsPerPixel = 15;
inline constexpr std::string_view windowTitle = "Pelorix";
inline constexpr std::string_view launchCaption = "Pelorix - (Click to begin)";
// Colour 0xRRGGBB of the client area where nothing has been drawn yet.
inline constexpr unsigned undrawnColour = 0xF0F0F0;
// Client area at launch, in pixels.
inline constexpr int launchClientWidth = 754;
inline constexpr int launchClientHeight = 385;
// Timer intervals at launch, in milliseconds.
inline constexpr int timer1LaunchInterval = 10000;
inline constexpr int timer2LaunchInterval = 0;

const ControlDesign& design(Control control);
const MenuDesign& design(Menu entry);
// All controls but Form, in tab order.
const std::array<Control, controlCount - 1>& tabOrder();

}  // namespace pelorix
