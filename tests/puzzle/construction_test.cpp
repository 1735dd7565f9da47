// SPDX-License-Identifier: MIT
// Building a puzzle: the scramble, the grid size from the boxes, names, and the first drawing.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "gamefixture.h"
#include "puzzle/construction.h"

namespace pelorix::testing {
namespace {

// Performs the recorded undo codes from the top of the stack down.
void replay(PuzzleState& s) {
    for (int i = s.solvetop; i >= 1; --i) {
        const int d = s.solvestack[i];
        ASSERT_TRUE(d >= dir::right && d <= dir::up) << "entry " << i << " holds no code";
        const auto [sc, sr] = piececell(d, s.holex, s.holey);
        ASSERT_TRUE(sc >= 1 && sc <= s.puzzlewidth && sr >= 1 && sr <= s.puzzleheight) << "entry " << i;
        s.board[s.holex][s.holey] = s.board[sc][sr];
        s.board[sc][sr] = 0;
        s.holex = sc;
        s.holey = sr;
    }
}

TEST(Scramble, DisplacesEveryPieceAndReturnsTheHoleAndItsHistoryLeadsBack) {
    const std::array<std::pair<int, int>, 7> sizes{{{2, 2}, {3, 3}, {4, 4}, {2, 7}, {9, 3}, {12, 12}, {20, 20}}};
    for (const auto& [w, h] : sizes) {
        for (std::uint64_t seed = 1; seed <= (w * h > 200 ? 3u : 25u); ++seed) {
            FakePlatform fake(seed);
            PuzzleState s;
            s.puzzlewidth = w;
            s.puzzleheight = h;
            laysolvedboard(s);
            const int steps = scramble(s, fake);
            SCOPED_TRACE(::testing::Message() << w << "x" << h << " seed " << seed);
            EXPECT_EQ(steps, s.solvetop);
            EXPECT_EQ(s.holex, 1);
            EXPECT_EQ(s.holey, 1);
            for (int r = 1; r <= h; ++r)
                for (int c = 1; c <= w; ++c)
                    if (c != 1 || r != 1) {
                        EXPECT_NE(s.board[c][r], s.homeboard[c][r]) << "piece home at " << c << "," << r;
                    }
            for (int i = 2; i <= s.solvetop; ++i)
                EXPECT_NE(s.solvestack[i], undocode(s.solvestack[i - 1])) << "walk stepped straight back at " << i;
            replay(s);
            EXPECT_TRUE(solved(s));
        }
    }
}

TEST(Scramble, TwoByTwoRotatesTheThreePiecesAroundTheHole) {
    int byone = 0, bytwo = 0;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        Game g(seed);
        g.buildtitle(2, 2, 0);
        const PuzzleState& s = g.game.puzzle;
        const std::array<int, 3> cycle{s.board[2][1], s.board[2][2], s.board[1][2]};
        if (cycle == std::array<int, 3>{3, 2, 4}) ++byone;
        else if (cycle == std::array<int, 3>{4, 3, 2}) ++bytwo;
        else ADD_FAILURE() << "not a rotation: " << cycle[0] << cycle[1] << cycle[2];
    }
    EXPECT_GT(byone, 0);
    EXPECT_GT(bytwo, 0);
}

TEST(Construction, LeavesAFreshPuzzleInPlay) {
    Game g(7);
    g.game.puzzle.placedcount = 9;
    g.game.puzzle.usermovetop = 4;
    g.buildtitle(5, 3, 0);
    const PuzzleState& s = g.game.puzzle;
    EXPECT_EQ(boardfault(s), "");
    EXPECT_EQ(s.placedcount, 0);
    EXPECT_EQ(s.usermovetop, 0);
    EXPECT_GT(s.solvetop, 0);
    EXPECT_EQ(s.newmade, 1);
    EXPECT_EQ(s.freshpuzzle, 1);
    EXPECT_EQ(g.game.loop.phase, phase::play);
    EXPECT_EQ(g.game.loop.started, phase::title);
    EXPECT_EQ(s.piecewidth, 754 / 5);
    EXPECT_EQ(s.pieceheight, 385 / 3);
    EXPECT_TRUE(s.anidx == 1 || s.anidx == -1);
    EXPECT_TRUE(s.anidy == 1 || s.anidy == -1);
}

TEST(Construction, TitleModeReadsNoControlsAndKeepsCaptionAndState) {
    Game g(3);
    g.fake.setText(Control::Text1, "9");
    g.game.loop.puzzlestate = gamestate::finished;
    g.buildtitle(4, 4, 1);
    EXPECT_EQ(g.game.puzzle.puzzlewidth, 4);
    EXPECT_EQ(g.fake.caption(), "Pelorix - (Click to begin)");
    EXPECT_TRUE(g.fake.captions.empty());
    EXPECT_EQ(g.game.loop.puzzlestate, gamestate::finished);
    EXPECT_EQ(g.game.puzzle.picturefile, "title2.bmp");
    EXPECT_FALSE(g.fake.maximized);
    EXPECT_FALSE(g.fake.menuEnabled(Menu::dfgfgfg));
}

struct SizeCase {
    const char* text;
    int size;
    const char* shown;
};

TEST(Construction, GridSizeComesFromTheBoxesWithinTwoToTwenty) {
    const std::array<SizeCase, 7> cases{{{"abc", 2, "2"}, {"0", 2, "2"}, {"3", 3, "3"}, {"25", 20, "20"},
                                         {".5", 2, "2"}, {"1", 2, "2"}, {" 7", 7, "7"}}};
    for (const SizeCase& c : cases) {
        Game g;
        g.fake.setText(Control::Text1, c.text);
        g.fake.setText(Control::Text2, c.text);
        g.game.loop.puzzlestate = gamestate::picturepanel;
        readgridsize(g.game);
        EXPECT_EQ(g.game.puzzle.puzzlewidth, c.size) << c.text;
        EXPECT_EQ(g.game.puzzle.puzzleheight, c.size) << c.text;
        EXPECT_EQ(g.fake.text(Control::Text1), c.shown) << c.text;
        EXPECT_EQ(g.game.loop.puzzlestate, gamestate::picturepanel) << "reading the size changes no state";
        // The construction that reads the size leaves the puzzle in play.
        g.game.loop.phase = phase::play;
        g.game.makenewpuzzle();
        EXPECT_EQ(g.game.puzzle.puzzlewidth, c.size) << c.text;
        EXPECT_EQ(g.game.loop.puzzlestate, gamestate::inplay);
    }
}

TEST(Construction, PictureNamesDropTheLastFourCharacters) {
    EXPECT_EQ(picturenameof("sea.bmp"), "sea");
    EXPECT_EQ(picturenameof("sea.regular_picture"), "sea.regular_pic");
    EXPECT_EQ(picturenameof("title1.bmp"), "title1");
    EXPECT_EQ(picturenameof("a.bm"), "");
    EXPECT_EQ(picturenameof(""), "");
}

TEST(Construction, ChosenAnimatedPictureMaximizesAndNamesTheColourFiles) {
    Game g;
    g.fake.files["comet.animation_picture"] = "not needed as a picture";
    g.fake.files["comet.animation_pic.colour2"] = "9";
    g.game.loop.phase = phase::play;
    g.game.puzzle.dcolour2 = 15;
    g.game.puzzle.chosentype = puzzletype::animated;
    g.fake.setText(Control::Text3, "comet.animation_picture");
    g.fake.setText(Control::Text1, "5");
    g.fake.setText(Control::Text2, "6");
    g.game.makenewpuzzle();
    const PuzzleState& s = g.game.puzzle;
    EXPECT_TRUE(g.fake.maximized);
    EXPECT_EQ(s.animated, puzzletype::animated);
    EXPECT_EQ(s.areawidth, 1280);
    EXPECT_EQ(s.piecewidth, 1280 / 5);
    EXPECT_EQ(s.pieceheight, 800 / 6);
    EXPECT_EQ(s.picturename, "comet.animation_pic");
    EXPECT_EQ(s.colour2, 9);
    EXPECT_EQ(g.fake.caption(), "Pelorix-(Solving animated puzzle)");
    EXPECT_TRUE(g.fake.menuEnabled(Menu::anispeed));
    EXPECT_TRUE(g.fake.menuEnabled(Menu::dfgfgfg));
    for (Control c : {Control::Text1, Control::File1, Control::Command1, Control::Label5}) EXPECT_FALSE(g.fake.visible(c));
}

// A construction outside title mode with random pictures on, over the given picture files.
struct RandomCase {
    const char* what;
    std::vector<std::string> files;
    int typedrawn, animatedBefore;
    int animatedAfter;
    const char* picturefile;  // "" : any entry of the list of the puzzle's type
};

TEST(Construction, RandomPicturesDrawTheTypeOnceAndThePictureFromItsList) {
    const std::array<RandomCase, 5> cases{{
        {"only animation pictures: animated", {"a.animation_picture"}, 0, 0, 1, "a.animation_picture"},
        {"no pictures at all: the type stays", {}, 0, 1, 1, "before.bmp"},
        {"type already drawn: kept", {"r.regular_picture", "a.animation_picture"}, 1, 0, 0, "r.regular_picture"},
        {"type already drawn, its list empty: the old picture stays", {"r.regular_picture"}, 1, 1, 1, "before.bmp"},
        {"regular pictures only", {"r.regular_picture", "s.regular_picture"}, 0, 1, 0, ""},
    }};
    for (const RandomCase& c : cases) {
        Game g(21);
        for (const std::string& name : c.files) g.fake.files[name] = "";
        g.fake.refreshList(Control::File1);
        g.fake.refreshList(Control::File2);
        g.fake.setCheckValue(Control::Check1, 1);
        g.game.loop.phase = phase::play;
        g.game.puzzle.typedrawn = c.typedrawn;
        g.game.puzzle.animated = c.animatedBefore;
        g.game.puzzle.picturefile = "before.bmp";
        g.game.puzzle.picturename = "before";
        g.game.makenewpuzzle();
        const PuzzleState& s = g.game.puzzle;
        EXPECT_EQ(s.animated, c.animatedAfter) << c.what;
        EXPECT_EQ(s.typedrawn, 1) << c.what;
        EXPECT_EQ(g.fake.menuEnabled(Menu::anispeed), s.animated == puzzletype::animated) << c.what;
        if (*c.picturefile) {
            EXPECT_EQ(s.picturefile, c.picturefile) << c.what;
        } else {
            EXPECT_TRUE(s.picturefile == "r.regular_picture" || s.picturefile == "s.regular_picture") << c.what;
        }
        EXPECT_EQ(s.picturename, picturenameof(s.picturefile)) << c.what;
        EXPECT_EQ(boardfault(s), "") << c.what;
    }
}

TEST(Construction, FirstDrawingOfARegularPuzzle) {
    Game g(11);
    g.buildtitle(4, 4, 0);
    const PuzzleState& s = g.game.puzzle;
    const Canvas& canvas = g.fake.canvas();
    ASSERT_EQ(s.piecewidth, 188);
    ASSERT_EQ(s.pieceheight, 96);
    for (int x = 0; x <= 752; x += 188)
        for (int y : {0, 50, 383, 384}) EXPECT_EQ(colourAt(canvas, x, y), 3) << x << "," << y;
    for (int y = 0; y <= 384; y += 96)
        for (int x : {0, 100, 751, 752}) EXPECT_EQ(colourAt(canvas, x, y), 3) << x << "," << y;
    for (auto [x, y] : {std::pair{1, 1}, {187, 95}, {90, 40}}) EXPECT_EQ(colourAt(canvas, x, y), 3);
    // Each piece shows its home region one unit left of and above its reference point.
    const QImage& picture = g.fake.windowPicture();
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 4; ++c) {
            const int p = s.board[c][r];
            if (p == 0) continue;
            const int hc = (p - 1) % 4 + 1, hr = (p - 1) / 4 + 1;
            for (auto [i, j] : {std::pair{1, 1}, {100, 50}, {187, 95}})
                EXPECT_EQ(canvas.pixel((c - 1) * 188 + i, (r - 1) * 96 + j),
                          picture.pixel(g.game.cellx(hc) + i, g.game.celly(hr) + j) & 0xFFFFFFu)
                    << "piece " << p << " at " << c << "," << r;
        }
    }
}

TEST(Construction, MovingPictureStartsInsideTheGridAndAnimatedFrameIsDrawn) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Game g(seed);
        g.buildtitle(4, 4, 1);
        const PuzzleState& s = g.game.puzzle;
        // Placed between 2 and grid − picture − 3, then moved one unit by the first frame.
        EXPECT_GE(s.frameleft, 2 - 1);
        EXPECT_LE(s.frameleft, 4 * s.piecewidth - 267 - 3 + 1);
        EXPECT_GE(s.frametop, 2 - 1);
        EXPECT_LE(s.frametop, 4 * s.pieceheight - 236 - 3 + 1);
        // Outside the pieces the animated board shows colour2; the grid lines and hole colour.
        EXPECT_EQ(colourAt(g.fake.canvas(), 0, 0), 3);
        EXPECT_EQ(colourAt(g.fake.canvas(), 10, 10), 3);
    }
}

}  // namespace
}  // namespace pelorix::testing
