// SPDX-License-Identifier: MIT
// The move step (board update, redraw) and the history rule; the board's rules over many random games.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fakeplatform.h"
#include "gamefixture.h"
#include "game/puzzlemaker2.h"

namespace pelorix {
namespace {

using testing::colourAt;
using testing::FakePlatform;
using testing::layplayableboard;

int& cell(puzzlemaker2& g, int c, int r) { return g.puzzle.board[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]; }

// The cell of the piece that moves in direction d into the hole.
void sourcefor(const puzzlemaker2& g, int d, int& sc, int& sr) {
    const Cell from = piececell(d, g.puzzle.holex, g.puzzle.holey);
    sc = from.c;
    sr = from.r;
}

bool legal(const puzzlemaker2& g, int d) {
    int sc = 0, sr = 0;
    sourcefor(g, d, sc, sr);
    return sc >= 1 && sc <= g.puzzle.puzzlewidth && sr >= 1 && sr <= g.puzzle.puzzleheight;
}

// A scramble as construction records it: `steps` random legal moves of the hole, each undo code
// pushed on solvestack, nothing on usermoves.
void scramble(puzzlemaker2& g, std::mt19937& rng, int steps) {
    for (int i = 0; i < steps; ++i) {
        int d = 0;
        do d = std::uniform_int_distribution<int>(1, 4)(rng);
        while (!legal(g, d));
        int sc = 0, sr = 0;
        sourcefor(g, d, sc, sr);
        g.puzzle.computermove = 1;
        g.puzzle.movedir = d;
        g.slidepiece(sc, sr, d);
        ++g.puzzle.solvetop;
        g.puzzle.solvestack.set(g.puzzle.solvetop, undocode(d));
    }
    g.puzzle.computermove = 0;
}

// A player move through the move step, as the handlers make it.
void playermove(puzzlemaker2& g, int d) {
    int sc = 0, sr = 0;
    sourcefor(g, d, sc, sr);
    g.puzzle.computermove = 0;
    g.puzzle.movedir = d;
    g.slidepiece(sc, sr, d);
}

// The moves a replay performs: usermoves top-down, then solvestack top-down.
std::vector<int> replaysequence(const puzzlemaker2& g) {
    std::vector<int> seq;
    for (int i = g.puzzle.usermovetop; i >= 1; --i) seq.push_back(g.puzzle.usermoves[i]);
    for (int i = g.puzzle.solvetop; i >= 1; --i) seq.push_back(g.puzzle.solvestack[i]);
    return seq;
}

std::vector<int> layout(const puzzlemaker2& g) {
    std::vector<int> cells;
    for (int r = 1; r <= g.puzzle.puzzleheight; ++r)
        for (int c = 1; c <= g.puzzle.puzzlewidth; ++c)
            cells.push_back(g.puzzle.board[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
    return cells;
}

// Centre of cell (c, r): a point the hit test puts in that cell.
float centrex(const puzzlemaker2& g, int c) {
    return static_cast<float>(g.cellx(c)) + static_cast<float>(g.puzzle.piecewidth) / 2.0f;
}
float centrey(const puzzlemaker2& g, int r) {
    return static_cast<float>(g.celly(r)) + static_cast<float>(g.puzzle.pieceheight) / 2.0f;
}

// ------------------------------------------------------------------------------------------------
// shiftpiece / slidepiece: board, hole, placedcount

TEST(MoveStep, ShiftpieceMovesThePieceAndTheHole) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    layplayableboard(game, 4, 3, 100, 80);
    const int p = game.shiftpiece(2, 1);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(cell(game, 1, 1), 2);
    EXPECT_EQ(cell(game, 2, 1), 0);
    EXPECT_EQ(game.puzzle.holex, 2);
    EXPECT_EQ(game.puzzle.holey, 1);
    EXPECT_EQ(game.puzzle.placedcount, 10);  // piece 2 left its home
    EXPECT_EQ(game.puzzle.usermovetop, 0);   // shiftpiece records nothing
    EXPECT_EQ(testing::boardfault(game.puzzle), "");
}

TEST(MoveStep, PlacedcountUpDownAndUnchanged) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    layplayableboard(game, 3, 3, 100, 80);
    EXPECT_EQ(game.puzzle.placedcount, 8);
    playermove(game, dir::left);  // piece 2 leaves home: hole (2,1)
    EXPECT_EQ(game.puzzle.placedcount, 7);
    playermove(game, dir::right);  // piece 2 comes home
    EXPECT_EQ(game.puzzle.placedcount, 8);
    playermove(game, dir::left);  // piece 2 out again, hole (2,1)
    playermove(game, dir::up);    // piece 5 out: hole (2,2)
    EXPECT_EQ(game.puzzle.placedcount, 6);
    playermove(game, dir::right);  // piece 4 out: hole (1,2)
    EXPECT_EQ(game.puzzle.placedcount, 5);
    ASSERT_EQ(cell(game, 1, 1), 2);
    playermove(game, dir::down);  // piece 2 from (1,1) to (1,2): home in neither cell
    EXPECT_EQ(cell(game, 1, 2), 2);
    EXPECT_EQ(game.puzzle.placedcount, 5);
    EXPECT_EQ(testing::boardfault(game.puzzle), "");
}

// ------------------------------------------------------------------------------------------------
// recordmove: the history rule

TEST(MoveHistory, WorkedExampleMoveByMove) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    layplayableboard(game, 4, 4, 100, 80);
    // Hole in (2,2) so that every move of the example is legal.
    game.shiftpiece(2, 1);
    game.shiftpiece(2, 2);
    game.puzzle.solvestack.set(1, 3);
    game.puzzle.solvestack.set(2, 4);
    game.puzzle.solvestack.set(3, 2);
    game.puzzle.solvetop = 3;
    const int p32 = cell(game, 3, 2);

