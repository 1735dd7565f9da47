// SPDX-License-Identifier: MIT
// The one move step shared by the mouse, the keys and the computer, and the history rule.
#include "game/puzzlemaker2.h"

namespace pelorix {

namespace {

// The home cell of piece p: the grid cell whose `homeboard` entry is p. Tries the cell that the
// piece numbering gives first, then scans the grid in reading order. False when no cell holds p.
bool homecell(const PuzzleState& s, int p, int& hc, int& hr) {
    const int w = s.puzzlewidth;
    const int h = s.puzzleheight;
    if (w < 1 || h < 1 || w > maxGrid || h > maxGrid) return false;
    if (p >= 1 && p <= w * h) {
        const int c = (p - 1) % w + 1;
        const int r = (p - 1) / w + 1;
        if (s.homeboard[c][r] == p) {
            hc = c;
            hr = r;
            return true;
        }
    }
    for (int r = 1; r <= h; ++r) {
        for (int c = 1; c <= w; ++c) {
            if (s.homeboard[c][r] == p) {
                hc = c;
                hr = r;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int puzzlemaker2::shiftpiece(int sc, int sr) {
    PuzzleState& s = puzzle;
    const int dc = s.holex;
    const int dr = s.holey;
    s.holex = sc;
    s.holey = sr;
    const int p = s.board[sc][sr];
    s.board[dc][dr] = p;
    if (s.homeboard[sc][sr] == p) --s.placedcount;  // the piece leaves its home
    if (s.homeboard[dc][dr] == p) ++s.placedcount;  // the piece arrives home
    s.board[sc][sr] = 0;
    return p;
}

void puzzlemaker2::redrawmove(int sc, int sr, int dc, int dr, int p) {
    const PuzzleState& s = puzzle;
    const int pw = s.piecewidth;
    const int ph = s.pieceheight;

    // Clear the vacated cell over its full box, grid-line strip included.
    platform_.fillBox(cellx(sc) - 1, celly(sr) - 1, cellx(sc) + pw - 2, celly(sr) + ph - 2, s.colour);

    int hc = 0;
    int hr = 0;
    if (!homecell(s, p, hc, hr)) return;  // no piece to draw (not reached by a legal move)

    const int x = cellx(dc);
    const int y = celly(dr);
    if (s.animated != puzzletype::animated) {
        // A picture smaller than the grid leaves the cell as it was where the picture ends.
        static_cast<void>(platform_.copyPicture(PictureId::Window, x, y, pw - 1, ph - 1, cellx(hc), celly(hr)));
        return;
    }
    platform_.fillBox(x, y, x + pw - 2, y + ph - 2, s.colour2);
    if (framespan().contains(hc, hr)) {
        // A failed copy is ignored: the piece keeps the colour2 fill.
        static_cast<void>(platform_.copyPicture(PictureId::Picture1, x, y, pw - 1, ph - 1, cellx(hc) - s.frameleft,
                                                celly(hr) - s.frametop));
    }
}

void puzzlemaker2::slidepiece(int sc, int sr, int d) {
    const int dc = puzzle.holex;
    const int dr = puzzle.holey;
    const int p = shiftpiece(sc, sr);
    redrawmove(sc, sr, dc, dr, p);
    if (puzzle.computermove == flag::off) recordmove(d);
}

void puzzlemaker2::recordmove(int d) {
    if (d < dir::right || d > dir::up) return;  // only direction codes are recorded
    PuzzleState& s = puzzle;
    if (s.usermovetop == 0 && s.solvestack[s.solvetop] == d) {
        // The move retraces the most recent scrambling move.
        s.solvestack.set(s.solvetop, 0);
        --s.solvetop;
    } else if (s.usermovetop != 0 && s.usermoves[s.usermovetop] == d) {
        // The move takes back the player's previous move.
        s.usermoves.set(s.usermovetop, 0);
        --s.usermovetop;
    } else {
        ++s.usermovetop;
        s.usermoves.set(s.usermovetop, undocode(d));
    }
}

}  // namespace pelorix
