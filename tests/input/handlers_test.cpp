// SPDX-License-Identifier: MIT
// The mouse and key handlers, the hit test and the input turn.
#include <gtest/gtest.h>

#include <vector>

#include "fakeplatform.h"
#include "gamefixture.h"
#include "game/puzzlemaker2.h"

namespace pelorix {
namespace {

using testing::FakePlatform;
using testing::layplayableboard;

int cell(const puzzlemaker2& g, int c, int r) {
    return g.puzzle.board[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
}

// Moves the hole to (c, r) without recording anything (column first, then row).
void movehole(puzzlemaker2& g, int c, int r) {
    while (g.puzzle.holex < c) g.shiftpiece(g.puzzle.holex + 1, g.puzzle.holey);
    while (g.puzzle.holex > c) g.shiftpiece(g.puzzle.holex - 1, g.puzzle.holey);
    while (g.puzzle.holey < r) g.shiftpiece(g.puzzle.holex, g.puzzle.holey + 1);
    while (g.puzzle.holey > r) g.shiftpiece(g.puzzle.holex, g.puzzle.holey - 1);
}

std::vector<int> layout(const puzzlemaker2& g) {
    std::vector<int> cells;
    for (int r = 1; r <= g.puzzle.puzzleheight; ++r)
        for (int c = 1; c <= g.puzzle.puzzlewidth; ++c) cells.push_back(cell(g, c, r));
    return cells;
}

std::vector<int> replaysequence(const puzzlemaker2& g) {
    std::vector<int> seq;
    for (int i = g.puzzle.usermovetop; i >= 1; --i) seq.push_back(g.puzzle.usermoves[i]);
    for (int i = g.puzzle.solvetop; i >= 1; --i) seq.push_back(g.puzzle.solvestack[i]);
    return seq;
}

float centrex(const puzzlemaker2& g, int c) {
    return static_cast<float>(g.cellx(c)) + static_cast<float>(g.puzzle.piecewidth) / 2.0f;
}
float centrey(const puzzlemaker2& g, int r) {
    return static_cast<float>(g.celly(r)) + static_cast<float>(g.puzzle.pieceheight) / 2.0f;
}

class InputTest : public ::testing::Test {
protected:
    FakePlatform fake{1};
    puzzlemaker2 game{fake};
    void SetUp() override { layplayableboard(game, 4, 4, 200, 100); }
    void click(int c, int r, int button = 1) { game.Form_MouseDown(button, 0, centrex(game, c), centrey(game, r)); }
    void key(int code) { game.Form_KeyDown(code, 0); }
    void newturn() { game.loop.inputlock = 0; }
};

// ------------------------------------------------------------------------------------------------
// Hit test

using MouseHitTest = InputTest;

TEST_F(MouseHitTest, ColumnsAtTheCellEdges) {
    int c = 0, r = 0;
    ASSERT_TRUE(game.hittest(0.5f, 50, c, r));
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(game.hittest(400.5f, 50, c, r));
    EXPECT_EQ(c, 2);
    ASSERT_TRUE(game.hittest(401, 50, c, r));
    EXPECT_EQ(c, 3);
    EXPECT_FALSE(game.hittest(801, 50, c, r));
    ASSERT_TRUE(game.hittest(800.5f, 50, c, r));
    EXPECT_EQ(c, 4);
    ASSERT_TRUE(game.hittest(0.5f, 250.5f, c, r));
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 3);
}

TEST_F(MouseHitTest, BoundariesAreStrictAndFirstCellWins) {
    int c = 0, r = 0;
    // The strip x = cellx(c) - 1 belongs to column c - 1.
    ASSERT_TRUE(game.hittest(200, 50, c, r));
    EXPECT_EQ(c, 1);
    ASSERT_TRUE(game.hittest(201, 50, c, r));
    EXPECT_EQ(c, 2);
    // Left of the grid down to 1 - piecewidth (exclusive) falls in column 1.
    ASSERT_TRUE(game.hittest(-198.5f, 50, c, r));
    EXPECT_EQ(c, 1);
    EXPECT_FALSE(game.hittest(-199, 50, c, r));
    // Rows follow the same rule: y = 101 is row 2, y = 401 is below the last row.
    ASSERT_TRUE(game.hittest(50, 101, c, r));
    EXPECT_EQ(r, 2);
    ASSERT_TRUE(game.hittest(50, 100, c, r));
    EXPECT_EQ(r, 1);
    ASSERT_TRUE(game.hittest(50, -98.5f, c, r));
    EXPECT_EQ(r, 1);
    EXPECT_FALSE(game.hittest(50, -99, c, r));
    EXPECT_FALSE(game.hittest(50, 401, c, r));
    ASSERT_TRUE(game.hittest(50, 400.5f, c, r));
    EXPECT_EQ(r, 4);
}

// ------------------------------------------------------------------------------------------------
// Mouse

using MouseInput = InputTest;

TEST_F(MouseInput, ClickNextToTheHoleSlidesThePiece) {
    movehole(game, 2, 2);
    const int table[4][3] = {{3, 2, dir::left}, {1, 2, dir::right}, {2, 3, dir::up}, {2, 1, dir::down}};
    for (const auto& t : table) {
        layplayableboard(game, 4, 4, 200, 100);
        movehole(game, 2, 2);
        const int p = cell(game, t[0], t[1]);
        click(t[0], t[1]);
        EXPECT_EQ(cell(game, 2, 2), p);
        EXPECT_EQ(cell(game, t[0], t[1]), 0);
        EXPECT_EQ(game.puzzle.holex, t[0]);
        EXPECT_EQ(game.puzzle.holey, t[1]);
        EXPECT_EQ(game.puzzle.movedir, t[2]);
        EXPECT_EQ(game.puzzle.computermove, 0);
        EXPECT_EQ(game.puzzle.usermovetop, 1);  // a mouse move is recorded
        EXPECT_EQ(game.puzzle.usermoves[1], undocode(t[2]));
        EXPECT_EQ(game.loop.inputlock, 1);
    }
}

TEST_F(MouseInput, HoleDiagonalAndDistantPiecesMoveNothingButUseTheTurn) {
    movehole(game, 2, 2);
    const auto before = layout(game);
    const int cells[][2] = {{2, 2}, {1, 1}, {3, 3}, {1, 3}, {3, 1}, {4, 2}, {2, 4}, {4, 4}};
    for (const auto& at : cells) {
        newturn();
        click(at[0], at[1]);
        EXPECT_EQ(layout(game), before) << at[0] << "," << at[1];
        EXPECT_EQ(game.loop.inputlock, 1);
        EXPECT_EQ(game.puzzle.usermovetop, 0);
    }
}

TEST_F(MouseInput, OutsideTheGridMovesNothing) {
    movehole(game, 4, 4);
    const auto before = layout(game);
    game.Form_MouseDown(1, 0, 801, 350);  // right of the last column, beside a movable piece's row
    EXPECT_EQ(layout(game), before);
    EXPECT_EQ(game.loop.inputlock, 1);
    newturn();
    game.Form_MouseDown(1, 0, 750, 401);  // below the last row
    EXPECT_EQ(layout(game), before);
    EXPECT_EQ(game.loop.inputlock, 1);
}

TEST_F(MouseInput, OtherButtonsNeverMoveAPiece) {
    const auto before = layout(game);
    for (int button : {2, 4}) {
        newturn();
        click(2, 1, button);
        EXPECT_EQ(layout(game), before);
        EXPECT_EQ(game.loop.inputlock, 1);
    }
    // Not even before the first click: the title stays, the turn is used.
    game.loop.started = phase::title;
    game.loop.phase = phase::title;
    newturn();
    click(2, 1, 2);
    EXPECT_EQ(game.loop.phase, phase::title);
    EXPECT_EQ(game.loop.started, phase::title);
    EXPECT_EQ(game.loop.inputlock, 1);
    EXPECT_EQ(layout(game), before);
}

TEST_F(MouseInput, FirstLeftClickLeavesTheTitleAndKeepsTheTurnOpen) {
    game.loop.started = phase::title;
    game.loop.phase = phase::play;
    game.loop.puzzlestate = gamestate::finished;  // the title's finished display
    game.loop.solvemode = solver::screensaver;
    const auto before = layout(game);
    click(2, 1);
    EXPECT_EQ(game.loop.puzzlestate, gamestate::inplay);
    EXPECT_EQ(game.loop.phase, phase::titleclicked);
    EXPECT_EQ(game.loop.started, phase::titleclicked);
    EXPECT_EQ(game.loop.inputlock, 0);
    EXPECT_EQ(layout(game), before);
}

TEST_F(MouseInput, ComputerSolvingIgnoresClicks) {
    for (int mode : {solver::computer, solver::screensaver}) {
        layplayableboard(game, 4, 4, 200, 100);
        game.loop.solvemode = mode;
        const auto before = layout(game);
        click(2, 1);
        EXPECT_EQ(layout(game), before);
        EXPECT_EQ(game.loop.inputlock, 1);
    }
}

TEST_F(MouseInput, PausedIgnoresEveryPressAndKeepsTheTurnOpen) {
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.anipaused = 1;
    const auto before = layout(game);
    click(2, 1);
    EXPECT_EQ(layout(game), before);
    EXPECT_EQ(game.loop.inputlock, 0);
    game.loop.started = phase::title;
    click(2, 1);
    EXPECT_EQ(game.loop.phase, phase::play);
    EXPECT_EQ(game.loop.inputlock, 0);
}

TEST_F(MouseInput, ClickOnAFinishedPuzzleEndsTheDisplayAndMovesNothing) {
    game.loop.puzzlestate = gamestate::finished;
    const auto before = layout(game);
    click(2, 1);  // a piece next to the hole
    EXPECT_EQ(game.loop.puzzlestate, gamestate::inplay);
    EXPECT_EQ(layout(game), before);
    EXPECT_EQ(game.loop.inputlock, 1);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
}

TEST_F(MouseInput, OtherStatesOnlyUseTheTurn) {
    for (int state : {gamestate::setupscreen, gamestate::picturepanel}) {
        layplayableboard(game, 4, 4, 200, 100);
        game.loop.puzzlestate = state;
        const auto before = layout(game);
        click(2, 1);
        EXPECT_EQ(layout(game), before);
        EXPECT_EQ(game.loop.puzzlestate, state);
        EXPECT_EQ(game.loop.inputlock, 1);
    }
}

// ------------------------------------------------------------------------------------------------
// Input turns

using InputTurn = InputTest;

TEST_F(InputTurn, TwoClicksInOneTurnMoveOnePiece) {
    movehole(game, 2, 2);
    click(3, 2);  // moves: hole to (3,2)
    const auto after = layout(game);
    click(3, 3);  // would move, but the turn is used up
    EXPECT_EQ(layout(game), after);
    click(2, 2);
    EXPECT_EQ(layout(game), after);
    key(keys::Left);
    EXPECT_EQ(layout(game), after);
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    newturn();
    click(3, 3);
    EXPECT_NE(layout(game), after);
}

TEST_F(InputTurn, ClickAfterAnEdgeArrowStillActs) {
    // Hole in column 1: Right has nothing to move and leaves the turn open.
    key(keys::Right);
    EXPECT_EQ(game.loop.inputlock, 0);
    click(2, 1);
    EXPECT_EQ(game.puzzle.holex, 2);
    EXPECT_EQ(game.loop.inputlock, 1);
}

TEST_F(InputTurn, PauseAndTitleStepsLeaveTheTurnOpen) {
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.anipaused = 1;
    key(keys::Left);
    EXPECT_EQ(game.loop.inputlock, 0);
    key(keys::B);
    EXPECT_EQ(game.loop.inputlock, 0);
    click(2, 1);
    EXPECT_EQ(game.loop.inputlock, 0);
    key(keys::Enter);  // resumes and uses the turn
    EXPECT_EQ(game.puzzle.anipaused, 0);
    EXPECT_EQ(game.loop.inputlock, 1);
    newturn();
    game.loop.started = phase::title;
    click(2, 1);  // the title click
    EXPECT_EQ(game.loop.inputlock, 0);
    EXPECT_EQ(game.loop.phase, phase::titleclicked);
    key(keys::Left);  // started is 5 now: the key acts in the same turn
    EXPECT_EQ(game.loop.inputlock, 1);
}

TEST_F(InputTurn, EventsThroughTheEventQueueShareOneTurn) {
    // Two clicks delivered at one yield: the first moves, the second is dropped.
    Event first;
    first.kind = EventKind::MouseDown;
    first.button = 1;
    first.x = centrex(game, 2);
    first.y = centrey(game, 1);
    Event second = first;
    second.x = centrex(game, 3);
    fake.setSink(&game);
    fake.post(first);
    fake.post(second);
    fake.yield(false);
    EXPECT_EQ(game.puzzle.holex, 2);
    EXPECT_EQ(game.puzzle.holey, 1);
    EXPECT_EQ(cell(game, 3, 1), 3);
}

// ------------------------------------------------------------------------------------------------
// Keys

using KeyInput = InputTest;

TEST_F(KeyInput, ArrowsSlideTheNeighbourOfTheHole) {
    struct Case { int key, sc, sr, d; };
    const Case cases[] = {{keys::Left, 3, 2, dir::left}, {keys::Right, 1, 2, dir::right},
                          {keys::Up, 2, 3, dir::up}, {keys::Down, 2, 1, dir::down}};
    for (const Case& k : cases) {
        layplayableboard(game, 4, 4, 200, 100);
        movehole(game, 2, 2);
        const int p = cell(game, k.sc, k.sr);
        key(k.key);
        EXPECT_EQ(cell(game, 2, 2), p);
        EXPECT_EQ(game.puzzle.holex, k.sc);
        EXPECT_EQ(game.puzzle.holey, k.sr);
        EXPECT_EQ(game.puzzle.movedir, k.d);
        EXPECT_EQ(game.puzzle.usermovetop, 1);
        EXPECT_EQ(game.puzzle.usermoves[1], undocode(k.d));
        EXPECT_EQ(game.loop.inputlock, 1);
    }
}

TEST_F(KeyInput, ArrowsAtTheEdgesMoveNothingAndLeaveTheTurnOpen) {
    const auto expectstill = [&](int code) {
        const auto before = layout(game);
        key(code);
        EXPECT_EQ(layout(game), before) << code;
        EXPECT_EQ(game.loop.inputlock, 0) << code;
        EXPECT_EQ(game.puzzle.usermovetop, 0) << code;
    };
    movehole(game, 1, 1);
    expectstill(keys::Right);
    expectstill(keys::Down);
    movehole(game, 4, 4);
    expectstill(keys::Left);
    expectstill(keys::Up);
}

TEST_F(KeyInput, LeftThenRightRestoresBoardAndReplaySequence) {
    // Case 1: the Left is pushed on usermoves and the Right pops it.
    movehole(game, 2, 2);
    game.puzzle.solvestack.set(1, 3);
    game.puzzle.solvetop = 1;
    auto board = layout(game);
    auto seq = replaysequence(game);
    key(keys::Left);
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    newturn();
    key(keys::Right);
    EXPECT_EQ(layout(game), board);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.puzzle.solvetop, 1);
    EXPECT_EQ(replaysequence(game), seq);

