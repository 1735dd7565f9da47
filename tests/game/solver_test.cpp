// SPDX-License-Identifier: MIT
// The computer solver: hand-over after player moves, pacing on the virtual clock, mode switches.
#include <gtest/gtest.h>

#include "gamefixture.h"

namespace pelorix::testing {
namespace {

// One computer step a millisecond after the last: at pace 0 one move (the shortest interval).
void step(Game& g) {
    g.fake.advance(1);
    g.game.computerstep();
}

// The first computer step of a new puzzle, which shows its scrambled board and moves nothing, and
// the wait for the next refresh, after which it moves.
void firststep(Game& g) {
    g.game.computerstep();
    g.fake.advance(g.fake.refreshMs);
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
        firststep(g);
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

// The computer's moves a second while a title puzzle of one type is solved, each pass of the loop
// costing 100 us, from the first move to the last; and whether the scrambled board was shown and
// stayed for a refresh before the first move.
struct Solving {
    double movesPerSecond = 0;
    bool shownFirst = false;
};

Solving solving(std::uint64_t seed, const char* movetime, const char* animation) {
    Game g(seed);
    g.fake.files["movepiece.Time"] = movetime;
    g.fake.files["animation.Time"] = animation;
    long moves = 0;
    int lasttop = -1, shownAtBuild = -1;
    double built = -1, first = -1, last = -1;
    Solving out;
    g.fake.afterYield = [&] {
        const PuzzleState& s = g.game.puzzle;
        if (built < 0 && s.freshpuzzle == flag::on) built = g.fake.nowMs();
        if (lasttop > s.solvetop && s.solvetop >= 0) {
            if (first < 0) {
                first = g.fake.nowMs();
                const long long refresh = g.fake.refreshMs;
                out.shownFirst = g.fake.framesShown > shownAtBuild &&
                                 static_cast<long long>(first) / refresh > static_cast<long long>(built) / refresh;
            }
            moves += lasttop - s.solvetop;
            last = g.fake.nowMs();
        }
        if (shownAtBuild < 0 && built >= 0) shownAtBuild = g.fake.framesShown;
        lasttop = s.solvetop;
    };
    g.run(20000, [&] { return g.game.loop.puzzlestate == gamestate::finished; });
    if (last > first) out.movesPerSecond = 1000.0 * static_cast<double>(moves - 1) / (last - first);
    return out;
}

TEST(Solver, MovesAtTheSetPaceOnEveryKindOfPuzzleAndZeroIsTheFastest) {
    // A move every 10 x movetime ms within 15 %, on a regular and an animated title puzzle at
    // either animation pace (the animated one is held to a frame a refresh at Slow, four at Fast);
    // pace 0 is never slower than 0.5. Refreshes of 16 ms.
    const std::uint64_t regular = 1, animated = animatedseed();
    const struct {
        std::uint64_t seed;
        const char* animation;
    } kinds[] = {{regular, "0"}, {animated, "0"}, {animated, "1"}};
    for (const auto& kind : kinds) {
        double previous = 0;
        for (const auto& [movetime, expected] : {std::pair{"5", 20.0}, {"1", 100.0}, {"0.5", 200.0}, {"0", 0.0}}) {
            SCOPED_TRACE(::testing::Message() << "seed " << kind.seed << " animation " << kind.animation
                                              << " movetime " << movetime);
            const Solving s = solving(kind.seed, movetime, kind.animation);
            EXPECT_TRUE(s.shownFirst);
            if (expected > 0) {
                EXPECT_GE(s.movesPerSecond, 0.85 * expected);
                EXPECT_LE(s.movesPerSecond, 1.15 * expected);
            }
            EXPECT_GT(s.movesPerSecond, previous);
            previous = s.movesPerSecond;
        }
    }
}

TEST(Solver, SwitchingComputerModesMidPuzzleResynchronisesAndGoesOn) {
    Game g(6);
    g.buildtitle(5, 5, 0);
    puzzlemaker2& game = g.game;
    PuzzleState& s = game.puzzle;
    RandomSource rng(3);
    firststep(g);  // the fresh puzzle's first step only resynchronises in user mode
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
