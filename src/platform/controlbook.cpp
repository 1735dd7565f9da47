// SPDX-License-Identifier: MIT
// The controls' and menu entries' plain state, first filled from the window's design.
#include "platform/controlbook.h"

#include "platform/design.h"

namespace pelorix {

ControlBook::ControlBook() {
    for (int i = 0; i < controlCount; ++i) {
        const auto control = static_cast<Control>(i);
        const ControlDesign& d = design(control);
        (*this)[control].left = d.left;
        if (d.kind == ControlKind::TextBox) (*this)[control].text = std::string(d.caption);
    }
    for (int i = 0; i < menuCount; ++i) {
        const auto entry = static_cast<Menu>(i);
        const MenuDesign& d = design(entry);
        (*this)[entry] = {d.visible, d.enabled, d.checked};
    }
}

}  // namespace pelorix
