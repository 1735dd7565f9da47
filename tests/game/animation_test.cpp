// SPDX-License-Identifier: MIT
// Animated boards: the frame span, the bounce, frame composition, pause, pace, and the finished display.
#include <gtest/gtest.h>

#include <array>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

// The colour of the coordinate picture's pixel (x, y), 0 <= x < 512, 0 <= y < 256.
unsigned coordinatecolour(int x, int y) {
    return 0x800000u | static_cast<unsigned>(x) << 8 | static_cast<unsigned>(y);
}

struct SpanCase {
    int frameleft, frametop;
    FrameSpan expected;
};

TEST(FrameSpan, CountsTheCellsUnderTheMovingPicture) {
    Game g;
    PuzzleState& s = g.game.puzzle;
    s.piecewidth = 100;
    s.pieceheight = 50;
    s.puzzlewidth = 6;
    s.puzzleheight = 8;
    // Picture 267 × 236: a column spans when its right edge cellx + 99 reaches frameleft.
    const std::array<SpanCase, 5> cases{{
        {0, 0, {1, 3, 1, 5}},
        {100, 50, {1, 4, 1, 6}},
        {101, 51, {2, 4, 2, 6}},
        {333, 164, {4, 6, 4, 8}},
        {-5, -5, {1, 3, 1, 5}},
    }};
    for (const SpanCase& c : cases) {
        s.frameleft = c.frameleft;
        s.frametop = c.frametop;
        const FrameSpan span = g.game.framespan();
        EXPECT_EQ(span.c0, c.expected.c0) << c.frameleft;
        EXPECT_EQ(span.c1, c.expected.c1) << c.frameleft;
        EXPECT_EQ(span.r0, c.expected.r0) << c.frametop;
        EXPECT_EQ(span.r1, c.expected.r1) << c.frametop;
    }
}

// The span's edges where a frame edge lands exactly on a cell boundary. Cells are 100 × 50 and
// the picture 267 × 236, so the right edge is frameleft + 267 and the bottom frametop + 236. A
// column spans from the first whose last unit cellx + 99 reaches frameleft, to the first whose
// last unit reaches the right edge: a right edge one past a column's last unit reaches into the next.
TEST(FrameSpan, EdgesOnACellBoundary) {
    Game g;
    PuzzleState& s = g.game.puzzle;
    s.piecewidth = 100;
    s.pieceheight = 50;
    s.puzzlewidth = 6;
    s.puzzleheight = 8;
    const std::array<SpanCase, 6> cases{{
        {100, 50, {1, 4, 1, 6}},   // left and top on the first cell's last unit
        {33, 14, {1, 3, 1, 5}},    // right edge 300, bottom 250: on column 3's and row 5's last unit
        {34, 15, {1, 4, 1, 6}},    // right edge 301, bottom 251: one unit into column 4 and row 6
        {35, 16, {1, 4, 1, 6}},
        {233, 114, {3, 5, 3, 7}},  // right edge 500: column 5's last unit
        {234, 115, {3, 6, 3, 8}},  // right edge 501
    }};
    for (const SpanCase& c : cases) {
        s.frameleft = c.frameleft;
        s.frametop = c.frametop;
        const FrameSpan span = g.game.framespan();
        EXPECT_EQ(span.c0, c.expected.c0) << c.frameleft;
        EXPECT_EQ(span.c1, c.expected.c1) << c.frameleft;
        EXPECT_EQ(span.r0, c.expected.r0) << c.frametop;
        EXPECT_EQ(span.r1, c.expected.r1) << c.frametop;
    }
}

struct BounceCase {
    int left, dx, top, dy;
    int newleft, newdx, newtop, newdy;
};

TEST(MovingStep, TurnsOnTheVeryStepThatReachesAnEdge) {
    Game g;
    PuzzleState& s = g.game.puzzle;
    // Limits 600 × 400; the picture is 269 × 238 with its border.
    const std::array<BounceCase, 6> cases{{
        {1, -1, 100, 1, 0, -1, 101, 1},      // one unit from the left edge: no turn yet
        {0, -1, 100, 1, 1, 1, 101, 1},       // at the left edge: turns right at once
        {331, 1, 100, 1, 330, -1, 101, 1},   // right edge reached: 331 + 269 = 600
        {330, 1, 100, 1, 331, 1, 101, 1},
        {50, 1, 162, 1, 51, 1, 161, -1},     // bottom edge: 162 + 238 = 400
        {50, 1, 0, -1, 51, 1, 1, 1},         // top edge
    }};
    for (const BounceCase& c : cases) {
        s.frameleft = c.left;
        s.anidx = c.dx;
        s.frametop = c.top;
        s.anidy = c.dy;
        g.game.movingstep(600, 400);
        EXPECT_EQ(s.frameleft, c.newleft) << c.left;
        EXPECT_EQ(s.anidx, c.newdx) << c.left;
        EXPECT_EQ(s.frametop, c.newtop) << c.top;
        EXPECT_EQ(s.anidy, c.newdy) << c.top;
    }
}

