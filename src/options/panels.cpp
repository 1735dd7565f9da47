// The picture panels and the set-up screen: picking a picture file and the grid size, Begin, Done, Cancel.
#include <initializer_list>

#include "game/puzzlemaker2.h"
#include "options/numbers.h"
#include "options/panelmenus.h"

namespace pelorix {

namespace {

// Everything a picture panel may show; Done and Cancel hide all of it.
constexpr std::initializer_list<Control> picturepanelcontrols = {
    Control::Label5, Control::Text3, Control::File1, Control::File2, Control::Label1,
    Control::Text1,  Control::Label2, Control::Text2, Control::Command2, Control::Command3,
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
    platform.setText(Control::Text3,
                     game.puzzle.animated == type ? game.puzzle.picturefile : platform.listEntry(list, 0));
    game.panel.savedwidth = platform.text(Control::Text1);
    game.panel.savedheight = platform.text(Control::Text2);

    platform.setVisible(Control::Label5, true);
    platform.setVisible(Control::Text3, true);
    // The animated list takes the regular list's place, and keeps it from then on.
    if (type == 1) platform.setLeft(Control::File2, platform.left(Control::File1));
    for (Control control : {list, Control::Label1, Control::Text1, Control::Label2, Control::Text2,
                            Control::Command2, Control::Command3})
        platform.setVisible(control, true);

    // Pauses the game: the loop and the move handlers leave the puzzle alone in this state.
    game.loop.puzzlestate = -5;
}

}  // namespace

void puzzlemaker2::choosepicture_Click() { openpicturepanel(*this, 0, Control::File1); }

void puzzlemaker2::choosepicture2_Click() { openpicturepanel(*this, 1, Control::File2); }

void puzzlemaker2::File1_Click() {
    const int index = platform().listIndex(Control::File1);
    if (index < 0) return;  // a click that selected nothing picks nothing
    platform().setText(Control::Text3, platform().listEntry(Control::File1, index));
    // Re-reading the other list clears its selection: only the last list clicked shows one, and
    // it decides the type.
    platform().refreshList(Control::File2);
    puzzle.chosentype = 0;
}

void puzzlemaker2::File2_Click() {
    const int index = platform().listIndex(Control::File2);
    if (index < 0) return;
    platform().setText(Control::Text3, platform().listEntry(Control::File2, index));
    puzzle.chosentype = 1;
    platform().refreshList(Control::File1);
}

void puzzlemaker2::Text1_KeyUp(int /*keycode*/, int /*shift*/) { capsizebox(platform(), Control::Text1); }

void puzzlemaker2::Text2_Change() { capsizebox(platform(), Control::Text2); }

void puzzlemaker2::Command1_Click() {
    loop.begun = 1;
    if (platform().listCount(Control::File1) == 0 && platform().listCount(Control::File2) == 0) return;

    platform().setMenuVisible(Menu::puzzle7, true);
    platform().setMenuVisible(Menu::soptions, true);
    platform().setTimerEnabled(TimerId::Timer1, false);
    platform().setTimerEnabled(TimerId::Timer2, false);
    // Construction reads the choice from chosentype, Text3, Text1 and Text2 and hides the set-up
    // screen's controls.
    makenewpuzzle();
    loop.movedue = 0;
    rearmtimer1();
    // The arrow keys move pieces only while the board has the keyboard focus.
    platform().setFocus(Control::Form);
}

void puzzlemaker2::Command2_Click() {
    setpanelmenus(platform(), true);
    hidepicturepanel(platform());
    loop.puzzlestate = panel.savedstate;
    if (puzzle.chosentype == 0) {
        // Ends a finished display at once (also its frame wait); the regular picture replaces the
        // moving one.
        loop.donepressed = 1;
        platform().setVisible(Control::Picture1, false);
        loop.puzzlestate = 3;
    }
    platform().setTimerEnabled(TimerId::Timer1, false);
    // Tells the loop that the next puzzle is already built.
    puzzle.newmade = 1;
    makenewpuzzle();
    loop.movedue = 0;
    rearmtimer1();
    platform().setFocus(Control::Form);
}

void puzzlemaker2::Command3_Click() {
    setpanelmenus(platform(), true);
    platform().setText(Control::Text1, panel.savedwidth);
    platform().setText(Control::Text2, panel.savedheight);
    platform().setText(Control::Text3, puzzle.picturefile);
    hidepicturepanel(platform());
    loop.puzzlestate = panel.savedstate;
    puzzle.chosentype = panel.savedtype;
    platform().setFocus(Control::Form);
}

}  // namespace pelorix