    // Slide left (a click on the piece right of the hole): retraces the scramble, pops the 2.
    game.Form_MouseDown(1, 0, centrex(game, 3), centrey(game, 2));
    EXPECT_EQ(cell(game, 2, 2), p32);
    EXPECT_EQ(game.puzzle.holex, 3);
    EXPECT_EQ(game.puzzle.solvetop, 2);
    EXPECT_EQ(game.puzzle.solvestack[3], 0);
    EXPECT_EQ(game.puzzle.usermovetop, 0);

    // Slide right: the 4 on top does not match, usermoves is empty: push the undo code 2.
    game.loop.inputlock = 0;
    game.Form_KeyDown(keys::Right, 0);
    EXPECT_EQ(cell(game, 3, 2), p32);
    EXPECT_EQ(game.puzzle.holex, 2);
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    EXPECT_EQ(game.puzzle.usermoves[1], 2);
    EXPECT_EQ(game.puzzle.solvetop, 2);

    // B pops that 2 and slides left, recording nothing.
    game.loop.inputlock = 0;
    game.Form_KeyDown(keys::B, 0);
    EXPECT_EQ(cell(game, 2, 2), p32);
    EXPECT_EQ(game.puzzle.holex, 3);
    EXPECT_EQ(game.puzzle.holey, 2);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.puzzle.usermoves[1], 0);
    EXPECT_EQ(game.puzzle.solvetop, 2);

    // A second B pops the 4 and slides up.
    const int p33 = cell(game, 3, 3);
    game.loop.inputlock = 0;
    game.Form_KeyDown(keys::B, 0);
    EXPECT_EQ(game.puzzle.solvetop, 1);
    EXPECT_EQ(game.puzzle.solvestack[2], 0);
    EXPECT_EQ(game.puzzle.solvestack[1], 3);
    EXPECT_EQ(cell(game, 3, 2), p33);
    EXPECT_EQ(game.puzzle.holex, 3);
    EXPECT_EQ(game.puzzle.holey, 3);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(testing::boardfault(game.puzzle), "");
}

