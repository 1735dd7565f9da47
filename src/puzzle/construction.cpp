// SPDX-License-Identifier: MIT
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
    const bool title = loop.phase == phase::title;

    s.newmade = flag::on;
    s.anipaused = flag::off;
    loop.started = loop.phase;
    s.freshpuzzle = flag::on;
    s.holex = 1;
    s.holey = 1;
    s.solvetop = 0;
    s.usermovetop = 0;
    // Old histories are discarded whole, so a long scramble leaves no memory behind.
    s.solvestack.clear();
    s.usermoves.clear();

    if (!title) choosetypeandpicture(*this);
    readpicturecolours();
    if (!title) {
        // Outside title mode every construction leaves a puzzle in play.
        loop.puzzlestate = gamestate::inplay;
        readgridsize(*this);
    }

    s.areawidth = static_cast<float>(platform_.clientWidth());
    s.areaheight = static_cast<float>(platform_.clientHeight());
    // A window narrower than the grid would give empty cells; keep every cell at least a pixel.
    s.piecewidth = std::max(1, static_cast<int>(std::floor(s.areawidth / static_cast<float>(s.puzzlewidth))));
    s.pieceheight = std::max(1, static_cast<int>(std::floor(s.areaheight / static_cast<float>(s.puzzleheight))));

    // The set-up screen's controls.
    for (Control c : {role::animatedlabel, role::animatedlist, role::chosenlabel, role::chosenbox, role::regularlist,
                      role::randomcheck, role::widthlabel, role::widthbox, role::heightlabel, role::heightbox,
                      role::beginbutton})
        platform_.setVisible(c, false);

    laysolvedboard(s);
    scramble(s, platform_);
    drawboard(*this);
    s.placedcount = 0;
    if (!title)
        platform_.setCaption(s.animated == puzzletype::animated ? "Pelorix-(Solving animated puzzle)"
                                                                 : "Pelorix-(Solving regular puzzle)");

    // The moving picture is placed for every puzzle, regular ones included.
    const int framewidth = platform_.pictureInnerWidth(), frameheight = platform_.pictureInnerHeight();
    s.frameleft = static_cast<int>(std::floor((s.puzzlewidth * s.piecewidth - framewidth - 4) * platform_.random())) + 2;
    s.frametop = static_cast<int>(std::floor((s.puzzleheight * s.pieceheight - frameheight - 4) * platform_.random())) + 2;
    s.anidx = static_cast<int>(platform_.random() * 2) + 1 == 2 ? -1 : 1;
    s.anidy = static_cast<int>(platform_.random() * 2) + 1 == 2 ? -1 : 1;

    if (title) s.picturefile = s.animated == puzzletype::regular ? "title1.bmp" : "title2.bmp";
    loop.phase = phase::play;

    if (s.animated == puzzletype::animated) {
        composeframe();
        movingstep(s.piecewidth * s.puzzlewidth, s.pieceheight * s.puzzleheight);
    }
    platform_.setMenuEnabled(role::animationtogglehelp,
                             s.animated == puzzletype::animated && loop.started != phase::title);
}

void puzzlemaker2::newpuzzle_Click() {
    // With chosen pictures the next puzzle keeps the current type.
    if (puzzle.animated == puzzletype::animated) puzzle.chosentype = puzzletype::animated;
    if (puzzle.animated == puzzletype::regular) puzzle.chosentype = puzzletype::regular;
    buildandarm(true);
}

}  // namespace pelorix
