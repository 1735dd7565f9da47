// SPDX-License-Identifier: MIT
// Start-up, the title puzzles and the opening of the set-up screen.
#include "game/puzzlemaker2.h"
#include "puzzle/construction.h"

namespace pelorix {

void puzzlemaker2::Form_Activate() {
    try {
        loop.nwait4 = pace::fast;
        // The title puzzles use the pictures in memory, so a file that cannot be written costs
        // nothing but the file.
        static_cast<void>(platform_.savePicture(PictureId::Window, "title1.bmp"));
        static_cast<void>(platform_.savePicture(PictureId::Picture1, "title2.bmp"));
        platform_.refreshList(role::regularlist);
        platform_.refreshList(role::animatedlist);
        platform_.setText(role::chosenbox, platform_.listEntry(role::regularlist, 0));
        readstartupsettings();
        platform_.refreshList(role::regularlist);
        loop.solvemode = solver::user;
        platform_.randomize(platform_.timeOfDay());
        puzzle.puzzlewidth = 4;
        puzzle.puzzleheight = 4;
        loop.phase = phase::title;
        for (;;) mainpass();
    } catch (const ProgramEnded&) {
        // The window was closed or Quit chosen: nothing is saved on the way out.
    }
}

void puzzlemaker2::starttitlepuzzle() {
    loop.solvemode = solver::screensaver;
    drawbuiltinpicture();
    puzzle.chosentype = puzzle.animated;
    loop.puzzlestate = gamestate::inplay;
    puzzle.dcolour = defaultcolour::hole;
    puzzle.dcolour2 = defaultcolour::background;
    puzzle.colour = puzzle.dcolour;
    puzzle.colour2 = puzzle.dcolour2;
    readpicturecolours();
    buildandarm(true);
}

void puzzlemaker2::drawbuiltinpicture() {
    // Drawn by lot: title1 gives a regular puzzle, title2 an animated one.
    const int r = static_cast<int>(platform_.random() * 2) + 1;
    puzzle.animated = r == 1 ? puzzletype::regular : puzzletype::animated;
    puzzle.picturefile = r == 1 ? "title1.bmp" : "title2.bmp";
    puzzle.picturename = picturenameof(puzzle.picturefile);
}

void puzzlemaker2::opensetupscreen() {
    puzzle.animated = puzzletype::regular;
    puzzle.chosentype = puzzletype::regular;
    loop.solvemode = solver::user;
    // The title puzzle's move timer has nothing left to pace; stopping it spares needless wake-ups.
    platform_.setTimerEnabled(TimerId::Timer1, false);
    repaintpicture();
    loop.phase = phase::play;
    loop.started = phase::play;
    loop.puzzlestate = gamestate::setupscreen;
    for (Control c : {role::widthlabel, role::heightlabel, role::chosenlabel, role::animatedlabel, role::regularlist,
                      role::animatedlist, role::widthbox, role::heightbox, role::chosenbox, role::beginbutton})
        platform_.setVisible(c, true);
    platform_.setMenuVisible(role::instructionsmenu, true);
    platform_.setMenuVisible(role::keyhelpmenu, true);
    readdefaultcolours();
    platform_.setCaption("Pelorix");
}

}  // namespace pelorix
