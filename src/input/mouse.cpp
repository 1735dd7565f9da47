// The mouse handler and the hit test.
#include "game/puzzlemaker2.h"

namespace pelorix {

bool puzzlemaker2::hittest(float x, float y, int& column, int& row) const {
    const double px = x;
    const double py = y;
    const double pw = puzzle.piecewidth;
    const double ph = puzzle.pieceheight;
    // Cells in reading order; the first one whose strict bounds hold wins.
    for (int r = 1; r <= puzzle.puzzleheight; ++r) {
        const double cy = celly(r);
        if (!(cy - ph < py && py < cy + ph)) continue;
        for (int c = 1; c <= puzzle.puzzlewidth; ++c) {
            const double cx = cellx(c);
            if (cx - pw < px && px < cx + pw) {
                column = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void puzzlemaker2::Form_MouseDown(int button, int /*shift*/, float x, float y) {
    if (loop.inputlock != 0) return;     // the turn of this pass is used up
    if (puzzle.anipaused == 1) return;   // paused: ignored, the turn stays open
    const bool left = button == 1;
    if (left && loop.started == 0) {
        // The first click ends the title puzzle; the loop opens the set-up screen.
        loop.puzzlestate = 3;
        loop.phase = 5;
        loop.started = 5;
        return;
    }
    if (left && loop.puzzlestate == 3 && loop.solvemode == 0) {
        int c = 0;
        int r = 0;
        if (hittest(x, y, c, r) && !(c == puzzle.holex && r == puzzle.holey)) {
            puzzle.movedir = 0;
            if (puzzle.holex == c - 1 && puzzle.holey == r) {
                puzzle.movedir = dir::left;
            } else if (puzzle.holex == c + 1 && puzzle.holey == r) {
                puzzle.movedir = dir::right;
            } else if (puzzle.holex == c && puzzle.holey == r - 1) {
                puzzle.movedir = dir::up;
            } else if (puzzle.holex == c && puzzle.holey == r + 1) {
                puzzle.movedir = dir::down;
            }
            if (puzzle.movedir != 0) {
                puzzle.computermove = 0;
                slidepiece(c, r, puzzle.movedir);
            }
        }
    }
    if (left && loop.puzzlestate == 4) loop.puzzlestate = 3;  // ends the finished display
    loop.inputlock = 1;
}

}  // namespace pelorix
