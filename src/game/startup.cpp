// Start-up, the title puzzles and the opening of the set-up screen.
#include "game/puzzlemaker2.h"
#include "puzzle/construction.h"

namespace pelorix {

void puzzlemaker2::Form_Activate() {
    try {
        loop.nwait4 = 0;
        platform_.savePicture(PictureId::Window, "title1.bmp");
        platform_.savePicture(PictureId::Picture1, "title2.bmp");
        platform_.refreshList(Control::File1);
        platform_.refreshList(Control::File2);
        platform_.setText(Control::Text3, platform_.listEntry(Control::File1, 0));
        readstartupsettings();
        platform_.refreshList(Control::File1);
        loop.solvemode = 0;
        platform_.randomize(platform_.timeOfDay());
        puzzle.puzzlewidth = 4;
        puzzle.puzzleheight = 4;
        loop.phase = 0;
        for (;;) mainpass();
    } catch (const ProgramEnded&) {
        // The window was closed or Quit chosen: nothing is saved on the way out.
    }
}

void puzzlemaker2::starttitlepuzzle() {
    loop.solvemode = 2;
    const int r = static_cast<int>(platform_.random() * 2) + 1;
    puzzle.chosentype = r - 1;
    puzzle.animated = puzzle.chosentype;
    loop.puzzlestate = 3;
    puzzle.picturefile = r == 1 ? "title1.bmp" : "title2.bmp";
    puzzle.picturename = picturenameof(puzzle.picturefile);
    puzzle.dcolour = 3;
    puzzle.dcolour2 = 15;
    puzzle.colour = puzzle.dcolour;
    puzzle.colour2 = puzzle.dcolour2;
    readpicturecolours();
    platform_.setTimerEnabled(TimerId::Timer1, false);
    platform_.setTimerEnabled(TimerId::Timer2, false);
    makenewpuzzle();
    loop.movedue = 0;
    rearmtimer1();
}

void puzzlemaker2::opensetupscreen() {
    puzzle.animated = 0;
    puzzle.chosentype = 0;
    loop.solvemode = 0;
    // The title puzzle's move timer has nothing left to pace; stopping it spares needless wake-ups.
    platform_.setTimerEnabled(TimerId::Timer1, false);
    repaintpicture();
    loop.phase = 1;
    loop.started = 1;
    loop.puzzlestate = 0;
    for (Control c : {Control::Label1, Control::Label2, Control::Label5, Control::Label8, Control::File1,
                      Control::File2, Control::Text1, Control::Text2, Control::Text3, Control::Command1})
        platform_.setVisible(c, true);
    platform_.setMenuVisible(Menu::instructions, true);
    platform_.setMenuVisible(Menu::fdgff, true);
    readdefaultcolours();
    platform_.setCaption("Pelorix");
}

}  // namespace pelorix
