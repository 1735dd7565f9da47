// SPDX-License-Identifier: MIT
// The solved layout, the scrambling walk of the hole, and the first drawing of the board.
#include "game/puzzlemaker2.h"
#include "puzzle/construction.h"

namespace pelorix {

void laysolvedboard(PuzzleState& s) {
    for (int r = 1; r <= s.puzzleheight; ++r)
        for (int c = 1; c <= s.puzzlewidth; ++c) s.board[c][r] = s.homeboard[c][r] = (r - 1) * s.puzzlewidth + c;
    s.board[1][1] = 0;
    s.homeboard[1][1] = 1;
    s.holex = 1;
    s.holey = 1;
}

int scramble(PuzzleState& s, Platform& platform) {
    const int pieces = s.puzzlewidth * s.puzzleheight - 1;
    int displaced = 0;
    int m = 0;
    s.movedir = dir::none;
    do {
        s.lastdir = s.movedir;
        Cell from{};
        for (;;) {
            s.movedir = static_cast<int>(platform.random() * 4) + 1;
            // Never step straight back over the previous move.
            if (s.movedir == undocode(s.lastdir)) continue;
            from = piececell(s.movedir, s.holex, s.holey);
            if (from.c >= 1 && from.c <= s.puzzlewidth && from.r >= 1 && from.r <= s.puzzleheight) break;
        }
        const int sc = from.c, sr = from.r;
        const int hc = s.holex, hr = s.holey;
        s.board[hc][hr] = s.board[sc][sr];
        if (s.homeboard[sc][sr] == s.board[sc][sr]) ++displaced;
        if (s.homeboard[hc][hr] == s.board[hc][hr]) --displaced;
        s.holex = sc;
        s.holey = sr;
        s.board[sc][sr] = 0;
        ++m;
        s.solvestack.set(m, undocode(s.movedir));
    } while (!(displaced >= pieces && s.holex == 1 && s.holey == 1));
    s.solvetop = m;
    return m;
}

void drawboard(puzzlemaker2& w) {
    PuzzleState& s = w.puzzle;
    Platform& p = w.platform();
    const int pw = s.piecewidth, ph = s.pieceheight;

    // A regular puzzle's pieces tile the grid from the origin, one unit left of and above the
    // reference points where later moves draw them; the grid lines cover the difference.
    if (s.animated != puzzletype::animated) {
        for (int r = 1; r <= s.puzzleheight; ++r) {
            for (int c = 1; c <= s.puzzlewidth; ++c) {
                const int piece = s.board[c][r];
                if ((c == 1 && r == 1) || piece == 0) continue;
                const int hc = (piece - 1) % s.puzzlewidth + 1, hr = (piece - 1) / s.puzzlewidth + 1;
                // A picture smaller than the grid leaves what lay there before where it ends.
                static_cast<void>(
                    p.copyPicture(PictureId::Window, (c - 1) * pw, (r - 1) * ph, pw, ph, w.cellx(hc), w.celly(hr)));
            }
        }
    }
    s.placedcount = 0;

    if (s.animated == puzzletype::animated) {
        p.fillBox(0, 0, 1000, 1000, s.colour);
        p.fillBox(0, 0, p.clientWidth() + 2, p.clientHeight() + 2, s.colour2);
    }
    // The area is a whole number of pixels, so comparing with its whole part is exact.
    const int areawidth = static_cast<int>(s.areawidth), areaheight = static_cast<int>(s.areaheight);
    for (int x = 0; x <= areawidth; x += pw) p.fillBox(x, 0, x, ph * s.puzzleheight, s.colour);
    for (int y = 0; y <= areaheight; y += ph) p.fillBox(0, y, pw * s.puzzlewidth, y, s.colour);
    p.fillBox(1, 1, pw - 1, ph - 1, s.colour);
}

}  // namespace pelorix
