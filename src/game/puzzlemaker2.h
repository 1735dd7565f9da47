// SPDX-License-Identifier: MIT
// The game window object: all state as plain fields, and the handlers the window's events call.
#pragma once

#include <string>

#include "game/loopfields.h"
#include "options/panelfields.h"
#include "options/roles.h"
#include "platform/platform.h"
#include "puzzle/puzzlestate.h"

namespace pelorix {

// Thrown out of a yield once the program has been told to end; `Form_Activate` catches it.
struct ProgramEnded {};

// Columns and rows of the grid cells that lie under the moving picture (may reach past the grid).
struct FrameSpan {
    int c0 = 1, c1 = 1, r0 = 1, r1 = 1;
    bool contains(int c, int r) const { return c >= c0 && c <= c1 && r >= r0 && r <= r1; }
};

// The one window of the game. Handlers run only inside yields of the main loop, one at a time; they
// and the loop talk only through the public fields. The class is defined across the subsystem
// folders: game/ (start-up, loop, drawing, solver), puzzle/ (construction), input/ (mouse, keys,
// move step), options/ (settings, menus, panels).
class puzzlemaker2 final : public EventSink {
public:
    explicit puzzlemaker2(Platform& platform);

    PuzzleState puzzle;
    LoopFields loop;
    PanelFields panel;

    // --- game/: start-up, main loop, timers ---
    // Start-up followed by the main loop; returns only once the program has ended.
    void Form_Activate();
    void Form_Unload();
    void Timer1_Timer();
    void Timer2_Timer();
    // Calls the handler an event is meant for.
    void dispatch(const Event& event) override;

    // One pass of the main loop: a title puzzle or the set-up screen when due, the animation
    // frame, the computer's move, and the finishing of a solved puzzle.
    void mainpass();
    void starttitlepuzzle();
    // Draws one of the two built-in pictures by lot and sets the puzzle's type and picture to it.
    void drawbuiltinpicture();
    void opensetupscreen();
    void finishpuzzle();
    // Disable Timer1, set the interval for the current state, re-enable only for a finished puzzle
    // that was counting down.
    void rearmtimer1();
    // Stops Timer1 (and the frame clock Timer2 when `stopframeclock`), builds a new puzzle when
    // `build`, clears `movedue` and re-arms Timer1: how the loop and every command start a puzzle.
    void buildandarm(bool stopframeclock, bool build = true);
    // True when every piece is home.
    bool puzzlecomplete() const;
    // True while an option panel's prompt is shown (the piece-time, picture or picture-time panel).
    bool panelshown() const;
    // Opens the input turn and yields. `mayWait`: nothing can change without an event.
    void yieldturn(bool mayWait);
    // True when the coming yield of a pass may wait: no step of the pass can act without an event.
    // When the next computer move is due at the next refresh, asks the platform to wake then.
    bool passisidle() const;

    // --- game/: screen-saver module ---
    // Runs the game as a desktop screen saver until the program ends: puzzles of a grid of
    // `gridwidth` x `gridheight` (bounded to 2-20) follow one another, each from a picture drawn at
    // random from the folder's regular and animated pictures (the built-in ones when it has none),
    // solved by the computer in screen-saver mode. The stored paces apply, except that animated
    // puzzles always run Slow. Asks the platform for no write: no pictures, no settings.
    void Saver_Activate(int gridwidth, int gridheight);
    // Builds the next screen-saver puzzle, drawing its type anew.
    void startsaverpuzzle(bool builtinonly);

    // --- game/: drawing and animation ---
    void repaintpicture();
    void framestep();
    void finishedfill();
    void finishedframe();
    FrameSpan framespan() const;
    void composeframe();
    // Bounces the moving picture off the limits, then moves it one step.
    void movingstep(int limitx, int limity);
    // Waits for one Timer2 tick (ends early on `donepressed` when `orDone`).
    void framewait(bool orDone);
    // Puts a frame just drawn on screen at its pace. Slow: every frame is shown (the frame clock
    // spaces them). Fast: the frame is counted against the display's refresh; the fourth of a
    // refresh is shown and the loop then waits, yielding, for the next refresh. Frames too slow to
    // fill a refresh reach the screen at the display's own pace and never wait.
    void displaypace();

    // --- game/: computer solver ---
    // Makes the computer's moves that are due: one for each move interval (10 × `movetime` ms,
    // at pace 0 every pass and at least one a millisecond) that passed since the last was due, so
    // several in a pass that the display held up. A new puzzle's first move waits for the refresh
    // after the one its scrambled board was shown in.
    void computerstep();
    // Pops one code off the scramble stack and makes that move, redrawing its two cells.
    void makemove();

    // --- puzzle/: construction ---
    void makenewpuzzle();
    void newpuzzle_Click();

    // --- input/: mouse, keys, the move step ---
    // button 1 = left; x, y in client pixels.
    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_KeyDown(int keycode, int shift);
    // The cell hit by a press at (x, y); false when the press lies outside the grid.
    bool hittest(float x, float y, int& column, int& row) const;
    // Slides the piece at (sc, sr) into the neighbouring hole; `d` is its direction code.
    void slidepiece(int sc, int sr, int d);
    void recordmove(int d);
    // Moves the piece at (sc, sr) into the hole, keeping `placedcount`; returns the piece.
    int shiftpiece(int sc, int sr);
    // Redraws a move: clears the vacated cell S and draws piece p in cell D.
    void redrawmove(int sc, int sr, int dc, int dr, int p);

    // --- options/: menus ---
    void prandom_Click();
    void pnrandom_Click();
    void tslow_Click();
    void tfast_Click();
    void usolve_Click();
    void csolve_Click();
    void csolves_Click();
    void quit_Click();

    // --- options/: panels ---
    void choosepicture_Click();
    void choosepicture2_Click();
    void File1_Click();
    void File2_Click();
    void Text1_KeyUp(int keycode, int shift);
    void Text2_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void cpiece_Click();
    void cpicture_Click();
    void Text4_KeyDown(int keycode, int shift);
    void Text5_KeyDown(int keycode, int shift);

    // --- options/: settings files ---
    void readdefaultcolours();
    void readstartupsettings();
    // Reads `picturename` + ".colour" (and ".colour2" for animated puzzles) and writes them back.
    void readpicturecolours();

    Platform& platform() { return platform_; }
    const Platform& platform() const { return platform_; }

    // Grid geometry: the reference point of column c and row r.
    int cellx(int c) const { return 1 + (c - 1) * puzzle.piecewidth; }
    int celly(int r) const { return 1 + (r - 1) * puzzle.pieceheight; }

private:
    Platform& platform_;
};

// A Timer1 interval: the product rounded to whole milliseconds, halves to even, within what a
// timer can hold (0 to 2147483647).
int timermilliseconds(double product);

// Milliseconds of computer moves that a late pass still makes up; a longer gap (a pause of the
// game, a panel) starts the pace anew instead.
inline constexpr double longestcatchupms = 250;

}  // namespace pelorix
