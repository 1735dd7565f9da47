// SPDX-License-Identifier: MIT
// The computer solver: hand-over after player moves, pacing on the virtual clock, mode switches.
#include <gtest/gtest.h>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

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
            game.computerstep();
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

TEST(Solver, WithMovetimeZeroItMovesOnEveryPass) {
    // A regular title puzzle: an animated one's passes also wait for the display.
    std::uint64_t seed = 1;
    for (;; ++seed) {
        Game probe(seed);
        probe.run(1, [&] { return probe.game.puzzle.solvetop > 0; });
        if (probe.game.puzzle.animated == puzzletype::regular) break;
    }
    Game g(seed);
    g.fake.files["movepiece.Time"] = "0";
    std::vector<int> tops;
    int steps = 0;
    // Sample the stack at the first yield of every pass (the second yield follows without a move).
    g.fake.afterYield = [&] {
        if (++steps % 2 == 1) tops.push_back(g.game.puzzle.solvetop);
    };
    g.run(20, [&] { return tops.size() > 40; });
    ASSERT_GT(tops.size(), 40u);
    for (std::size_t i = 2; i < tops.size(); ++i) EXPECT_EQ(tops[i], tops[i - 1] - 1) << "pass " << i;
}

TEST(Solver, SwitchingComputerModesMidPuzzleResynchronisesAndGoesOn) {
    Game g(6);
    g.buildtitle(5, 5, 0);
    puzzlemaker2& game = g.game;
    PuzzleState& s = game.puzzle;
    RandomSource rng(3);
    game.computerstep();  // the fresh puzzle's first step only resynchronises in user mode
    for (int i = 0; i < 40; ++i) randomplayermove(game, rng);
    const int pending = s.usermovetop, scramble = s.solvetop;
    ASSERT_GT(pending, 0);
    const int newest = s.usermoves[pending];

    game.loop.movetime = 0;
    game.loop.puzzlestate = gamestate::inplay;
    game.loop.lastsolvemode = solver::user;
    game.loop.solvemode = solver::computer;
    game.computerstep();
    // The player's moves went on top, oldest first, and the newest was undone first.
    EXPECT_EQ(s.movedir, newest);
    EXPECT_EQ(s.solvetop, scramble + pending - 1);
    EXPECT_EQ(s.usermovetop, 0);
    for (int i = 0; i < 10; ++i) game.computerstep();

    const int top = s.solvetop;
    game.loop.lastsolvemode = solver::computer;
    game.loop.solvemode = solver::screensaver;
    game.computerstep();
    EXPECT_EQ(s.solvetop, top - 1);
    game.loop.lastsolvemode = solver::screensaver;
    while (s.placedcount < 24 && s.solvetop > 0) game.computerstep();
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
