// SPDX-License-Identifier: MIT
// Settling the next puzzle's type, picture and grid size from the option controls.
#include <cmath>

#include "game/puzzlemaker2.h"
#include "options/numbers.h"
#include "puzzle/construction.h"

namespace pelorix {

namespace {
// Draws entry floor(random × count) of a list. An empty list gives nothing: the previous
// picture and names then stay.
bool drawentry(puzzlemaker2& w, Control list, std::string& entry) {
    Platform& p = w.platform();
    const int count = p.listCount(list);
    if (count <= 0) return false;
    const int i = static_cast<int>(p.random() * count);
    entry = p.listEntry(list, i);
    return true;
}

void showanispeed(puzzlemaker2& w) {
    w.platform().setMenuEnabled(role::animationspeedmenu, w.puzzle.animated == puzzletype::animated);
}
}  // namespace

void choosetypeandpicture(puzzlemaker2& w) {
    Platform& p = w.platform();
    PuzzleState& s = w.puzzle;
    // 1 random pictures, 0 the chosen one; any other value selects neither.
    const int random = p.checkValue(role::randomcheck);
    const bool randompictures = random == flag::on, chosenpicture = random == flag::off;

    if (randompictures && s.typedrawn == flag::off) {
        // 1 regular, 2 animated; a type whose list is empty is not drawn.
        int k = static_cast<int>(p.random() * 2) + 1;
        const bool noregular = p.listCount(role::regularlist) == 0;
        const bool noanimated = p.listCount(role::animatedlist) == 0;
        if (noregular) k = 2;
        if (noanimated) k = 1;
        if (k == 1 && !noregular) s.animated = puzzletype::regular;
        if (k == 2 && !noanimated) s.animated = puzzletype::animated;
        showanispeed(w);
    }
    s.typedrawn = flag::on;

    std::string entry;
    if (randompictures && s.animated != puzzletype::animated) {
        if (drawentry(w, role::regularlist, entry)) {
            s.picturefile = entry;
            // A picture that cannot be loaded leaves the previous one, which the puzzle then uses.
            static_cast<void>(p.loadPicture(s.picturefile));
            s.picturename = picturenameof(s.picturefile);
        }
    }
    if (randompictures && s.animated == puzzletype::animated) {
        // The moving picture is always the built-in one; the file only names the colour files.
        if (drawentry(w, role::animatedlist, entry)) {
            s.picturefile = entry;
            s.picturename = picturenameof(s.picturefile);
        }
    }
    if (chosenpicture) {
        if (s.chosentype == puzzletype::regular || s.chosentype == puzzletype::animated) s.animated = s.chosentype;
        showanispeed(w);
        const std::string chosen = p.text(role::chosenbox);
        // As above, a picture that cannot be loaded leaves the previous one.
        if (s.animated == puzzletype::regular) static_cast<void>(p.loadPicture(chosen));
        s.picturefile = chosen;
        s.picturename = picturenameof(s.picturefile);
    }

    p.setCaption(s.animated == puzzletype::animated ? "Pelorix-(Creating new animated puzzle)"
                                                     : "Pelorix-(Creating new regular puzzle)");
    showanispeed(w);
    if (s.animated == puzzletype::animated) p.maximize();
    s.colour = s.dcolour;
    s.colour2 = s.dcolour2;
}

namespace {
int gridsizefrom(Platform& p, Control box) {
    double value = textvalue(p.text(box));
    if (!(value >= minGrid)) value = minGrid;  // also a text that is no number
    if (value > maxGrid) value = maxGrid;
    const int size = static_cast<int>(std::nearbyint(value));
    p.setText(box, numbertext(size));
    return size;
}
}  // namespace

void readgridsize(puzzlemaker2& w) {
    w.puzzle.puzzlewidth = gridsizefrom(w.platform(), role::widthbox);
    w.puzzle.puzzleheight = gridsizefrom(w.platform(), role::heightbox);
}

}  // namespace pelorix