    // Case 2: the Left retraces the scramble (pops solvestack); the Right is pushed.
    newturn();
    game.puzzle.solvestack.set(2, dir::left);
    game.puzzle.solvetop = 2;
    board = layout(game);
    seq = replaysequence(game);
    key(keys::Left);
    EXPECT_EQ(game.puzzle.solvetop, 1);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    newturn();
    key(keys::Right);
    EXPECT_EQ(layout(game), board);
    EXPECT_EQ(game.puzzle.solvetop, 1);
    EXPECT_EQ(game.puzzle.usermovetop, 1);
    EXPECT_EQ(replaysequence(game), seq);
}

TEST_F(KeyInput, BOnAFreshPuzzlePopsSolvestack) {
    // A fresh scramble: the hole walked right once (the piece at (2,1) moved left), undo code 1.
    game.shiftpiece(2, 1);
    game.puzzle.solvestack.set(1, dir::right);
    game.puzzle.solvetop = 1;
    game.puzzle.placedcount = 14;
    key(keys::B);
    EXPECT_EQ(game.puzzle.solvetop, 0);
    EXPECT_EQ(game.puzzle.solvestack[1], 0);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.puzzle.holex, 1);
    EXPECT_EQ(cell(game, 2, 1), 2);
    EXPECT_EQ(game.puzzle.placedcount, 15);
    EXPECT_EQ(game.puzzle.computermove, 1);
    EXPECT_EQ(game.loop.inputlock, 1);
}

