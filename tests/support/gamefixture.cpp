// SPDX-License-Identifier: MIT
// Checks of the board's invariants shared by the tests.
#include "gamefixture.h"

#include <vector>

#include "puzzle/construction.h"

namespace pelorix::testing {

std::string boardfault(const PuzzleState& s) {
    const int n = s.puzzlewidth * s.puzzleheight;
    std::vector<int> seen(static_cast<std::size_t>(n) + 1, 0);
    int holes = 0, home = 0;
    for (int r = 1; r <= s.puzzleheight; ++r) {
        for (int c = 1; c <= s.puzzlewidth; ++c) {
            const int p = s.board[c][r];
            if (p == 0) {
                ++holes;
                if (c != s.holex || r != s.holey) return "hole not at (holex, holey)";
                continue;
            }
            if (p < 2 || p > n) return "piece " + std::to_string(p) + " out of range";
            if (++seen[static_cast<std::size_t>(p)] > 1) return "piece " + std::to_string(p) + " twice";
            if (s.homeboard[c][r] == p) ++home;
        }
    }
    if (holes != 1) return std::to_string(holes) + " holes";
    if (home != s.placedcount) return "placedcount " + std::to_string(s.placedcount) + " but " + std::to_string(home) + " home";
    return {};
}

bool solved(const PuzzleState& s) {
    if (s.holex != 1 || s.holey != 1 || s.board[1][1] != 0) return false;
    for (int r = 1; r <= s.puzzleheight; ++r)
        for (int c = 1; c <= s.puzzlewidth; ++c)
            if ((c != 1 || r != 1) && s.board[c][r] != (r - 1) * s.puzzlewidth + c) return false;
    return true;
}

void layplayableboard(puzzlemaker2& g, int w, int h, int pw, int ph) {
    PuzzleState& s = g.puzzle;
    s.puzzlewidth = w;
    s.puzzleheight = h;
    s.piecewidth = pw;
    s.pieceheight = ph;
    laysolvedboard(s);
    s.placedcount = w * h - 1;
    s.solvestack.clear();
    s.solvetop = 0;
    s.usermoves.clear();
    s.usermovetop = 0;
    s.movedir = 0;
    s.computermove = 0;
    s.colour = 3;
    s.colour2 = 15;
    s.animated = puzzletype::regular;
    s.anipaused = 0;
    g.loop.phase = phase::play;
    g.loop.started = phase::play;
    g.loop.puzzlestate = gamestate::inplay;
    g.loop.solvemode = solver::user;
    g.loop.inputlock = 0;
}

std::uint64_t animatedseed() {
    for (std::uint64_t seed = 1;; ++seed) {
        Game g(seed);
        g.run(1, [&] { return g.game.puzzle.animated == puzzletype::animated && g.game.puzzle.solvetop > 0; });
        if (g.game.puzzle.animated == puzzletype::animated) return seed;
    }
}

}  // namespace pelorix::testing