TEST(Composition, DrawsOnlyTheSpanAndSkipsTheHomeCellOfTheHole) {
    Game g(12);
    g.buildtitle(4, 4, 1);
    puzzlemaker2& w = g.game;
    PuzzleState& s = w.puzzle;
    s.frameleft = 2;  // the span is columns 1-2 and rows 1-3 of 188 × 96 cells
    s.frametop = 2;
    g.fake.fillBox(0, 0, 800, 400, 0);
    w.composeframe();
    const FrameSpan span = w.framespan();
    ASSERT_EQ(span.c1, 2);
    ASSERT_EQ(span.r1, 3);
    const QImage& picture = g.fake.animationPicture();
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 4; ++c) {
            const int p = s.board[c][r];
            const int hc = p == 0 ? 1 : (p - 1) % 4 + 1, hr = p == 0 ? 1 : (p - 1) / 4 + 1;
            const unsigned shown = g.fake.canvas().pixel(w.cellx(c) + 150, w.celly(r) + 80);
            if (p != 0 && span.contains(hc, hr)) {
                const int sx = w.cellx(hc) + 150 - s.frameleft, sy = w.celly(hr) + 80 - s.frametop;
                const unsigned scene = picture.rect().contains(sx, sy) ? picture.pixel(sx, sy) & 0xFFFFFFu : 0xFFFFFFu;
                EXPECT_EQ(shown, scene) << "cell " << c << "," << r << " piece " << p;
            } else {
                EXPECT_EQ(shown, 0u) << "cell " << c << "," << r << " piece " << p;
            }
        }
    }
}

TEST(Composition, APieceShowsThePartOfTheSceneOverItsHomeCell) {
    Game g(14);
    g.buildtitle(4, 4, 1);
    puzzlemaker2& w = g.game;
    PuzzleState& s = w.puzzle;
    s.frameleft = 150;
    s.frametop = 40;
    w.composeframe();
    const QImage& picture = g.fake.animationPicture();
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 4; ++c) {
            const int p = s.board[c][r];
            if (p == 0) continue;
            const int hc = (p - 1) % 4 + 1, hr = (p - 1) / 4 + 1;
            if (!w.framespan().contains(hc, hr)) continue;
            // The home cell's point (cellx(hc) + 60, celly(hr) + 30) of the scene, shown in cell (c, r).
            const int sx = w.cellx(hc) + 60 - s.frameleft, sy = w.celly(hr) + 30 - s.frametop;
            const unsigned expected = picture.rect().contains(sx, sy) ? picture.pixel(sx, sy) & 0xFFFFFFu : 0xFFFFFFu;
            EXPECT_EQ(g.fake.canvas().pixel(w.cellx(c) + 60, w.celly(r) + 30), expected) << "piece " << p;
        }
    }
}

// A moving picture whose every pixel encodes its own coordinates, so a drawn pixel tells exactly
// which point of the picture it came from. The top bit keeps it apart from black and white.
QImage coordinatepicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, coordinatecolour(x, y));
    return picture;
}

// What a composed frame shows at offset (dx, dy) of cell (c, r): the scene point over the same
// offset of the piece's home cell when that home cell lies in the span (colour2's white where the
// point is off the picture), otherwise whatever was there before (`untouched`).
unsigned expectedframepixel(const puzzlemaker2& w, const FrameSpan& span, int c, int r, int dx, int dy,
                            unsigned untouched) {
    const PuzzleState& s = w.puzzle;
    const int p = s.board[c][r];
    if (p == 0) return untouched;
    const int hc = (p - 1) % s.puzzlewidth + 1, hr = (p - 1) / s.puzzlewidth + 1;
    if (!span.contains(hc, hr)) return untouched;
    const int sx = w.cellx(hc) + dx - s.frameleft, sy = w.celly(hr) + dy - s.frametop;
    const bool onpicture = sx >= 0 && sx < 267 && sy >= 0 && sy < 236;
    return onpicture ? coordinatecolour(sx, sy) : 0xFFFFFFu;
}

struct FrameCase {
    int frameleft, frametop;
};

