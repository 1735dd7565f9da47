// SPDX-License-Identifier: MIT
// The picture panels and the set-up screen: picking a picture file and the grid size, Begin, Done, Cancel.
#include <initializer_list>

#include "game/puzzlemaker2.h"
#include "options/numbers.h"
#include "options/panelmenus.h"

namespace pelorix {

namespace {

// Everything a picture panel may show; Done and Cancel hide all of it.
constexpr std::initializer_list<Control> picturepanelcontrols = {
    role::chosenlabel, role::chosenbox,  role::regularlist, role::animatedlist, role::widthlabel,
    role::widthbox,    role::heightlabel, role::heightbox,  role::donebutton,   role::cancelbutton,
};

void hidepicturepanel(Platform& platform) {
    for (Control control : picturepanelcontrols) platform.setVisible(control, false);
}

// A size box holding more than the largest grid is cut back to it as the user types.
void capsizebox(Platform& platform, Control box) {
    if (textvalue(platform.text(box)) > maxGrid) platform.setText(box, std::to_string(maxGrid));
}

// Opens the picture panel for type `type` (0 regular, 1 animated) with its file list `list`.
void openpicturepanel(puzzlemaker2& game, int type, Control list) {
    Platform& platform = game.platform();
    // With nothing to pick, the panel does not open and nothing changes: closing it is the only
    // way the menus come back, so disabling them here would leave the game without its menus.
    if (platform.listCount(list) == 0) return;

    setpanelmenus(platform, false);
    game.panel.savedtype = game.puzzle.chosentype;
    game.puzzle.chosentype = type;
    game.panel.savedstate = game.loop.puzzlestate;

    // Over a puzzle of the same type the current picture is the natural choice; otherwise the
    // list's first file.
    platform.setText(role::chosenbox,
                     game.puzzle.animated == type ? game.puzzle.picturefile : platform.listEntry(list, 0));
    game.panel.savedwidth = platform.text(role::widthbox);
    game.panel.savedheight = platform.text(role::heightbox);

    platform.setVisible(role::chosenlabel, true);
    platform.setVisible(role::chosenbox, true);
    // The animated list takes the regular list's place, and keeps it from then on.
    if (type == puzzletype::animated) platform.setLeft(role::animatedlist, platform.left(role::regularlist));
    for (Control control : {list, role::widthlabel, role::widthbox, role::heightlabel, role::heightbox,
                            role::donebutton, role::cancelbutton})
        platform.setVisible(control, true);

    // Pauses the game: the loop and the move handlers leave the puzzle alone in this state.
    game.loop.puzzlestate = gamestate::picturepanel;
}

}  // namespace

void puzzlemaker2::choosepicture_Click() { openpicturepanel(*this, puzzletype::regular, role::regularlist); }

void puzzlemaker2::choosepicture2_Click() { openpicturepanel(*this, puzzletype::animated, role::animatedlist); }

void puzzlemaker2::File1_Click() {
    const int index = platform().listIndex(role::regularlist);
    if (index < 0) return;  // a click that selected nothing picks nothing
    platform().setText(role::chosenbox, platform().listEntry(role::regularlist, index));
    // Re-reading the other list clears its selection: only the last list clicked shows one, and
    // it decides the type.
    platform().refreshList(role::animatedlist);
    puzzle.chosentype = puzzletype::regular;
}

void puzzlemaker2::File2_Click() {
    const int index = platform().listIndex(role::animatedlist);
    if (index < 0) return;
    platform().setText(role::chosenbox, platform().listEntry(role::animatedlist, index));
    puzzle.chosentype = puzzletype::animated;
    platform().refreshList(role::regularlist);
}

void puzzlemaker2::Text1_KeyUp(int /*keycode*/, int /*shift*/) { capsizebox(platform(), role::widthbox); }

void puzzlemaker2::Text2_Change() { capsizebox(platform(), role::heightbox); }

// Begin.
void puzzlemaker2::Command1_Click() {
    loop.begun = flag::on;
    if (platform().listCount(role::regularlist) == 0 && platform().listCount(role::animatedlist) == 0) return;

    platform().setMenuVisible(role::puzzlemenu, true);
    platform().setMenuVisible(role::solvingmenu, true);
    // Construction reads the choice from chosentype and the chosen-picture, width and height
    // boxes, and hides the set-up screen's controls.
    buildandarm(true);
    // The arrow keys move pieces only while the board has the keyboard focus.
    platform().setFocus(Control::Form);
}

// Done.
void puzzlemaker2::Command2_Click() {
    setpanelmenus(platform(), true);
    hidepicturepanel(platform());
    loop.puzzlestate = panel.savedstate;
    if (puzzle.chosentype == puzzletype::regular) {
        // Ends a finished display at once (also its frame wait); the regular picture replaces the
        // moving one.
        loop.donepressed = flag::on;
        platform().setVisible(role::movingpicture, false);
        loop.puzzlestate = gamestate::inplay;
    }
    // Tells the loop that the next puzzle is already built.
    puzzle.newmade = flag::on;
    // The frame clock keeps running: a frame wait under way ends on its own tick.
    buildandarm(false);
    platform().setFocus(Control::Form);
}

// Cancel.
void puzzlemaker2::Command3_Click() {
    setpanelmenus(platform(), true);
    platform().setText(role::widthbox, panel.savedwidth);
    platform().setText(role::heightbox, panel.savedheight);
    platform().setText(role::chosenbox, puzzle.picturefile);
    hidepicturepanel(platform());
    loop.puzzlestate = panel.savedstate;
    puzzle.chosentype = panel.savedtype;
    platform().setFocus(Control::Form);
}

}  // namespace pelorix
