// SPDX-License-Identifier: MIT
// The timing panels: the computer's pause between moves and the screen-saver display time.
#include "game/puzzlemaker2.h"
#include "options/numbers.h"
#include "options/panelmenus.h"
#include "options/settingsfile.h"

namespace pelorix {

namespace {

constexpr Control piecelabel = role::piecetimelabel;
constexpr Control piecebox = role::piecetimebox;
constexpr Control picturelabel = role::picturetimelabel;
constexpr Control picturebox = role::picturetimebox;

void opentimingpanel(puzzlemaker2& game, Control label, Control box, double value) {
    Platform& platform = game.platform();
    setpanelmenus(platform, false);
    game.panel.savedstate = game.loop.puzzlestate;
    // Shown whole, even when longer than the two characters a user can type.
    platform.setText(box, numbertext(value));
    platform.setVisible(label, true);
    platform.setVisible(box, true);
    // The panel closes only on Enter or Escape in the box, so the box takes the keys at once.
    platform.setFocus(box);
    // Pauses the game while the panel is open.
    game.loop.puzzlestate = gamestate::timingpanel;
}

// Closes whichever timing panel is open and gives the game back.
void closetimingpanel(puzzlemaker2& game, Control label, Control box, Control otherlabel, Control otherbox) {
    Platform& platform = game.platform();
    game.loop.puzzlestate = game.panel.savedstate;
    platform.setVisible(label, false);
    platform.setVisible(box, false);
    platform.setVisible(otherlabel, false);
    platform.setVisible(otherbox, false);
    setpanelmenus(platform, true);
    platform.setFocus(Control::Form);
}

// Enter in a timing box: the box shows and the field takes the bounded value, which is stored.
// `bound` maps the typed value to one the field may hold (see settingsfile.h).
void storetiming(puzzlemaker2& game, Control box, double& field, double (*bound)(double), const char* file) {
    Platform& platform = game.platform();
    const std::string typed = platform.text(box);
    const double value = textvalue(typed);
    field = bound(value);
    // The box is corrected only when the stored value differs from what it says; a box holding
    // no number at all reads as 0 and keeps its text when 0 may be stored.
    if (field != value) platform.setText(box, numbertext(field));
    // A file that cannot be written leaves the new value in force for this run only.
    static_cast<void>(writesetting(platform, file, field));
}

}  // namespace

void puzzlemaker2::cpiece_Click() { opentimingpanel(*this, piecelabel, piecebox, loop.movetime); }

void puzzlemaker2::cpicture_Click() { opentimingpanel(*this, picturelabel, picturebox, loop.newtime); }

void puzzlemaker2::Text4_KeyDown(int keycode, int /*shift*/) {
    if (keycode != keys::Enter && keycode != keys::Escape) return;  // typed into the box as usual
    if (keycode == keys::Enter) storetiming(*this, piecebox, loop.movetime, boundmovetime, movetimefile);
    closetimingpanel(*this, piecelabel, piecebox, picturelabel, picturebox);
}

void puzzlemaker2::Text5_KeyDown(int keycode, int /*shift*/) {
    if (keycode != keys::Enter && keycode != keys::Escape) return;
    if (keycode == keys::Enter) storetiming(*this, picturebox, loop.newtime, boundnewtime, newtimefile);
    closetimingpanel(*this, picturelabel, picturebox, piecelabel, piecebox);
}

}  // namespace pelorix
