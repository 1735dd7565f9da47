// SPDX-License-Identifier: MIT
// Whole-picture repaint, the animated board's frames, and the free-moving picture of a finished display.
#include <algorithm>
#include <array>

#include "game/puzzlemaker2.h"

namespace pelorix {

void puzzlemaker2::repaintpicture() {
    // The copy is as large as the window; only the part inside the picture is drawn, so the
    // result of the copy says nothing worth acting on.
    static_cast<void>(
        platform_.copyPicture(PictureId::Window, 0, 0, platform_.clientWidth(), platform_.clientHeight(), 0, 0));
}

FrameSpan puzzlemaker2::framespan() const {
    const int pw = puzzle.piecewidth, ph = puzzle.pieceheight;
    const int right = puzzle.frameleft + platform_.pictureInnerWidth();
    const int bottom = puzzle.frametop + platform_.pictureInnerHeight();
    FrameSpan s;
    if (pw < 1 || ph < 1) return s;  // no grid has been built yet
    while (cellx(s.c0) + pw - 1 < puzzle.frameleft) ++s.c0;
    s.c1 = s.c0;
    while (cellx(s.c1) + pw - 1 < right) ++s.c1;
    while (celly(s.r0) + ph - 1 < puzzle.frametop) ++s.r0;
    s.r1 = s.r0;
    while (celly(s.r1) + ph - 1 < bottom) ++s.r1;
    return s;
}

void puzzlemaker2::composeframe() {
    const FrameSpan span = framespan();
    const int pw = puzzle.piecewidth, ph = puzzle.pieceheight;
    // Home cells past the grid's edge hold no piece of this puzzle, whatever an earlier, larger
    // puzzle left in the tables there.
    const int lastrow = std::min(span.r1, puzzle.puzzleheight);
    const int lastcol = std::min(span.c1, puzzle.puzzlewidth);
    for (int hr = span.r0; hr <= lastrow; ++hr) {
        for (int hc = span.c0; hc <= lastcol; ++hc) {
            const int p = puzzle.homeboard[hc][hr];
            int dc = 0, dr = 0;
            for (int r = 1; r <= puzzle.puzzleheight && dc == 0; ++r)
                for (int c = 1; c <= puzzle.puzzlewidth; ++c)
                    if (puzzle.board[c][r] == p) {
                        dc = c;
                        dr = r;
                        break;
                    }
            // Piece 1 never lies on the board: the hole took its place.
            if (dc == 0 || (dc == puzzle.holex && dr == puzzle.holey)) continue;
            platform_.fillBox(cellx(dc), celly(dr), cellx(dc) + pw - 2, celly(dr) + ph - 2, puzzle.colour2);
            // Where the source lies off the picture nothing is copied and the colour2 fill shows.
            static_cast<void>(platform_.copyPicture(PictureId::Picture1, cellx(dc), celly(dr), pw - 1, ph - 1,
                                                    cellx(hc) - puzzle.frameleft, celly(hr) - puzzle.frametop));
        }
    }
}

void puzzlemaker2::movingstep(int limitx, int limity) {
    // The test comes before the step, so the picture turns on the very step that reaches an edge.
    if (puzzle.frameleft + platform_.pictureOuterWidth() >= limitx || puzzle.frameleft <= 0) puzzle.anidx = -puzzle.anidx;
    if (puzzle.frametop + platform_.pictureOuterHeight() >= limity || puzzle.frametop <= 0) puzzle.anidy = -puzzle.anidy;
    puzzle.frameleft += puzzle.anidx;
    puzzle.frametop += puzzle.anidy;
}

void puzzlemaker2::framewait(bool orDone) {
    loop.hbmv = flag::off;
    platform_.setTimerInterval(TimerId::Timer2, loop.nwait4);
    platform_.setTimerEnabled(TimerId::Timer2, true);
    // The wait also ends if a command stops the frame clock (a new puzzle being built), since
    // no tick could ever come then.
    auto over = [&] {
        return loop.hbmv == flag::on || (orDone && loop.donepressed == flag::on) ||
               !platform_.timerEnabled(TimerId::Timer2);
    };
    do {
        yieldturn(!over());
    } while (!over());
    platform_.setTimerEnabled(TimerId::Timer2, false);
}

void puzzlemaker2::displaypace() {
    // A Slow frame waits for the frame clock, which ticks at most once a refresh: each one is shown.
    if (loop.nwait4 != pace::fast) {
        platform_.showFrame();
        return;
    }
    if (platform_.refreshCount() != loop.framerefresh) {
        // A new refresh: its frames are counted afresh, so a pause never turns into a burst.
        loop.framerefresh = platform_.refreshCount();
        loop.refreshframes = 0;
    }
    if (++loop.refreshframes < pace::fastframesperrefresh) return;
    platform_.showFrame();
    // The wait ends early when an event changes what the loop does next (a click, a panel, the end
    // of a finished display, a pause or a new pace), so that the change shows at once.
    const auto course = [this] {
        return std::array{loop.phase,         loop.puzzlestate, loop.solvemode,     loop.nwait4,
                          loop.donepressed,   puzzle.anipaused, puzzle.freshpuzzle, puzzle.newmade};
    };
    const auto before = course();
    while (platform_.refreshCount() == loop.framerefresh && course() == before) {
        platform_.wakeAtRefresh();
        yieldturn(true);
    }
}

void puzzlemaker2::framestep() {
    composeframe();
    displaypace();
    if (loop.nwait4 != pace::fast) framewait(false);
    if (puzzle.anipaused == flag::off)
        movingstep(puzzle.piecewidth * puzzle.puzzlewidth, puzzle.pieceheight * puzzle.puzzleheight);
}

void puzzlemaker2::finishedfill() {
    platform_.fillBox(0, 0, static_cast<int>(puzzle.areawidth), static_cast<int>(puzzle.areaheight), puzzle.colour2);
}

void puzzlemaker2::finishedframe() {
    if (loop.nwait4 != pace::fast) framewait(true);
    const bool shown = panelshown();
    const int ow = platform_.pictureOuterWidth(), oh = platform_.pictureOuterHeight();
    if (!shown && loop.puzzlestate != gamestate::inplay) {
        // The two-unit margin erases the picture's previous place, one unit away.
        platform_.fillBox(puzzle.frameleft - 2, puzzle.frametop - 2, puzzle.frameleft + ow + 2, puzzle.frametop + oh + 2,
                          puzzle.colour2);
        // The whole picture from its own origin: nothing of it lies off the picture.
        static_cast<void>(platform_.copyPicture(PictureId::Picture1, puzzle.frameleft, puzzle.frametop, ow, oh, 0, 0));
        displaypace();
    }
    if (!shown && puzzle.anipaused == flag::off)
        movingstep(static_cast<int>(puzzle.areawidth), static_cast<int>(puzzle.areaheight));
}

}  // namespace pelorix