TEST_F(KeyInput, ThreeMovesThenFourBPresses) {
    movehole(game, 2, 2);
    game.puzzle.solvestack.set(1, dir::down);  // the hole came down from (2,1)
    game.puzzle.solvetop = 1;
    const auto start = layout(game);
    const int moves[] = {keys::Left, keys::Up, keys::Right};  // hole (3,2), (3,3), (2,3)
    std::vector<std::vector<int>> layouts{start};
    for (int k : moves) {
        newturn();
        key(k);
        layouts.push_back(layout(game));
    }
    ASSERT_EQ(game.puzzle.usermovetop, 3);
    ASSERT_EQ(game.puzzle.solvetop, 1);
    for (int i = 0; i < 3; ++i) {
        newturn();
        key(keys::B);
        EXPECT_EQ(layout(game), layouts[static_cast<std::size_t>(2 - i)]) << "B " << i + 1;
        EXPECT_EQ(game.puzzle.usermovetop, 2 - i);
        EXPECT_EQ(game.puzzle.solvetop, 1);
    }
    EXPECT_EQ(game.puzzle.usermoves[1], 0);
    newturn();
    key(keys::B);
    EXPECT_EQ(game.puzzle.solvetop, 0);
    EXPECT_EQ(game.puzzle.holex, 2);
    EXPECT_EQ(game.puzzle.holey, 1);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
}

