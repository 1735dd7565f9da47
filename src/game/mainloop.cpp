// The main loop: one pass, finishing a puzzle and its finished display, Timer1 re-arming, idle waits.
#include "game/puzzlemaker2.h"

namespace pelorix {

void puzzlemaker2::yieldturn(bool mayWait) {
    loop.inputlock = 0;
    platform_.yield(mayWait);
    if (platform_.ended()) throw ProgramEnded{};
}

bool puzzlemaker2::passisidle() const {
    if (loop.phase == 0 || loop.phase == 5) return false;  // a title puzzle or the set-up screen to open
    const bool playing = loop.puzzlestate == 3 && puzzle.anipaused == 0;
    if (playing && puzzle.animated == 1) return false;  // the next frame is due at once
    if (playing && loop.solvemode > 0) {
        const bool resync = puzzle.freshpuzzle == 1 || loop.solvemode != loop.lastsolvemode || puzzle.usermovetop != 0;
        const bool moves = loop.movedue == 1 || loop.movetime <= 0;
        // Waiting for Timer1 is idle only once the timer runs with the interval the step would set.
        const bool armed = platform_.timerEnabled(TimerId::Timer1) &&
                           platform_.timerInterval(TimerId::Timer1) == timermilliseconds(10 * loop.movetime);
        if (resync || moves || !armed) return false;
    }
    if (loop.puzzlestate == 3 && puzzle.placedcount >= puzzle.puzzlewidth * puzzle.puzzleheight - 1) return false;
    return true;
}

void puzzlemaker2::mainpass() {
    if (loop.phase == 0) starttitlepuzzle();
    loop.lastsolvemode = loop.solvemode;
    yieldturn(passisidle());
    if (loop.phase == 5) opensetupscreen();
    if (puzzle.animated == 1 && loop.puzzlestate == 3 && puzzle.anipaused == 0) framestep();
    yieldturn(passisidle());
    if (loop.solvemode > 0 && loop.puzzlestate == 3 && puzzle.anipaused == 0) computerstep();
    // Only a puzzle in play can be finished: a solved board left under the set-up screen or an
    // open panel must not start a finished display of its own.
    if (loop.puzzlestate == 3 && puzzle.placedcount >= puzzle.puzzlewidth * puzzle.puzzleheight - 1) finishpuzzle();
}

void puzzlemaker2::rearmtimer1() {
    const bool wasenabled = platform_.timerEnabled(TimerId::Timer1);
    platform_.setTimerEnabled(TimerId::Timer1, false);
    const double product = loop.puzzlestate == 4 ? 100 * loop.newtime : 10 * loop.movetime;
    platform_.setTimerInterval(TimerId::Timer1, timermilliseconds(product));
    if (loop.puzzlestate == 4 && wasenabled) platform_.setTimerEnabled(TimerId::Timer1, true);
}

namespace {
bool panelshown(const Platform& p) {
    return p.visible(Control::Label4) || p.visible(Control::Label5) || p.visible(Control::Label6);
}
}  // namespace

void puzzlemaker2::finishpuzzle() {
    loop.phase = loop.started;
    loop.puzzlestate = 4;
    loop.timerfired = 0;
    loop.donepressed = 0;
    if (loop.started != 0 && loop.begun == 1)
        platform_.setCaption(puzzle.animated == 0 ? "Pelorix-(Finished regular puzzle)"
                                                  : "Pelorix-(Finished animated puzzle)");
    platform_.setTimerInterval(TimerId::Timer1, timermilliseconds(100 * loop.newtime));
    puzzle.newmade = 0;
    if (loop.solvemode == 2) platform_.setTimerEnabled(TimerId::Timer1, true);
    if (puzzle.animated != 1) repaintpicture();
    else finishedfill();

    auto displayover = [this] { return loop.puzzlestate == 3 || (loop.puzzlestate == 4 && loop.timerfired == 1); };
    do {
        if (puzzle.animated == 1) finishedframe();
        // A still picture, a paused one or one hidden by a panel changes only through an event.
        const bool still = puzzle.animated != 1 || puzzle.anipaused == 1 || panelshown(platform_);
        yieldturn(still && !displayover());
    } while (!displayover());

    loop.puzzlestate = 3;
    platform_.setVisible(Control::Picture1, false);
    platform_.setTimerEnabled(TimerId::Timer1, false);
    if (loop.phase == 1) {
        platform_.setTimerEnabled(TimerId::Timer1, false);
        platform_.setTimerEnabled(TimerId::Timer2, false);
        if (puzzle.newmade != 1) makenewpuzzle();
        loop.movedue = 0;
        rearmtimer1();
    }
}

}  // namespace pelorix