// Every piece is checked at its corners and next to them: a source shifted by one unit shows
// the neighbouring point of the picture. The small puzzle follows a larger one, whose home
// numbers stay in the tables beyond the small grid; a frame reaching past the grid must not draw
// those stale home cells' pieces.
TEST(Composition, EachPieceShowsExactlyTheScenePointsOverItsHomeCell) {
    Game g(12);
    g.fake.setAnimationPicture(coordinatepicture(267, 236));
    g.buildtitle(6, 6, 1);
    g.buildtitle(4, 4, 1);
    puzzlemaker2& w = g.game;
    PuzzleState& s = w.puzzle;
    ASSERT_EQ(s.piecewidth, 188);
    ASSERT_EQ(s.pieceheight, 96);
    ASSERT_EQ(s.homeboard[5][1], 5) << "the larger puzzle's home numbers stay beyond the grid";
    const std::array<FrameCase, 4> cases{{
        {700, 2},    // columns 4-6, rows 1-3: the span reaches past the grid
        {2, 200},    // columns 1-2, rows 3-5
        {-100, -50}, // the picture hangs over the top-left corner
        {300, 100},
    }};
    const unsigned untouched = 0x000000;
    for (const FrameCase& f : cases) {
        s.frameleft = f.frameleft;
        s.frametop = f.frametop;
        g.fake.fillBox(0, 0, 800, 400, 0);
        w.composeframe();
        const FrameSpan span = w.framespan();
        for (int r = 1; r <= 4; ++r) {
            for (int c = 1; c <= 4; ++c) {
                for (int dx : {0, 1, 186}) {
                    for (int dy : {0, 1, 94}) {
                        const unsigned shown = g.fake.canvas().pixel(w.cellx(c) + dx, w.celly(r) + dy);
                        ASSERT_EQ(shown, expectedframepixel(w, span, c, r, dx, dy, untouched))
                            << "frame at " << f.frameleft << "," << f.frametop << " cell " << c << "," << r
                            << " piece " << s.board[c][r] << " offset " << dx << "," << dy;
                    }
                }
                // The grid-line strip at the cell's left is never drawn by the composition.
                EXPECT_EQ(g.fake.canvas().pixel(w.cellx(c) - 1, w.celly(r) + 5), untouched) << c << "," << r;
            }
        }
    }
}

TEST(AnimationPace, APausedAnimationIsNeitherComposedNorMovedAndTheComputerWaits) {
    Game g(animatedseed());
    bool paused = false;
    int left = 0, top = 0, stack = 0;
    long timer2 = 0;
    g.fake.afterYield = [&] {
        if (!paused && g.game.puzzle.animated == puzzletype::animated && g.game.puzzle.solvetop > 0) {
            g.game.puzzle.anipaused = 1;
            paused = true;
            left = g.game.puzzle.frameleft;
            top = g.game.puzzle.frametop;
            stack = g.game.puzzle.solvetop;
        }
        if (g.fake.timerEnabled(TimerId::Timer2)) ++timer2;
    };
    g.run(2000);
    ASSERT_TRUE(paused);
    EXPECT_EQ(g.game.puzzle.frameleft, left);
    EXPECT_EQ(g.game.puzzle.frametop, top);
    EXPECT_EQ(g.game.puzzle.solvetop, stack);
    EXPECT_EQ(timer2, 0);
}

// Frames drawn (counted by the moving picture's steps) and shown in the first virtual second of an
// animated puzzle in play, or of its finished display, with each pass of the loop costing
// `passCost` microseconds (a slow or busy machine costs more).
struct FrameRate {
    long drawn = 0, shown = 0;
};
FrameRate framespersecond(const char* pace, std::int64_t passCost, bool finished) {
    Game g(animatedseed());
    g.fake.files["animation.Time"] = pace;
    g.fake.files["movepiece.Time"] = finished ? "0" : "1000";  // solved at once, or the board kept still
    g.fake.passCost = passCost;
    FrameRate rate;
    double from = -1;
    int last = 0, shownBefore = 0;
    g.fake.afterYield = [&] {
        const PuzzleState& s = g.game.puzzle;
        if (s.animated != puzzletype::animated || (finished && g.game.loop.puzzlestate != gamestate::finished)) return;
        if (from < 0) {
            from = g.fake.nowMs();
            shownBefore = g.fake.framesShown;
        } else if (s.frameleft != last) {
            ++rate.drawn;
        }
        last = s.frameleft;
        rate.shown = g.fake.framesShown - shownBefore;
    };
    g.run(60000, [&] { return from >= 0 && g.fake.nowMs() >= from + 1000; });
    return rate;
}

