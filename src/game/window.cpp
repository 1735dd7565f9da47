// SPDX-License-Identifier: MIT
// The window object's construction, its event routing, the timer handlers and closing.
#include <cmath>
#include <limits>

#include "game/puzzlemaker2.h"

namespace pelorix {

puzzlemaker2::puzzlemaker2(Platform& platform) : platform_(platform) { platform_.setSink(this); }

int timermilliseconds(double product) {
    if (!(product > 0)) return 0;  // also NaN
    constexpr double most = std::numeric_limits<int>::max();
    if (product >= most) return std::numeric_limits<int>::max();
    // Halves go to the even neighbour (the default rounding mode).
    const double rounded = std::nearbyint(product);
    // A timer with interval 0 never ticks; a positive pace must still tick.
    return rounded < 1 ? 1 : static_cast<int>(rounded);
}

void puzzlemaker2::Form_Unload() { platform_.end(); }

void puzzlemaker2::Timer1_Timer() {
    loop.timerfired = flag::on;
    loop.movedue = flag::on;
    // In the finished display the tick ends the display.
    if (loop.puzzlestate == gamestate::finished) loop.puzzlestate = gamestate::inplay;
}

void puzzlemaker2::Timer2_Timer() { loop.hbmv = flag::on; }

namespace {
void dispatchmenu(puzzlemaker2& w, Menu entry) {
    switch (entry) {
        case Menu::newpuzzle: w.newpuzzle_Click(); break;
        case Menu::prandom: w.prandom_Click(); break;
        case Menu::pnrandom: w.pnrandom_Click(); break;
        case Menu::choosepicture: w.choosepicture_Click(); break;
        case Menu::choosepicture2: w.choosepicture2_Click(); break;
        case Menu::tslow: w.tslow_Click(); break;
        case Menu::tfast: w.tfast_Click(); break;
        case Menu::usolve: w.usolve_Click(); break;
        case Menu::csolve: w.csolve_Click(); break;
        case Menu::csolves: w.csolves_Click(); break;
        case Menu::cpiece: w.cpiece_Click(); break;
        case Menu::cpicture: w.cpicture_Click(); break;
        case Menu::quit: w.quit_Click(); break;
        default: break;  // submenus and help texts have no command
    }
}

void dispatchclick(puzzlemaker2& w, Control control) {
    switch (control) {
        case role::beginbutton: w.Command1_Click(); break;
        case role::donebutton: w.Command2_Click(); break;
        case role::cancelbutton: w.Command3_Click(); break;
        case role::regularlist: w.File1_Click(); break;
        case role::animatedlist: w.File2_Click(); break;
        default: break;
    }
}
}  // namespace

void puzzlemaker2::dispatch(const Event& e) {
    switch (e.kind) {
        case EventKind::MouseDown:
            if (e.control == Control::Form) Form_MouseDown(e.button, e.shift, e.x, e.y);
            break;
        case EventKind::KeyDown:
            if (e.control == Control::Form) Form_KeyDown(e.key, e.shift);
            else if (e.control == role::piecetimebox) Text4_KeyDown(e.key, e.shift);
            else if (e.control == role::picturetimebox) Text5_KeyDown(e.key, e.shift);
            break;
        case EventKind::KeyUp:
            if (e.control == role::widthbox) Text1_KeyUp(e.key, e.shift);
            break;
        case EventKind::TextChange:
            if (e.control == role::heightbox) Text2_Change();
            break;
        case EventKind::Click: dispatchclick(*this, e.control); break;
        case EventKind::MenuClick: dispatchmenu(*this, e.menu); break;
        case EventKind::TimerTick:
            if (e.timer == TimerId::Timer1) Timer1_Timer();
            else Timer2_Timer();
            break;
        case EventKind::Unload: Form_Unload(); break;
    }
}

}  // namespace pelorix