TEST_F(KeyInput, BWithBothHistoriesEmptyClosesTheTurn) {
    const auto before = layout(game);
    key(keys::B);
    EXPECT_EQ(layout(game), before);
    EXPECT_EQ(game.loop.inputlock, 1);
    EXPECT_EQ(game.puzzle.solvetop, 0);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
}

TEST_F(KeyInput, BSkipsEntriesWithoutACode) {
    game.shiftpiece(2, 1);  // hole (2,1); undo code 1
    game.puzzle.solvestack.set(1, dir::right);
    game.puzzle.solvestack.set(2, 0);
    game.puzzle.solvestack.set(3, 7);
    game.puzzle.solvetop = 3;
    game.puzzle.usermovetop = 2;  // two user entries holding 0
    key(keys::B);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.puzzle.solvetop, 0);
    EXPECT_EQ(game.puzzle.solvestack[3], 0);
    EXPECT_EQ(game.puzzle.holex, 1);
    EXPECT_EQ(cell(game, 2, 1), 2);
    EXPECT_EQ(game.loop.inputlock, 1);
}

TEST_F(KeyInput, BOnlySkipsZeroesThenFindsTheHistoriesEmpty) {
    game.puzzle.solvestack.set(1, 0);
    game.puzzle.solvetop = 1;
    game.puzzle.usermovetop = 1;
    const auto before = layout(game);
    key(keys::B);
    EXPECT_EQ(layout(game), before);
    EXPECT_EQ(game.puzzle.solvetop, 0);
    EXPECT_EQ(game.puzzle.usermovetop, 0);
    EXPECT_EQ(game.loop.inputlock, 1);
}

