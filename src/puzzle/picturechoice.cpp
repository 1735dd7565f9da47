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

void showanispeed(puzzlemaker2& w) { w.platform().setMenuEnabled(Menu::anispeed, w.puzzle.animated == 1); }
}  // namespace

void choosetypeandpicture(puzzlemaker2& w) {
    Platform& p = w.platform();
    PuzzleState& s = w.puzzle;
    const int random = p.checkValue(Control::Check1);

    if (random == 1 && s.typedrawn == 0) {
        int k = static_cast<int>(p.random() * 2) + 1;
        const bool noregular = p.listCount(Control::File1) == 0;
        const bool noanimated = p.listCount(Control::File2) == 0;
        if (noregular) k = 2;
        if (noanimated) k = 1;
        if (k == 1 && !noregular) s.animated = 0;
        if (k == 2 && !noanimated) s.animated = 1;
        showanispeed(w);
    }
    s.typedrawn = 1;

    std::string entry;
    if (random == 1 && s.animated != 1) {
        if (drawentry(w, Control::File1, entry)) {
            s.picturefile = entry;
            // A picture that cannot be loaded leaves the previous one, which the puzzle then uses.
            p.loadPicture(s.picturefile);
            s.picturename = picturenameof(s.picturefile);
        }
    }
    if (random == 1 && s.animated == 1) {
        // The moving picture is always the built-in one; the file only names the colour files.
        if (drawentry(w, Control::File2, entry)) {
            s.picturefile = entry;
            s.picturename = picturenameof(s.picturefile);
        }
    }
    if (random == 0) {
        if (s.chosentype == 0 || s.chosentype == 1) s.animated = s.chosentype;
        showanispeed(w);
        const std::string chosen = p.text(Control::Text3);
        if (s.animated == 0) p.loadPicture(chosen);
        s.picturefile = chosen;
        s.picturename = picturenameof(s.picturefile);
    }

    p.setCaption(s.animated == 1 ? "Pelorix-(Creating new animated puzzle)" : "Pelorix-(Creating new regular puzzle)");
    showanispeed(w);
    if (s.animated == 1) p.maximize();
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
    w.loop.puzzlestate = 3;
    w.puzzle.puzzlewidth = gridsizefrom(w.platform(), Control::Text1);
    w.puzzle.puzzleheight = gridsizefrom(w.platform(), Control::Text2);
}

}  // namespace pelorix
