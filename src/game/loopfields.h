// SPDX-License-Identifier: MIT
// The main loop's fields: life of the window, who solves, pacing, request flags and the input latch.
#pragma once

#include "puzzle/puzzlestate.h"

namespace pelorix {

// Values of `phase` and `started`: where the window is in its life.
namespace phase {
inline constexpr int title = 0;         // title puzzles, before the first click
inline constexpr int play = 1;          // normal play, from the set-up screen on
inline constexpr int titleclicked = 5;  // clicked during title mode: the set-up screen opens next
// A screen-saver puzzle: neither a title puzzle nor play, so the main loop builds nothing itself
// and hands each finished puzzle back to the saver's own loop, which draws the next one.
inline constexpr int saverfinished = 2;
}  // namespace phase

// Values of `puzzlestate`. The loop and the move handlers act only in `inplay` and `finished`; any
// other value pauses the game.
namespace gamestate {
inline constexpr int setupscreen = 0;    // the set-up screen, nothing in play
inline constexpr int timingpanel = 0;    // a timing panel is open
inline constexpr int inplay = 3;         // a puzzle is being solved
inline constexpr int finished = 4;       // the finished display
inline constexpr int picturepanel = -5;  // a picture panel is open
}  // namespace gamestate

// Values of `solvemode`: who solves.
namespace solver {
inline constexpr int user = 0;
inline constexpr int computer = 1;     // the computer, each finished picture staying until a click
inline constexpr int screensaver = 2;  // the computer, the next puzzle following by itself
}  // namespace solver

// Values of `nwait4`, the delay between animation frames in milliseconds.
namespace pace {
inline constexpr int fast = 0;
inline constexpr int slow = 1;
// Frames drawn per refresh of the display at Fast, the last of them shown. Slow shows one frame a
// refresh, so the moving picture steps about one pixel per shown frame (some 60 px/s on a 60 Hz
// display); Fast steps four, four times the speed and still a motion the eye can follow.
inline constexpr int fastframesperrefresh = 4;
}  // namespace pace

struct LoopFields {
    int phase = phase::title;
    // `phase` as construction found it; set by the title click and the set-up screen.
    int started = phase::title;
    int puzzlestate = gamestate::setupscreen;
    int solvemode = solver::user;
    int lastsolvemode = solver::user;     // solvemode at the start of the current pass
    double movetime = 0;                  // hundredths of a second between computer moves
    double newtime = 0;                   // tenths of a second a finished puzzle stays in screen-saver mode
    int nwait4 = pace::fast;
    // Flags, each flag::off or flag::on.
    int hbmv = flag::off;         // set by every Timer2 tick
    int movedue = flag::off;      // set by Timer1: the computer may move
    int timerfired = flag::off;   // set by every Timer1 tick
    int donepressed = flag::off;  // set by Done; ends a frame wait of the finished display
    int begun = flag::off;        // set by Begin; the finished captions need it
    int inputlock = flag::off;    // off opens the input turn; the first mouse or key handler that acts sets it on
    // The display's pace of Fast frames: the refresh the last one was drawn in, and how many
    // were drawn in it.
    long long framerefresh = -1;
    int refreshframes = 0;
    // The refresh a new puzzle's scrambled board was shown in: the computer's first move waits for
    // a later one, so the board is seen before it changes.
    long long moverefresh = -1;
    // The computer's pace on the clock (milliseconds): when its last move was due, and when its
    // step last ran. Several moves are made in one step when that many came due since.
    double moveclock = 0;
    double lastcomputerstep = -1;
    int paceanew = flag::on;  // the next move starts the pace: one move, whatever the clock says
};

}  // namespace pelorix