TEST(MoveHistory, MoveRetracingTheScramblePopsIt) {
    FakePlatform fake(3);
    puzzlemaker2 game(fake);
    layplayableboard(game, 5, 4, 100, 80);
    std::mt19937 rng(7);
    scramble(game, rng, 30);
    const int top = game.puzzle.solvetop;
    const int d = game.puzzle.solvestack[top];
    playermove(game, d);
    EXPECT_EQ(game.puzzle.solvetop, top - 1);
    EXPECT_EQ(game.puzzle.solvestack[top], 0);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
}

TEST(MoveHistory, NonRetracingMovePushesItsUndoCode) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    layplayableboard(game, 4, 4, 100, 80);
    // Hole in (2,2); solvestack top 4 matches neither move below.
    game.shiftpiece(2, 1);
    game.shiftpiece(2, 2);
    game.puzzle.solvestack.set(1, 4);
    game.puzzle.solvetop = 1;
    playermove(game, dir::right);  // code 1 stores 2
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    EXPECT_EQ(game.puzzle.usermoves[1], 2);
    playermove(game, dir::down);  // code 3 stores 4
    EXPECT_EQ(game.puzzle.usermovetop, 2);
    EXPECT_EQ(game.puzzle.usermoves[2], 4);
    EXPECT_EQ(game.puzzle.solvetop, 1);
    // With usermoves not empty the solvestack top is not consulted, even when it matches.
    playermove(game, dir::left);  // code 2 stores 1; solvestack top 4 untouched
    EXPECT_EQ(game.puzzle.usermovetop, 3);
    EXPECT_EQ(game.puzzle.usermoves[3], 1);
    playermove(game, dir::up);  // matches neither tops (usermoves top 1): push 3
    EXPECT_EQ(game.puzzle.usermovetop, 4);
    EXPECT_EQ(game.puzzle.solvetop, 1);
}

TEST(MoveHistory, MoveAndReverseAfterAPushedMoveRestoreBothHistories) {
    FakePlatform fake(5);
    puzzlemaker2 game(fake);
    layplayableboard(game, 4, 4, 100, 80);
    std::mt19937 rng(11);
    scramble(game, rng, 25);
    // A move that does not retrace the scramble.
    int d = 0;
    for (int k = 1; k <= 4; ++k)
        if (legal(game, k) && k != game.puzzle.solvestack[game.puzzle.solvetop]) d = k;
    ASSERT_NE(d, 0);
    const auto board = layout(game);
    const auto seq = replaysequence(game);
    const int solvetop = game.puzzle.solvetop;
    playermove(game, d);
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    playermove(game, undocode(d));
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.puzzle.usermoves[1], 0);
    EXPECT_EQ(game.puzzle.solvetop, solvetop);
    EXPECT_EQ(layout(game), board);
    EXPECT_EQ(replaysequence(game), seq);
}

TEST(MoveHistory, MoveAndReverseAfterARetracingMoveKeepTheReplaySequence) {
    FakePlatform fake(5);
    puzzlemaker2 game(fake);
    layplayableboard(game, 4, 4, 100, 80);
    std::mt19937 rng(13);
    scramble(game, rng, 25);
    const auto board = layout(game);
    const auto seq = replaysequence(game);
    const int solvetop = game.puzzle.solvetop;
    const int d = game.puzzle.solvestack[solvetop];
    playermove(game, d);  // retraces: pops
    EXPECT_EQ(game.puzzle.solvetop, solvetop - 1);
    playermove(game, undocode(d));  // pushed on usermoves
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    EXPECT_EQ(game.puzzle.usermoves[1], d);
    EXPECT_EQ(game.puzzle.solvetop, solvetop - 1);
    EXPECT_EQ(layout(game), board);
    EXPECT_EQ(replaysequence(game), seq);
}

TEST(MoveHistory, ReplayedMovesAreNotRecorded) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    layplayableboard(game, 3, 3, 100, 80);
    game.puzzle.computermove = 1;
    game.slidepiece(2, 1, dir::left);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.puzzle.solvetop, 0);
    EXPECT_EQ(game.puzzle.holex, 2);
}

