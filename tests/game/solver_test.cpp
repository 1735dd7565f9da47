// SPDX-License-Identifier: MIT
// The computer solver: hand-over after player moves, pacing on the virtual clock, mode switches.
#include <gtest/gtest.h>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

// One computer step a refresh after the last: at pace 0 the computer moves once a refresh.
void step(Game& g) {
    g.fake.advance(g.fake.refreshMs);
    g.game.computerstep();
}

// Makes one random legal player move, as a click on a neighbour of the hole would.
void randomplayermove(puzzlemaker2& w, RandomSource& rng) {
    PuzzleState& s = w.puzzle;
    for (;;) {
        const int d = static_cast<int>(rng.next() * 4) + 1;
        const auto [sc, sr] = piececell(d, s.holex, s.holey);
        if (sc < 1 || sc > s.puzzlewidth || sr < 1 || sr > s.puzzleheight) continue;
        s.movedir = d;
        s.computermove = 0;
        w.slidepiece(sc, sr, d);
        return;
    }
}

TEST(Solver, HandedOverAfterRandomPlayerMovesItSolvesWithinTheRecordedMoves) {
    // Both ends of the grid sides (2 and 20) on either side, square and oblong grids, both types,
    // and no, one, some and many player moves before the hand-over; each with its own scramble.
    const struct {
        int w, h, animated, playermoves;
    } cases[] = {{2, 2, 0, 0},   {2, 2, 1, 7},     {20, 20, 0, 300}, {20, 20, 1, 0},  {2, 20, 0, 1},
                 {20, 2, 1, 150}, {3, 17, 1, 299}, {13, 4, 0, 42},   {7, 7, 1, 1},    {5, 11, 0, 0}};
    RandomSource rng(99);
    std::uint64_t seed = 0;
    for (const auto& [w, h, animated, playermoves] : cases) {
        Game g(++seed);
        g.buildtitle(w, h, animated);
        puzzlemaker2& game = g.game;
        PuzzleState& s = game.puzzle;
        SCOPED_TRACE(::testing::Message() << w << "x" << h << " animated " << animated << " seed " << seed);
        for (int i = 0; i < playermoves; ++i) {
            randomplayermove(game, rng);
            ASSERT_EQ(boardfault(s), "") << "after player move " << i;
        }
        const int budget = s.usermovetop + s.solvetop;
        game.loop.solvemode = solver::computer;
        game.loop.lastsolvemode = solver::user;
        game.loop.movetime = 0;
        game.loop.puzzlestate = gamestate::inplay;
        int moves = 0;
        while (s.placedcount < w * h - 1 && moves <= budget) {
            step(g);
            ++moves;
            ASSERT_EQ(boardfault(s), "") << "after computer move " << moves;
        }
        EXPECT_LE(moves, budget);
        EXPECT_TRUE(solved(s));
        EXPECT_EQ(s.usermovetop, 0);
    }
}

TEST(Solver, AnEmptyStackMovesNothingAndDrawsNothing) {
    Game g;
    g.buildtitle(4, 4, 0);
    PuzzleState& s = g.game.puzzle;
    s.solvetop = 0;
    s.freshpuzzle = 0;
    g.game.loop.movedue = 1;
    const Grid before = s.board;
    const QImage canvas = g.fake.canvas().image().copy();
    g.game.computerstep();
    EXPECT_EQ(s.board, before);
    EXPECT_EQ(s.solvetop, 0);
    EXPECT_EQ(s.movedir, 0);
    EXPECT_EQ(g.fake.canvas().image(), canvas);
}

TEST(Solver, WithMovetimeZeroItMovesOnceARefreshAndShowsEachMove) {
    // However fast or slow a pass is, the computer makes one move a refresh (16 ms here) and each
    // reaches the screen: a scramble is seen being undone, also in screen-saver solving (title
    // mode). Both title types (seeds 4 and 1), at Fast and at Slow animation.
    const struct {
        std::uint64_t seed;
        std::int64_t passCost;
        const char* pace;
    } cases[] = {{4, 0, "1"}, {4, 100, "0"}, {4, 3000, "1"}, {1, 0, "0"}, {1, 100, "1"}, {1, 3000, "0"}};
    for (const auto& c : cases) {
        Game g(c.seed);
        g.fake.files["movepiece.Time"] = "0";
        g.fake.files["animation.Time"] = c.pace;
        g.fake.passCost = c.passCost;
        long moves = 0;
        int lasttop = -1, shownAtStart = -1;
        g.fake.afterYield = [&] {
            const int top = g.game.puzzle.solvetop;
            if (lasttop > 0 && top == lasttop - 1) ++moves;
            if (shownAtStart < 0 && top > 0) shownAtStart = g.fake.framesShown;
            lasttop = top;
        };
        g.run(500, [&] { return g.game.loop.puzzlestate == gamestate::finished; });
        SCOPED_TRACE(::testing::Message() << "seed " << c.seed << " pass " << c.passCost << " pace " << c.pace
                                          << " animated " << g.game.puzzle.animated);
        EXPECT_GE(moves, 29);
        EXPECT_LE(moves, 32);  // 500 / 16 refreshes
        EXPECT_GE(g.fake.framesShown - shownAtStart, moves);
    }
}

TEST(Solver, SwitchingComputerModesMidPuzzleResynchronisesAndGoesOn) {
    Game g(6);
    g.buildtitle(5, 5, 0);
    puzzlemaker2& game = g.game;
    PuzzleState& s = game.puzzle;
    RandomSource rng(3);
    step(g);  // the fresh puzzle's first step only resynchronises in user mode
    for (int i = 0; i < 40; ++i) randomplayermove(game, rng);
    const int pending = s.usermovetop, scramble = s.solvetop;
    ASSERT_GT(pending, 0);
    const int newest = s.usermoves[pending];

    game.loop.movetime = 0;
    game.loop.puzzlestate = gamestate::inplay;
    game.loop.lastsolvemode = solver::user;
    game.loop.solvemode = solver::computer;
    step(g);
    // The player's moves went on top, oldest first, and the newest was undone first.
    EXPECT_EQ(s.movedir, newest);
    EXPECT_EQ(s.solvetop, scramble + pending - 1);
    EXPECT_EQ(s.usermovetop, 0);
    for (int i = 0; i < 10; ++i) step(g);

    const int top = s.solvetop;
    game.loop.lastsolvemode = solver::computer;
    game.loop.solvemode = solver::screensaver;
    step(g);
    EXPECT_EQ(s.solvetop, top - 1);
    game.loop.lastsolvemode = solver::screensaver;
    while (s.placedcount < 24 && s.solvetop > 0) step(g);
    EXPECT_TRUE(solved(s));
}

TEST(Solver, ATitlePuzzleIsSolvedFinishedAndFollowedOnItsOwn) {
    Game g(8);
    g.fake.files["newpuzzle.Time"] = "2";
    int finished = 0, wasState = 0;
    g.fake.beforeYield = [&](bool) {
        if (g.game.loop.puzzlestate == gamestate::finished && wasState != 4) ++finished;
        wasState = g.game.loop.puzzlestate;
    };
    g.run(60000, [&] { return finished >= 3; });
    EXPECT_GE(finished, 3);
    EXPECT_EQ(g.fake.freezes, 0);
}

}  // namespace
}  // namespace pelorix::testing
