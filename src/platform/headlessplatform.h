// SPDX-License-Identifier: MIT
// The controls and menu entries of a platform that shows none: kept as plain values, read back as set.
#pragma once

#include <cstddef>
#include <string>

#include "platform/controlbook.h"
#include "platform/platform.h"

namespace pelorix {

// The part of the platform interface that a platform without widgets (the test platform, the
// screen saver) answers from a `ControlBook`: what the game sets on a control or menu entry reads
// back unchanged, and nothing is shown. A derived platform fills the lists (`refreshList`) and may
// do more on a change of text or focus by overriding those two.
class HeadlessPlatform : public Platform {
public:
    void setVisible(Control control, bool visible) override { book_[control].visible = visible; }
    bool visible(Control control) const override { return book_[control].visible; }
    void setLeft(Control control, int twips) override { book_[control].left = twips; }
    int left(Control control) const override { return book_[control].left; }
    std::string text(Control control) const override { return book_[control].text; }
    void setText(Control control, const std::string& text) override { book_[control].text = text; }
    int checkValue(Control control) const override { return book_[control].check; }
    void setCheckValue(Control control, int value) override { book_[control].check = value; }
    // No control takes the keys where nothing is shown.
    void setFocus(Control) override {}
    int listCount(Control list) const override { return static_cast<int>(book_[list].entries.size()); }
    // The name at `index` of the list as last filled; empty outside it.
    std::string listEntry(Control list, int index) const override {
        const auto& entries = book_[list].entries;
        return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(index)]
                                                                       : std::string();
    }
    int listIndex(Control list) const override { return book_[list].index; }
    void setMenuVisible(Menu entry, bool visible) override { book_[entry].visible = visible; }
    bool menuVisible(Menu entry) const override { return book_[entry].visible; }
    void setMenuEnabled(Menu entry, bool enabled) override { book_[entry].enabled = enabled; }
    bool menuEnabled(Menu entry) const override { return book_[entry].enabled; }
    void setMenuChecked(Menu entry, bool checked) override { book_[entry].checked = checked; }
    bool menuChecked(Menu entry) const override { return book_[entry].checked; }

protected:
    ControlBook::ControlState& state(Control control) { return book_[control]; }
    const ControlBook::ControlState& state(Control control) const { return book_[control]; }

private:
    ControlBook book_;
};

}  // namespace pelorix