TEST(MoveHistory, HistoriesGrowPastOneHundredThousandMoves) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    layplayableboard(game, 2, 2, 4, 4);
    // Round and round the 2 × 2 board: never a take-back, every move pushed.
    const int cycle[4] = {dir::left, dir::up, dir::right, dir::down};
    const int moves = 100'004;
    for (int i = 0; i < moves; ++i) playermove(game, cycle[i % 4]);
    EXPECT_EQ(game.puzzle.usermovetop, moves);
    EXPECT_EQ(game.puzzle.usermoves[moves], undocode(cycle[(moves - 1) % 4]));
    EXPECT_EQ(game.puzzle.usermoves[100'001], undocode(cycle[100'000 % 4]));
    // Replaying them all solves the board.
    for (int i = 0; i < moves; ++i) {
        game.loop.inputlock = 0;
        game.Form_KeyDown(keys::B, 0);
    }
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_TRUE(testing::solved(game.puzzle));
}

// ------------------------------------------------------------------------------------------------
// redrawmove: the pixels

constexpr unsigned rgb(QRgb pixel) { return pixel & 0xFFFFFFu; }

class MoveRedraw : public ::testing::Test {
protected:
    FakePlatform fake{1};
    puzzlemaker2 game{fake};
    static constexpr int pw = 100;
    static constexpr int ph = 80;

    void SetUp() override {
        layplayableboard(game, 4, 4, pw, ph);
        game.puzzle.colour = 3;
        game.puzzle.colour2 = 15;
        fake.fillBox(0, 0, 753, 384, 0);  // black everywhere: untouched pixels stay 0
    }

    // Every pixel of the full box of cell (c, r) shows palette colour `colour`.
    void expectfullbox(int c, int r, int colour) {
        for (int y = game.celly(r) - 1; y <= game.celly(r) + ph - 2; ++y)
            for (int x = game.cellx(c) - 1; x <= game.cellx(c) + pw - 2; ++x)
                ASSERT_EQ(colourAt(fake.canvas(), x, y), colour) << x << "," << y;
    }
};

TEST_F(MoveRedraw, VacatedCellIsClearedOverItsFullBox) {
    game.slidepiece(2, 1, dir::left);
    expectfullbox(2, 1, 3);
    // Nothing right of or below the box.
    EXPECT_EQ(colourAt(fake.canvas(), game.cellx(3) - 1, 10), 0);
    EXPECT_EQ(colourAt(fake.canvas(), 150, game.celly(2) - 1), 0);
}

TEST_F(MoveRedraw, RegularPieceIsItsHomeRegionOfTheWindowPicture) {
    // Piece 6 (home (2,2)) travels left out of its home into (1,2)... make a route: hole to (2,2).
    game.puzzle.computermove = 1;
    game.slidepiece(1, 2, dir::up);  // piece 5 up into (1,1); hole (1,2)
    fake.fillBox(0, 0, 753, 384, 0);
    game.slidepiece(2, 2, dir::left);  // piece 6 into (1,2)
    ASSERT_EQ(cell(game, 1, 2), 6);
    const QImage& picture = fake.windowPicture();
    int differing = 0;
    for (int y = 0; y < ph - 1; ++y)
        for (int x = 0; x < pw - 1; ++x) {
            const unsigned want = rgb(picture.pixel(game.cellx(2) + x, game.celly(2) + y));
            const unsigned got = fake.canvas().pixel(game.cellx(1) + x, game.celly(2) + y);
            ASSERT_EQ(got, want) << x << "," << y;
            if (want != rgb(picture.pixel(game.cellx(1) + x, game.celly(2) + y))) ++differing;
        }
    EXPECT_GT(differing, 0) << "the test picture should tell the two regions apart";
    // The grid strip of the destination is not drawn by the piece.
    EXPECT_EQ(colourAt(fake.canvas(), game.cellx(1) - 1, game.celly(2) + 5), 0);
    EXPECT_EQ(colourAt(fake.canvas(), game.cellx(1) + 5, game.celly(2) - 1), 0);
    // The piece covers exactly (pw - 1) × (ph - 1).
    EXPECT_EQ(colourAt(fake.canvas(), game.cellx(1) + pw - 1, game.celly(2) + 5), 3);  // vacated (2,2) box
    expectfullbox(2, 2, 3);
}

