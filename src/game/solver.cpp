// SPDX-License-Identifier: MIT
// The computer's solving step: it retraces the recorded moves, one per Timer1 tick.
#include "game/puzzlemaker2.h"

namespace pelorix {

void puzzlemaker2::computerstep() {
    PuzzleState& s = puzzle;
    // A new puzzle, or a change of who solves: the player's pending undo codes go onto the
    // scramble stack, oldest first, so the latest player move is undone first.
    if (s.freshpuzzle == flag::on || loop.solvemode != loop.lastsolvemode) {
        s.freshpuzzle = flag::off;
        s.movedir = dir::none;
        int k = 0;
        while (k < s.usermovetop) {
            ++k;
            ++s.solvetop;
            s.solvestack.set(s.solvetop, s.usermoves[k]);
            s.usermoves.set(k, 0);
        }
        s.usermoves.set(k, 0);
    }
    s.usermovetop = 0;

    if (loop.movedue != flag::on) {
        if (loop.movetime > 0) {
            // Re-arming with the interval the timer already has keeps its countdown running.
            platform_.setTimerInterval(TimerId::Timer1, timermilliseconds(10 * loop.movetime));
            platform_.setTimerEnabled(TimerId::Timer1, true);
        }
        // At pace 0 the computer moves as fast as the display can show: once a refresh, each move
        // shown, so that a puzzle solved in a few milliseconds is still seen being solved.
        if (loop.movetime <= 0) {
            if (platform_.refreshCount() == loop.moverefresh) return;
            loop.movedue = flag::on;
        }
        if (loop.movedue == flag::off && platform_.timerEnabled(TimerId::Timer1)) return;
    }

    loop.movedue = flag::off;
    platform_.setTimerEnabled(TimerId::Timer1, false);
    s.lastdir = s.movedir;
    s.movedir = s.solvestack[s.solvetop];
    const int dc = s.holex, dr = s.holey;
    const auto [sc, sr] = piececell(s.movedir, dc, dr);
    const bool moves = s.movedir >= dir::right && s.movedir <= dir::up && sc >= 1 && sc <= s.puzzlewidth && sr >= 1 &&
                       sr <= s.puzzleheight;
    int p = 0;
    if (moves) p = shiftpiece(sc, sr);
    s.board[s.holex][s.holey] = 0;
    if (s.movedir != dir::none) {
        s.solvestack.set(s.solvetop, 0);
        --s.solvetop;
    }
    // An empty stack gives code 0: nothing moves and nothing is drawn.
    if (moves) redrawmove(sc, sr, dc, dr, p);
    loop.moverefresh = platform_.refreshCount();
    if (loop.movetime <= 0) platform_.showFrame();
}

}  // namespace pelorix
