// Animated boards: the frame span, the bounce, frame composition, pause, pace, and the finished display.
#include <gtest/gtest.h>

#include <array>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

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

// Starts the loop and returns once an animated title puzzle is in play.
void untilanimatedtitle(Game& g, double ms) {
    g.run(ms, [&] { return g.game.puzzle.animated == 1 && g.game.puzzle.solvetop > 0; });
}

std::uint64_t animatedseed() {
    for (std::uint64_t seed = 1;; ++seed) {
        Game g(seed);
        untilanimatedtitle(g, 1);
        if (g.game.puzzle.animated == 1) return seed;
    }
}

TEST(AnimationPace, APausedAnimationIsNeitherComposedNorMovedAndTheComputerWaits) {
    Game g(animatedseed());
    bool paused = false;
    int left = 0, top = 0, stack = 0;
    long timer2 = 0;
    g.fake.afterYield = [&] {
        if (!paused && g.game.puzzle.animated == 1 && g.game.puzzle.solvetop > 0) {
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

// Frames drawn per virtual second, counted by the moving picture's steps.
double framespersecond(const char* pace) {
    Game g(animatedseed());
    g.fake.files["animation.Time"] = pace;
    g.fake.files["movepiece.Time"] = "1000";  // keep the board still
    long steps = 0;
    int last = -1;
    g.fake.afterYield = [&] {
        if (g.game.puzzle.animated != 1) return;
        if (last >= 0 && g.game.puzzle.frameleft != last) ++steps;
        last = g.game.puzzle.frameleft;
    };
    g.run(1000);
    return static_cast<double>(steps);
}

TEST(AnimationPace, SlowWaitsForTheFrameClockAndFastDoesNot) {
    const double slow = framespersecond("1");
    const double fast = framespersecond("0");
    EXPECT_GT(slow, 300);
    EXPECT_LE(slow, 1001);  // one frame per 1 ms Timer2 tick at most
    EXPECT_GT(fast, 2 * slow);
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
        if (!asked && g.game.puzzle.animated == 1 && g.fake.timerEnabled(TimerId::Timer2) && g.fake.nowMs() > 50) {
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
    EXPECT_GT(stepsAfter, 300);
    EXPECT_EQ(g.fake.freezes, 0);
}

TEST(FinishedDisplay, ARegularPuzzleIsRepaintedWhole) {
    Game g(1);
    g.fake.files["movepiece.Time"] = "0";
    g.run(60000, [&] { return g.game.loop.puzzlestate == 4 && g.game.puzzle.animated == 0; });
    ASSERT_EQ(g.game.loop.puzzlestate, 4);
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
        if (g.game.loop.puzzlestate != 4 || g.game.puzzle.animated != 1) return;
        minleft = std::min(minleft, g.game.puzzle.frameleft);
        maxright = std::max(maxright, g.game.puzzle.frameleft + 269);
        mintop = std::min(mintop, g.game.puzzle.frametop);
        maxbottom = std::max(maxbottom, g.game.puzzle.frametop + 238);
    };
    double finishedAt = -1;
    g.run(60000, [&] {
        if (g.game.loop.puzzlestate == 4 && finishedAt < 0) finishedAt = g.fake.nowMs();
        return finishedAt >= 0 && g.fake.nowMs() > finishedAt + 1000;
    });
    ASSERT_EQ(g.game.loop.puzzlestate, 4);
    // With no frame delay the picture crosses the area many times; it stays within it.
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