TEST_F(MoveRedraw, AnimatedPieceOutsideTheFrameSpanShowsOnlyColour2) {
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.frameleft = 2000;  // far right of the board: no home cell of the grid is spanned
    game.puzzle.frametop = 2000;
    ASSERT_FALSE(game.framespan().contains(2, 1));
    game.slidepiece(2, 1, dir::left);  // (2,1) box cleared to colour
    fake.fillBox(0, 0, 99, 79, 0);
    game.slidepiece(1, 1, dir::right);  // piece 2 back home into (2,1)
    for (int y = game.celly(1); y <= game.celly(1) + ph - 2; ++y)
        for (int x = game.cellx(2); x <= game.cellx(2) + pw - 2; ++x)
            ASSERT_EQ(colourAt(fake.canvas(), x, y), 15) << x << "," << y;
    // The grid strip of the cell keeps colour.
    for (int y = game.celly(1) - 1; y <= game.celly(1) + ph - 2; ++y)
        ASSERT_EQ(colourAt(fake.canvas(), game.cellx(2) - 1, y), 3) << y;
    for (int x = game.cellx(2) - 1; x <= game.cellx(2) + pw - 2; ++x)
        ASSERT_EQ(colourAt(fake.canvas(), x, game.celly(1) - 1), 3) << x;
    expectfullbox(1, 1, 3);
}

TEST_F(MoveRedraw, AnimatedPieceInsideTheFrameSpanShowsTheFrameOverItsHome) {
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.frameleft = 30;
    game.puzzle.frametop = 20;
    ASSERT_TRUE(game.framespan().contains(2, 1));
    game.slidepiece(2, 1, dir::left);  // piece 2 (home (2,1)) into (1,1)
    const QImage& frame = fake.animationPicture();
    const int sx = game.cellx(2) - game.puzzle.frameleft;
    const int sy = game.celly(1) - game.puzzle.frametop;
    for (int y = 0; y < ph - 1; ++y)
        for (int x = 0; x < pw - 1; ++x) {
            const unsigned got = fake.canvas().pixel(game.cellx(1) + x, game.celly(1) + y);
            const bool inside = sx + x >= 0 && sx + x < frame.width() && sy + y >= 0 && sy + y < frame.height();
            if (inside) {
                ASSERT_EQ(got, rgb(frame.pixel(sx + x, sy + y))) << x << "," << y;
            } else {
                ASSERT_EQ(colourAt(fake.canvas(), game.cellx(1) + x, game.celly(1) + y), 15) << x << "," << y;
            }
        }
    expectfullbox(2, 1, 3);
}

// ------------------------------------------------------------------------------------------------
// The rules between moves over many random games

