// SPDX-License-Identifier: MIT
// The main loop: one pass, finishing a puzzle and its finished display, Timer1 re-arming, idle waits.
#include "game/puzzlemaker2.h"

namespace pelorix {

void puzzlemaker2::yieldturn(bool mayWait) {
    loop.inputlock = flag::off;
    platform_.yield(mayWait);
    if (platform_.ended()) throw ProgramEnded{};
}

bool puzzlemaker2::passisidle() const {
    // A title puzzle to start or the set-up screen to open.
    if (loop.phase == phase::title || loop.phase == phase::titleclicked) return false;
    const bool playing = loop.puzzlestate == gamestate::inplay && puzzle.anipaused == flag::off;
    if (playing && puzzle.animated == puzzletype::animated) return false;  // the next frame is due at once
    if (playing && loop.solvemode != solver::user) {
        const bool resync = puzzle.freshpuzzle == flag::on || loop.solvemode != loop.lastsolvemode ||
                            puzzle.usermovetop != 0;
        if (resync || loop.movedue == flag::on) return false;
        if (platform_.refreshCount() == loop.moverefresh) {
            // A new puzzle's first move waits for the next refresh: the wait ends there.
            platform_.wakeAtRefresh();
        } else if (loop.movetime <= 0) {
            return false;  // at pace 0 a move is due on every pass
        } else {
            // Waiting for Timer1 is idle only once the timer runs with the interval the step would set.
            const bool armed = platform_.timerEnabled(TimerId::Timer1) &&
                               platform_.timerInterval(TimerId::Timer1) == timermilliseconds(10 * loop.movetime);
            if (!armed) return false;
        }
    }
    if (loop.puzzlestate == gamestate::inplay && puzzlecomplete()) return false;
    return true;
}

bool puzzlemaker2::puzzlecomplete() const {
    return puzzle.placedcount >= puzzle.puzzlewidth * puzzle.puzzleheight - 1;
}

bool puzzlemaker2::panelshown() const {
    return platform_.visible(role::piecetimelabel) || platform_.visible(role::chosenlabel) ||
           platform_.visible(role::picturetimelabel);
}

void puzzlemaker2::mainpass() {
    if (loop.phase == phase::title) starttitlepuzzle();
    loop.lastsolvemode = loop.solvemode;
    yieldturn(passisidle());
    if (loop.phase == phase::titleclicked) opensetupscreen();
    if (puzzle.animated == puzzletype::animated && loop.puzzlestate == gamestate::inplay &&
        puzzle.anipaused == flag::off)
        framestep();
    yieldturn(passisidle());
    if (loop.solvemode != solver::user && loop.puzzlestate == gamestate::inplay && puzzle.anipaused == flag::off)
        computerstep();
    // Only a puzzle in play can be finished: a solved board left under the set-up screen or an
    // open panel must not start a finished display of its own.
    if (loop.puzzlestate == gamestate::inplay && puzzlecomplete()) finishpuzzle();
}

void puzzlemaker2::rearmtimer1() {
    const bool wasenabled = platform_.timerEnabled(TimerId::Timer1);
    platform_.setTimerEnabled(TimerId::Timer1, false);
    const bool finished = loop.puzzlestate == gamestate::finished;
    const double product = finished ? 100 * loop.newtime : 10 * loop.movetime;
    platform_.setTimerInterval(TimerId::Timer1, timermilliseconds(product));
    if (finished && wasenabled) platform_.setTimerEnabled(TimerId::Timer1, true);
}

void puzzlemaker2::buildandarm(bool stopframeclock, bool build) {
    platform_.setTimerEnabled(TimerId::Timer1, false);
    if (stopframeclock) platform_.setTimerEnabled(TimerId::Timer2, false);
    if (build) makenewpuzzle();
    loop.movedue = flag::off;
    rearmtimer1();
}

void puzzlemaker2::finishpuzzle() {
    loop.phase = loop.started;
    loop.puzzlestate = gamestate::finished;
    loop.timerfired = flag::off;
    loop.donepressed = flag::off;
    if (loop.started != phase::title && loop.begun == flag::on)
        platform_.setCaption(puzzle.animated == puzzletype::regular ? "Pelorix-(Finished regular puzzle)"
                                                                    : "Pelorix-(Finished animated puzzle)");
    platform_.setTimerInterval(TimerId::Timer1, timermilliseconds(100 * loop.newtime));
    puzzle.newmade = flag::off;
    if (loop.solvemode == solver::screensaver) platform_.setTimerEnabled(TimerId::Timer1, true);
    if (puzzle.animated != puzzletype::animated) repaintpicture();
    else finishedfill();

    auto displayover = [this] {
        return loop.puzzlestate == gamestate::inplay ||
               (loop.puzzlestate == gamestate::finished && loop.timerfired == flag::on);
    };
    do {
        // A command may build a puzzle of the other type during the display.
        if (puzzle.animated == puzzletype::animated) finishedframe();
        // A still picture, a paused one or one hidden by a panel changes only through an event.
        const bool still = puzzle.animated != puzzletype::animated || puzzle.anipaused == flag::on || panelshown();
        yieldturn(still && !displayover());
    } while (!displayover());

    loop.puzzlestate = gamestate::inplay;
    platform_.setVisible(role::movingpicture, false);
    platform_.setTimerEnabled(TimerId::Timer1, false);
    // The next puzzle, unless a command built one during the display.
    if (loop.phase == phase::play) buildandarm(true, puzzle.newmade != flag::on);
}

}  // namespace pelorix
