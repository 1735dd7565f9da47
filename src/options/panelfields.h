// SPDX-License-Identifier: MIT
// What an open option panel saved, to put back when it closes.
#pragma once

#include <string>

#include "game/loopfields.h"
#include "puzzle/puzzlestate.h"

namespace pelorix {

struct PanelFields {
    int savedstate = gamestate::setupscreen;  // puzzlestate when a picture or timing panel opened
    int savedtype = puzzletype::regular;      // chosentype when a picture panel opened
    std::string savedwidth;    // Text1 when a picture panel opened
    std::string savedheight;   // Text2 when a picture panel opened
};

}  // namespace pelorix
