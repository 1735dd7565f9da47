// What an open option panel saved, to put back when it closes.
#pragma once

#include <string>

namespace pelorix {

struct PanelFields {
    int savedstate = 0;        // puzzlestate when a picture or timing panel opened
    int savedtype = 0;         // chosentype when a picture panel opened
    std::string savedwidth;    // Text1 when a picture panel opened
    std::string savedheight;   // Text2 when a picture panel opened
};

}  // namespace pelorix