TEST_F(KeyInput, ComputerSolvingOrFinishedIgnoresArrowsAndBButEnterPauses) {
    const int settings[][2] = {
        {gamestate::inplay, solver::computer},
        {gamestate::inplay, solver::screensaver},
        {gamestate::finished, solver::user},
    };
    for (const auto& s : settings) {
        layplayableboard(game, 4, 4, 200, 100);
        movehole(game, 2, 2);
        game.puzzle.solvestack.set(1, dir::left);
        game.puzzle.solvetop = 1;
        game.puzzle.animated = puzzletype::animated;
        game.loop.puzzlestate = s[0];
        game.loop.solvemode = s[1];
        const auto before = layout(game);
        for (int code : {keys::Left, keys::Right, keys::Up, keys::Down, keys::B}) {
            newturn();
            key(code);
            EXPECT_EQ(layout(game), before) << code;
            EXPECT_EQ(game.loop.inputlock, 1) << code;
            EXPECT_EQ(game.puzzle.solvetop, 1);
        }
        newturn();
        key(keys::Enter);
        EXPECT_EQ(game.puzzle.anipaused, 1);
        EXPECT_EQ(game.loop.inputlock, 1);
        newturn();
        key(keys::Enter);
        EXPECT_EQ(game.puzzle.anipaused, 0);
        EXPECT_EQ(game.loop.puzzlestate, s[0]);
    }
}