TEST(MoveProperty, RulesHoldAndReplaySolves) {
    int games = 0;
    for (std::uint64_t seed = 1; seed <= 120; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed * 7919));
        const int w = seed <= 2 ? (seed == 1 ? 2 : 20) : std::uniform_int_distribution<int>(2, 20)(rng);
        const int h = seed <= 2 ? (seed == 1 ? 2 : 20) : std::uniform_int_distribution<int>(2, 20)(rng);
        FakePlatform fake(seed);
        puzzlemaker2 game(fake);
        layplayableboard(game, w, h, 754 / w, 385 / h);
        game.puzzle.animated = static_cast<int>(seed % 3 == 0);
        scramble(game, rng, std::uniform_int_distribution<int>(0, 400)(rng));
        ASSERT_EQ(testing::boardfault(game.puzzle), "") << "seed " << seed;

        const int playermoves = std::uniform_int_distribution<int>(0, 300)(rng);
        for (int i = 0; i < playermoves; ++i) {
            game.loop.inputlock = 0;
            const int how = std::uniform_int_distribution<int>(0, 9)(rng);
            if (how < 4) {
                // A click on a random neighbour of the hole.
                int d = 0;
                do d = std::uniform_int_distribution<int>(1, 4)(rng);
                while (!legal(game, d));
                int sc = 0, sr = 0;
                sourcefor(game, d, sc, sr);
                game.Form_MouseDown(1, 0, centrex(game, sc), centrey(game, sr));
                ASSERT_EQ(game.puzzle.holex, sc);
                ASSERT_EQ(game.puzzle.holey, sr);
            } else if (how < 9) {
                const int key = std::uniform_int_distribution<int>(keys::Left, keys::Down)(rng);
                game.Form_KeyDown(key, 0);
            } else {
                game.Form_KeyDown(keys::B, 0);
            }
            ASSERT_EQ(testing::boardfault(game.puzzle), "") << "seed " << seed << " move " << i;
        }

        const int budget = game.puzzle.usermovetop + game.puzzle.solvetop;
        int presses = 0;
        while (game.puzzle.usermovetop + game.puzzle.solvetop > 0) {
            game.loop.inputlock = 0;
            game.Form_KeyDown(keys::B, 0);
            ASSERT_EQ(game.loop.inputlock, 1);
            ++presses;
            ASSERT_LE(presses, budget);
            ASSERT_EQ(testing::boardfault(game.puzzle), "") << "seed " << seed << " replay " << presses;
        }
        EXPECT_TRUE(testing::solved(game.puzzle)) << "seed " << seed << " " << w << "x" << h;
        EXPECT_EQ(game.puzzle.placedcount, w * h - 1);
        EXPECT_EQ(game.puzzle.holex, 1);
        EXPECT_EQ(game.puzzle.holey, 1);
        ++games;
    }
    EXPECT_EQ(games, 120);
}

// The same over puzzles built by the construction: its scramble is what the B presses
// retrace after the player's own moves are taken back.
TEST(MoveProperty, BuiltPuzzlesReplayToSolved) {
    const int sizes[][2] = {{2, 2}, {3, 5}, {4, 4}, {9, 2}, {20, 20}, {13, 7}};
    std::uint64_t seed = 100;
    for (const auto& size : sizes) {
        for (int animated = 0; animated <= 1; ++animated) {
            ++seed;
            testing::Game g(seed);
            g.fake.maximize();
            g.buildtitle(size[0], size[1], animated);
            puzzlemaker2& game = g.game;
            ASSERT_EQ(game.puzzle.puzzlewidth, size[0]);
            ASSERT_EQ(game.puzzle.puzzleheight, size[1]);
            ASSERT_EQ(testing::boardfault(game.puzzle), "");
            ASSERT_EQ(game.puzzle.usermovetop, 0);
            game.loop.started = phase::play;
            game.loop.phase = phase::play;
            game.loop.puzzlestate = gamestate::inplay;
            game.loop.solvemode = solver::user;
            std::mt19937 rng(static_cast<unsigned>(seed));
            for (int i = 0; i < 200; ++i) {
                game.loop.inputlock = 0;
                if (i % 3 == 0) {
                    int d = 0;
                    do d = std::uniform_int_distribution<int>(1, 4)(rng);
                    while (!legal(game, d));
                    int sc = 0, sr = 0;
                    sourcefor(game, d, sc, sr);
                    game.Form_MouseDown(1, 0, centrex(game, sc), centrey(game, sr));
                } else {
                    game.Form_KeyDown(std::uniform_int_distribution<int>(keys::Left, keys::Down)(rng), 0);
                }
                ASSERT_EQ(testing::boardfault(game.puzzle), "") << "move " << i;
            }
            const int budget = game.puzzle.usermovetop + game.puzzle.solvetop;
            int presses = 0;
            while (game.puzzle.usermovetop + game.puzzle.solvetop > 0 && presses <= budget) {
                game.loop.inputlock = 0;
                game.Form_KeyDown(keys::B, 0);
                ++presses;
            }
            EXPECT_LE(presses, budget);
            EXPECT_TRUE(testing::solved(game.puzzle)) << size[0] << "x" << size[1] << " animated " << animated;
            EXPECT_EQ(game.puzzle.placedcount, size[0] * size[1] - 1);
        }
    }
}

}  // namespace
}  // namespace pelorix
