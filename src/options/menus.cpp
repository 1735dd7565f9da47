// SPDX-License-Identifier: MIT
// Menu commands that act at once: random or chosen pictures, who solves, animation pace, quitting.
#include <initializer_list>

#include "game/puzzlemaker2.h"
#include "options/settingsfile.h"

namespace pelorix {

namespace {

// A radio group of menu entries: `chosen` gets the check mark, every other entry loses it.
void checkonly(Platform& platform, Menu chosen, std::initializer_list<Menu> group) {
    for (Menu entry : group) platform.setMenuChecked(entry, entry == chosen);
}

constexpr std::initializer_list<Menu> picturegroup = {Menu::prandom, Menu::pnrandom};
constexpr std::initializer_list<Menu> pacegroup = {Menu::tslow, Menu::tfast};
constexpr std::initializer_list<Menu> solvegroup = {Menu::usolve, Menu::csolve, Menu::csolves};

}  // namespace

void puzzlemaker2::prandom_Click() {
    checkonly(platform(), Menu::prandom, picturegroup);
    // The next construction reads the flag from the (never shown) check box.
    platform().setCheckValue(role::randomcheck, flag::on);
}

void puzzlemaker2::pnrandom_Click() {
    checkonly(platform(), Menu::pnrandom, picturegroup);
    platform().setCheckValue(role::randomcheck, flag::off);
}

void puzzlemaker2::tslow_Click() {
    checkonly(platform(), Menu::tslow, pacegroup);
    loop.nwait4 = pace::slow;
    // A file that cannot be written leaves the pace in force for this run only.
    static_cast<void>(writesetting(platform(), animationfile, loop.nwait4));
}

void puzzlemaker2::tfast_Click() {
    checkonly(platform(), Menu::tfast, pacegroup);
    loop.nwait4 = pace::fast;
    static_cast<void>(writesetting(platform(), animationfile, loop.nwait4));
}

void puzzlemaker2::usolve_Click() {
    checkonly(platform(), Menu::usolve, solvegroup);
    // No timer changes: in play Timer1's ticks matter only to the computer step, which no longer
    // runs; a screen-saver countdown already running ends the finished display as planned.
    loop.solvemode = solver::user;
}

void puzzlemaker2::csolve_Click() {
    checkonly(platform(), Menu::csolve, solvegroup);
    // Leaving screen-saver mode while a finished puzzle is on show stops its countdown, so the
    // picture stays until the user clicks or asks for a new puzzle.
    if (loop.solvemode != solver::computer && loop.puzzlestate == gamestate::finished &&
        platform().timerEnabled(TimerId::Timer1))
        platform().setTimerEnabled(TimerId::Timer1, false);
    loop.solvemode = solver::computer;
}

void puzzlemaker2::csolves_Click() {
    checkonly(platform(), Menu::csolves, solvegroup);
    // Entering screen-saver mode while a finished puzzle is on show starts the countdown, with
    // the interval the finishing step set (100 × newtime ms).
    if (loop.solvemode != solver::screensaver && loop.puzzlestate == gamestate::finished &&
        !platform().timerEnabled(TimerId::Timer1))
        platform().setTimerEnabled(TimerId::Timer1, true);
    loop.solvemode = solver::screensaver;
}

void puzzlemaker2::quit_Click() {
    // Ends at once: every setting was written when it changed, so nothing is saved here.
    platform().end();
}

}  // namespace pelorix
