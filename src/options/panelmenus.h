// SPDX-License-Identifier: MIT
// The menu entries every option panel disables while it is open.
#pragma once

#include "options/roles.h"
#include "platform/platform.h"

namespace pelorix {

// `puzzle7` and `soptions` hold every entry that opens a panel or builds a puzzle; keeping them
// disabled while a panel is open means at most one panel is open at a time.
inline void setpanelmenus(Platform& platform, bool enabled) {
    platform.setMenuEnabled(role::solvingmenu, enabled);
    platform.setMenuEnabled(role::puzzlemenu, enabled);
}

}  // namespace pelorix
