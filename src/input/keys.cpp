// SPDX-License-Identifier: MIT
// The key handler: arrows, the B replay and the Enter pause.
#include "game/puzzlemaker2.h"

namespace pelorix {

namespace {

// The arrow key that makes direction d; 0 for any other value.
int arrowfor(int d) {
    switch (d) {
        case dir::right: return keys::Right;
        case dir::left: return keys::Left;
        case dir::down: return keys::Down;
        case dir::up: return keys::Up;
        default: return 0;
    }
}

// One arrow key, with `computermove` as the caller left it. False when the piece it names lies
// outside the grid: nothing moves and the turn stays open.
bool arrow(puzzlemaker2& g, int key) {
    PuzzleState& s = g.puzzle;
    switch (key) {
        case keys::Left:
            if (s.holex + 1 > s.puzzlewidth) return false;
            s.movedir = dir::left;
            g.slidepiece(s.holex + 1, s.holey, dir::left);
            return true;
        case keys::Right:
            if (s.holex - 1 <= 0) return false;
            s.movedir = dir::right;
            g.slidepiece(s.holex - 1, s.holey, dir::right);
            return true;
        case keys::Up:
            if (s.holey + 1 > s.puzzleheight) return false;
            s.movedir = dir::up;
            g.slidepiece(s.holex, s.holey + 1, dir::up);
            return true;
        case keys::Down:
            if (s.holey - 1 <= 0) return false;
            s.movedir = dir::down;
            g.slidepiece(s.holex, s.holey - 1, dir::down);
            return true;
        default:
            return true;
    }
}

// B: replays the top entry of `usermoves`, or else of `solvestack`, without recording it.
// Entries that hold no direction code are discarded and the next one is taken.
bool replay(puzzlemaker2& g) {
    PuzzleState& s = g.puzzle;
    for (;;) {
        s.computermove = flag::on;
        int d = 0;
        if (s.usermovetop > 0) {
            d = s.usermoves[s.usermovetop];
            s.usermoves.set(s.usermovetop, 0);
            --s.usermovetop;
        } else if (s.solvetop > 0) {
            d = s.solvestack[s.solvetop];
            s.solvestack.set(s.solvetop, 0);
            --s.solvetop;
        } else {
            return true;  // both histories empty: nothing moves, the turn is used
        }
        s.movedir = d;
        if (const int key = arrowfor(d); key != 0) return arrow(g, key);
    }
}

// Dispatch of a key while the user solves. False when it stops without using the turn.
bool dispatchkey(puzzlemaker2& g, int keycode) {
    g.puzzle.movedir = dir::none;
    g.puzzle.computermove = flag::off;
    switch (keycode) {
        case keys::Left:
        case keys::Right:
        case keys::Up:
        case keys::Down:
            return arrow(g, keycode);
        case keys::B:
            return replay(g);
        default:
            return true;  // any other key: nothing moves
    }
}

}  // namespace

void puzzlemaker2::Form_KeyDown(int keycode, int /*shift*/) {
    if (loop.inputlock != flag::off) return;
    if (loop.started == phase::title) {
        loop.inputlock = flag::on;  // before the first click a key only uses up the turn
        return;
    }
    if (puzzle.anipaused != flag::off && keycode != keys::Enter) return;
    if (puzzle.animated == puzzletype::animated && keycode == keys::Enter) {
        if (puzzle.anipaused == flag::off) {
            puzzle.anipaused = flag::on;
        } else if (puzzle.anipaused == flag::on) {
            puzzle.anipaused = flag::off;
        }
    }
    if (loop.puzzlestate == gamestate::inplay && loop.solvemode == solver::user) {
        if (!dispatchkey(*this, keycode)) return;
    }
    loop.inputlock = flag::on;
}

}  // namespace pelorix