TEST(AnimationPace, SlowDrawsAndShowsOneFrameARefreshAndFastDrawsFourAndShowsOneAtAnyMachineSpeed) {
    // 62.5 refreshes of 16 ms in a second; a busy pass of 5 ms still leaves room for Fast's four.
    // Each Slow frame is shown; of Fast's, the last of each refresh. The same in play (where the
    // new board is shown once more, before the computer's first move) and in the finished display.
    const struct {
        const char* pace;
        std::int64_t passCost;
        bool finished;
        long least, most;  // frames drawn
    } cases[] = {{"1", 0, false, 58, 63},   {"1", 100, false, 58, 63},  {"1", 5000, false, 58, 63},
                 {"0", 0, false, 235, 251}, {"0", 100, false, 235, 251}, {"0", 1000, false, 235, 251},
                 {"1", 100, true, 58, 63},  {"0", 100, true, 235, 251}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "pace " << c.pace << ", pass " << c.passCost << " us"
                                          << (c.finished ? ", finished" : ""));
        const FrameRate rate = framespersecond(c.pace, c.passCost, c.finished);
        EXPECT_GE(rate.drawn, c.least);
        EXPECT_LE(rate.drawn, c.most);
        EXPECT_GE(rate.shown, 58);
        EXPECT_LE(rate.shown, 64);
    }
}

TEST(AnimationPace, ANewPuzzleBuiltDuringAFrameWaitDoesNotStopTheAnimation) {
    Game g(animatedseed());
    g.fake.files["animation.Time"] = "1";
    g.fake.files["movepiece.Time"] = "1000";
    bool asked = false;
    long stepsAfter = 0;
    int last = 0;
    g.fake.beforeYield = [&](bool) {
        // In the middle of a frame wait, a command stops the frame clock and builds a new puzzle.
        if (!asked && g.game.puzzle.animated == puzzletype::animated && g.fake.timerEnabled(TimerId::Timer2) &&
            g.fake.nowMs() > 50) {
            g.fake.post(g.menu(Menu::newpuzzle));
            asked = true;
        }
    };
    g.fake.afterYield = [&] {
        if (asked && g.game.puzzle.frameleft != last) ++stepsAfter;
        last = g.game.puzzle.frameleft;
    };
    g.run(1000);
    ASSERT_TRUE(asked);
    EXPECT_GT(stepsAfter, 40);
    EXPECT_EQ(g.fake.freezes, 0);
}

TEST(FinishedDisplay, ARegularPuzzleIsRepaintedWhole) {
    Game g(1);
    g.fake.files["movepiece.Time"] = "0";
    g.run(60000, [&] {
        return g.game.loop.puzzlestate == gamestate::finished && g.game.puzzle.animated == puzzletype::regular;
    });
    ASSERT_EQ(g.game.loop.puzzlestate, gamestate::finished);
    const QImage& picture = g.fake.windowPicture();
    for (int y = 0; y < 385; y += 7)
        for (int x = 0; x < 754; x += 11)
            ASSERT_EQ(g.fake.canvas().pixel(x, y), picture.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
}

TEST(FinishedDisplay, AnAnimatedPuzzleIsClearedAndThePictureRoamsTheWholeArea) {
    Game g(animatedseed());
    g.fake.files["movepiece.Time"] = "0";
    int minleft = 100000, maxright = -100000, mintop = 100000, maxbottom = -100000;
    g.fake.afterYield = [&] {
        if (g.game.loop.puzzlestate != gamestate::finished || g.game.puzzle.animated != puzzletype::animated) return;
        minleft = std::min(minleft, g.game.puzzle.frameleft);
        maxright = std::max(maxright, g.game.puzzle.frameleft + 269);
        mintop = std::min(mintop, g.game.puzzle.frametop);
        maxbottom = std::max(maxbottom, g.game.puzzle.frametop + 238);
    };
    double finishedAt = -1;
    g.run(60000, [&] {
        if (g.game.loop.puzzlestate == gamestate::finished && finishedAt < 0) finishedAt = g.fake.nowMs();
        return finishedAt >= 0 && g.fake.nowMs() > finishedAt + 4000;
    });
    ASSERT_EQ(g.game.loop.puzzlestate, gamestate::finished);
    // At Fast the picture crosses the area twice in four seconds; it stays within it.
    EXPECT_GE(minleft, -1);
    EXPECT_LE(maxright, 754 + 1);
    EXPECT_GE(mintop, -1);
    EXPECT_LE(maxbottom, 385 + 1);
    EXPECT_LT(minleft, 10);
    EXPECT_GT(maxright, 740);
    // The grid is gone: a corner far from the picture shows colour2.
    const PuzzleState& s = g.game.puzzle;
    const int x = s.frameleft > 377 ? 5 : 748, y = s.frametop > 190 ? 5 : 380;
    EXPECT_EQ(colourAt(g.fake.canvas(), x, y), 15);
}

}  // namespace
}  // namespace pelorix::testing
