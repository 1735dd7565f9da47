// SPDX-License-Identifier: MIT
// The game as a desktop screen-saver module: random puzzles solved one after another, nothing written.

#include "game/puzzlemaker2.h"
#include "options/numbers.h"
#include "options/roles.h"
#include "puzzle/construction.h"

namespace pelorix {

void puzzlemaker2::Saver_Activate(int gridwidth, int gridheight) {
    try {
        // Unlike the window's start-up, the built-in pictures are not written out: a screen saver
        // starts every time the user goes idle and leaves the folder as it found it.
        platform_.refreshList(role::regularlist);
        platform_.refreshList(role::animatedlist);
        readstartupsettings();
        // Slow: every frame waits for one tick of the frame clock, so an animated puzzle never
        // runs flat out.
        loop.nwait4 = pace::slow;
        loop.solvemode = solver::screensaver;
        platform_.setCheckValue(role::randomcheck, flag::on);
        // Construction reads the grid from the size boxes and bounds it there.
        platform_.setText(role::widthbox, numbertext(gridwidth));
        platform_.setText(role::heightbox, numbertext(gridheight));
        platform_.randomize(platform_.timeOfDay());
        const bool builtinonly =
            platform_.listCount(role::regularlist) == 0 && platform_.listCount(role::animatedlist) == 0;
        for (;;) {
            startsaverpuzzle(builtinonly);
            do {
                mainpass();
                // The window was resized (a preview made full screen, say): a puzzle in play is
                // built anew to fill it; a finished one stays on show until its time is up.
                const bool resized = platform_.clientWidth() != static_cast<int>(puzzle.areawidth) ||
                                     platform_.clientHeight() != static_cast<int>(puzzle.areaheight);
                if (resized && loop.phase != phase::saverfinished && loop.puzzlestate == gamestate::inplay) break;
            } while (loop.phase != phase::saverfinished);
        }
    } catch (const ProgramEnded&) {
        // The saver was told to stop: nothing is saved on the way out.
    }
}

void puzzlemaker2::startsaverpuzzle(bool builtinonly) {
    loop.phase = phase::saverfinished;
    loop.puzzlestate = gamestate::inplay;
    // Random pictures draw the type only when it has not been drawn yet: draw it for every puzzle.
    puzzle.typedrawn = flag::off;
    if (builtinonly) {
        // A folder without pictures plays the built-in ones, drawn by lot as for the title puzzles.
        drawbuiltinpicture();
    }
    buildandarm(true);
}

}  // namespace pelorix
