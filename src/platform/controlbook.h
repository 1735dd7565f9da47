// SPDX-License-Identifier: MIT
// The state of the window's controls and menu entries kept as plain values, for platforms without widgets.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/ids.h"

namespace pelorix {

// What a platform that draws no controls (the test platform, the screen saver) remembers of each
// control and menu entry, so that what the game sets reads back the same. Starts as the design
// says: each control at its design left edge, text boxes holding their first text, menu entries
// visible, enabled and checked as designed.
class ControlBook {
public:
    struct ControlState {
        bool visible = false;
        int left = 0;  // twips
        std::string text;
        int check = 0;
        std::vector<std::string> entries;  // a file list's names
        int index = -1;                    // a file list's selection; -1 for none
    };
    struct MenuState {
        bool visible = true, enabled = true, checked = false;
    };

    ControlBook();

    ControlState& operator[](Control c) { return controls_[static_cast<std::size_t>(c)]; }
    const ControlState& operator[](Control c) const { return controls_[static_cast<std::size_t>(c)]; }
    MenuState& operator[](Menu m) { return menus_[static_cast<std::size_t>(m)]; }
    const MenuState& operator[](Menu m) const { return menus_[static_cast<std::size_t>(m)]; }

private:
    std::array<ControlState, controlCount> controls_{};
    std::array<MenuState, menuCount> menus_{};
};

}  // namespace pelorix
