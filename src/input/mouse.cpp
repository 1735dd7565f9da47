// SPDX-License-Identifier: MIT
// The mouse handler and the hit test.
#include "game/puzzlemaker2.h"

namespace pelorix {

namespace {
constexpr int leftbutton = 1;
}  // namespace

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
    if (loop.inputlock != flag::off) return;    // the turn of this pass is used up
    if (puzzle.anipaused == flag::on) return;   // paused: ignored, the turn stays open
    const bool left = button == leftbutton;
    if (left && loop.started == phase::title) {
        // The first click ends the title puzzle; the loop opens the set-up screen.
        loop.puzzlestate = gamestate::inplay;
        loop.phase = phase::titleclicked;
        loop.started = phase::titleclicked;
        return;
    }
    if (left && loop.puzzlestate == gamestate::inplay && loop.solvemode == solver::user) {
        int c = 0;
        int r = 0;
        if (hittest(x, y, c, r) && !(c == puzzle.holex && r == puzzle.holey)) {
            puzzle.movedir = dir::none;
            if (puzzle.holex == c - 1 && puzzle.holey == r) {
                puzzle.movedir = dir::left;
            } else if (puzzle.holex == c + 1 && puzzle.holey == r) {
                puzzle.movedir = dir::right;
            } else if (puzzle.holex == c && puzzle.holey == r - 1) {
                puzzle.movedir = dir::up;
            } else if (puzzle.holex == c && puzzle.holey == r + 1) {
                puzzle.movedir = dir::down;
            }
            if (puzzle.movedir != dir::none) {
                puzzle.computermove = flag::off;
                slidepiece(c, r, puzzle.movedir);
            }
        }
    }
    // Ends the finished display.
    if (left && loop.puzzlestate == gamestate::finished) loop.puzzlestate = gamestate::inplay;
    loop.inputlock = flag::on;
}

}  // namespace pelorix
