// Building a new puzzle from the current options, and the "New puzzle" command.
#include <algorithm>
#include <cmath>

#include "game/puzzlemaker2.h"
#include "puzzle/construction.h"

namespace pelorix {

std::string picturenameof(const std::string& picturefile) {
    return picturefile.size() > 4 ? picturefile.substr(0, picturefile.size() - 4) : std::string();
}

void puzzlemaker2::makenewpuzzle() {
    PuzzleState& s = puzzle;
    const bool title = loop.phase == 0;

    s.newmade = 1;
    s.anipaused = 0;
    loop.started = loop.phase;
    s.freshpuzzle = 1;
    s.holex = 1;
    s.holey = 1;
    s.solvetop = 0;
    s.usermovetop = 0;
    // Old histories are discarded whole, so a long scramble leaves no memory behind.
    s.solvestack.clear();
    s.usermoves.clear();

    if (!title) choosetypeandpicture(*this);
    readpicturecolours();
    if (!title) readgridsize(*this);

    s.areawidth = static_cast<float>(platform_.clientWidth());
    s.areaheight = static_cast<float>(platform_.clientHeight());
    // A window narrower than the grid would give empty cells; keep every cell at least a pixel.
    s.piecewidth = std::max(1, static_cast<int>(std::floor(s.areawidth / static_cast<float>(s.puzzlewidth))));
    s.pieceheight = std::max(1, static_cast<int>(std::floor(s.areaheight / static_cast<float>(s.puzzleheight))));

    for (Control c : {Control::Label8, Control::File2, Control::Label5, Control::Text3, Control::File1, Control::Check1,
                      Control::Label1, Control::Text1, Control::Label2, Control::Text2, Control::Command1})
        platform_.setVisible(c, false);

    laysolvedboard(s);
    scramble(s, platform_);
    drawboard(*this);
    s.placedcount = 0;
    if (!title)
        platform_.setCaption(s.animated == 1 ? "Pelorix-(Solving animated puzzle)" : "Pelorix-(Solving regular puzzle)");

    // The moving picture is placed for every puzzle, regular ones included.
    const int framewidth = platform_.pictureInnerWidth(), frameheight = platform_.pictureInnerHeight();
    s.frameleft = static_cast<int>(std::floor((s.puzzlewidth * s.piecewidth - framewidth - 4) * platform_.random())) + 2;
    s.frametop = static_cast<int>(std::floor((s.puzzleheight * s.pieceheight - frameheight - 4) * platform_.random())) + 2;
    s.anidx = static_cast<int>(platform_.random() * 2) + 1 == 2 ? -1 : 1;
    s.anidy = static_cast<int>(platform_.random() * 2) + 1 == 2 ? -1 : 1;

    if (title) s.picturefile = s.animated == 0 ? "title1.bmp" : "title2.bmp";
    loop.phase = 1;

    if (s.animated == 1) {
        composeframe();
        movingstep(s.piecewidth * s.puzzlewidth, s.pieceheight * s.puzzleheight);
    }
    platform_.setMenuEnabled(Menu::dfgfgfg, s.animated == 1 && loop.started != 0);
}

void puzzlemaker2::newpuzzle_Click() {
    if (puzzle.animated == 1) puzzle.chosentype = 1;
    if (puzzle.animated == 0) puzzle.chosentype = 0;
    platform_.setTimerEnabled(TimerId::Timer2, false);
    platform_.setTimerEnabled(TimerId::Timer1, false);
    makenewpuzzle();
    loop.movedue = 0;
    rearmtimer1();
}

}  // namespace pelorix