TEST_F(KeyInput, EnterPausesOnlyAnimatedPuzzles) {
    key(keys::Enter);
    EXPECT_EQ(game.puzzle.anipaused, 0);
    EXPECT_EQ(game.loop.inputlock, 1);
    newturn();
    game.puzzle.animated = puzzletype::animated;
    key(keys::Enter);
    EXPECT_EQ(game.puzzle.anipaused, 1);
    // Paused: arrows and B are ignored, the turn stays open; Enter resumes.
    newturn();
    movehole(game, 2, 2);
    const auto before = layout(game);
    for (int code : {keys::Left, keys::Right, keys::Up, keys::Down, keys::B}) {
        key(code);
        EXPECT_EQ(layout(game), before);
        EXPECT_EQ(game.loop.inputlock, 0);
    }
    key(keys::Enter);
    EXPECT_EQ(game.puzzle.anipaused, 0);
    EXPECT_EQ(game.loop.inputlock, 1);
    newturn();
    key(keys::Left);
    EXPECT_NE(layout(game), before);
}

TEST_F(KeyInput, BeforeTheFirstClickEveryKeyOnlyClosesTheTurn) {
    game.loop.started = phase::title;
    game.loop.phase = phase::play;
    game.loop.solvemode = solver::screensaver;
    game.puzzle.animated = puzzletype::animated;
    movehole(game, 2, 2);
    game.puzzle.solvestack.set(1, dir::left);
    game.puzzle.solvetop = 1;
    const auto before = layout(game);
    for (int code : {keys::Enter, keys::Left, keys::Right, keys::Up, keys::Down, keys::B, 65}) {
        newturn();
        key(code);
        EXPECT_EQ(game.loop.inputlock, 1);
        EXPECT_EQ(game.puzzle.anipaused, 0);
        EXPECT_EQ(layout(game), before);
        EXPECT_EQ(game.puzzle.solvetop, 1);
        EXPECT_EQ(game.loop.phase, phase::play);
    }
    // Even while paused the key closes the turn.
    game.puzzle.anipaused = 1;
    newturn();
    key(keys::Left);
    EXPECT_EQ(game.loop.inputlock, 1);
    EXPECT_EQ(game.puzzle.anipaused, 1);
}

TEST_F(KeyInput, OtherKeysMoveNothing) {
    movehole(game, 2, 2);
    game.puzzle.solvestack.set(1, dir::left);
    game.puzzle.solvetop = 1;
    const auto before = layout(game);
    for (int code : {98, 100, 102, 104, 27, 65, 98 + 32, 0, 32, 36, 41}) {
        newturn();
        key(code);
        EXPECT_EQ(layout(game), before) << code;
        EXPECT_EQ(game.loop.inputlock, 1) << code;
        EXPECT_EQ(game.puzzle.solvetop, 1);
        EXPECT_EQ(game.puzzle.usermovetop, 0);
    }
}

}  // namespace
}  // namespace pelorix
