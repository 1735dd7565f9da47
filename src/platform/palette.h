// SPDX-License-Identifier: MIT
// The 16-colour palette that every colour index of the game names.
#pragma once

#include <array>
#include <cstdint>

namespace pelorix {

// 0xRRGGBB for indices 0-15.
inline constexpr std::array<std::uint32_t, 16> palette{
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

inline constexpr bool isColourIndex(int index) { return index >= 0 && index < 16; }

}  // namespace pelorix
