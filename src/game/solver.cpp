// SPDX-License-Identifier: MIT
// The computer's solving step: it retraces the recorded moves at the pace set, each Timer1 tick.
#include <algorithm>

#include "game/puzzlemaker2.h"

namespace pelorix {

void puzzlemaker2::computerstep() {
    PuzzleState& s = puzzle;
    const bool fresh = s.freshpuzzle == flag::on;
    const bool resync = fresh || loop.solvemode != loop.lastsolvemode;
    // A new puzzle, or a change of who solves: the player's pending undo codes go onto the
    // scramble stack, oldest first, so the latest player move is undone first.
    if (resync) {
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

    const double now = platform_.clockMs();
    // A new puzzle, a hand-over, or a step that did not run for a while (a pause, a panel, a menu)
    // starts the pace anew at the next move: the moves of a pause are not made up in a burst.
    if (resync || now - loop.lastcomputerstep > longestcatchupms) loop.paceanew = flag::on;
    loop.lastcomputerstep = now;
    // A new puzzle's scrambled board goes on screen before the first move.
    if (fresh) {
        loop.moverefresh = platform_.refreshCount();
        platform_.showFrame();
    }
    if (platform_.refreshCount() == loop.moverefresh) return;

    if (loop.movedue != flag::on) {
        if (loop.movetime > 0) {
            // Re-arming with the interval the timer already has keeps its countdown running.
            platform_.setTimerInterval(TimerId::Timer1, timermilliseconds(10 * loop.movetime));
            platform_.setTimerEnabled(TimerId::Timer1, true);
        }
        // At pace 0 the computer moves on every pass, and at least as often as the shortest timer.
        if (loop.movetime <= 0) loop.movedue = flag::on;
        if (loop.movedue == flag::off && platform_.timerEnabled(TimerId::Timer1)) return;
    }
    loop.movedue = flag::off;
    platform_.setTimerEnabled(TimerId::Timer1, false);

    // One move for each interval that passed since the last was due, and at least the one the
    // tick asks for: a pass held up by the display (a frame a refresh) makes the moves that fell
    // due meanwhile, so the pace is the setting's on every kind of puzzle.
    const double interval = loop.movetime > 0 ? std::max(1, timermilliseconds(10 * loop.movetime)) : 1.0;
    if (loop.paceanew == flag::on || now - loop.moveclock > longestcatchupms) loop.moveclock = now - interval;
    loop.paceanew = flag::off;
    const int due = std::max(1, static_cast<int>((now - loop.moveclock) / interval));
    for (int move = 0; move < due && !puzzlecomplete(); ++move) makemove();
    loop.moveclock = std::min(loop.moveclock + due * interval, now);
}

void puzzlemaker2::makemove() {
    PuzzleState& s = puzzle;
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
}

}  // namespace pelorix
