// SPDX-License-Identifier: MIT
// The screen-saver module on the virtual clock: puzzles follow one another, both types, Slow, the grid, no writes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <map>
#include <ostream>
#include <set>

#include "gamefixture.h"
#include "platform/design.h"
#include "pictures/pictures.h"

namespace pelorix::testing {
namespace {

std::string bmpbytes(int w, int h, QRgb colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return encodeBmp8(picture).toStdString();
}

// What a run of the saver showed, gathered at every yield.
struct SaverRun {
    int built = 0;     // constructions seen (each clears the previous puzzle's history first)
    int finished = 0;  // finished displays entered
    int unsolvedfinish = 0;
    std::set<int> types;                 // `animated` of the puzzles built
    std::set<std::string> pictures;      // picture files of the puzzles built
    std::set<std::pair<int, int>> grids;  // grid sizes of the puzzles built
    std::set<int> paces;                 // `nwait4` at every yield
    int boardfaults = 0;
    double shortestdisplay = 1e12;  // ms from a puzzle's finish to the next construction
};

SaverRun runsaver(Game& g, int gw, int gh, double minutes) {
    SaverRun run;
    bool wasfinished = false;
    int lastfresh = 0;
    double finishedat = -1;
    // Animated puzzles fill a small window, so that virtual minutes pass quickly.
    g.fake.maximizedWidth = 400;
    g.fake.maximizedHeight = 300;
    g.fake.afterYield = [&] {
        const puzzlemaker2& w = g.game;
        run.paces.insert(w.loop.nwait4);
        if (!boardfault(w.puzzle).empty()) ++run.boardfaults;
        const bool fresh = w.puzzle.freshpuzzle == 1 && lastfresh == 0;
        lastfresh = w.puzzle.freshpuzzle;
        if (fresh) {
            ++run.built;
            run.types.insert(w.puzzle.animated);
            run.pictures.insert(w.puzzle.picturefile);
            run.grids.insert({w.puzzle.puzzlewidth, w.puzzle.puzzleheight});
        }
        if (fresh && finishedat >= 0) run.shortestdisplay = std::min(run.shortestdisplay, g.fake.nowMs() - finishedat);
    };
    // A still finished picture is seen only on entering the yield that waits for its end.
    g.fake.beforeYield = [&](bool) {
        const puzzlemaker2& w = g.game;
        const bool finished = w.loop.puzzlestate == 4;
        if (finished && !wasfinished) {
            ++run.finished;
            finishedat = g.fake.nowMs();
            if (!solved(w.puzzle)) ++run.unsolvedfinish;
        }
        wasfinished = finished;
    };
    g.fake.stopAt(minutes * 60000);
    g.game.Saver_Activate(gw, gh);
    return run;
}

struct FolderCase {
    const char* name;
    std::map<std::string, std::string> files;
    std::set<std::string> pictures;  // the picture files puzzles may take
};
// Test listings name a case, not its bytes.
void PrintTo(const FolderCase& folder, std::ostream* out) { *out << folder.name; }

class SaverFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(SaverFolder, PuzzlesOfBothTypesFollowAtSlowPaceOnTheGivenGridAndNothingIsWritten) {
    const FolderCase& c = GetParam();
    Game g(7);
    // Small stored paces so that many puzzles pass in a few virtual minutes; a stored Fast pace.
    g.fake.files = c.files;
    g.fake.files["newpuzzle.Time"] = " 3 \r\n";
    g.fake.files["animation.Time"] = " 0 \r\n";
    const auto before = g.fake.files;

    const SaverRun run = runsaver(g, 5, 3, 2);

    EXPECT_GE(run.built, 6);
    EXPECT_GE(run.finished, run.built - 1) << "every puzzle but the last is solved and shown";
    EXPECT_EQ(run.unsolvedfinish, 0);
    EXPECT_GE(run.shortestdisplay, 300) << "a finished picture stays for the stored time";
    EXPECT_EQ(run.boardfaults, 0);
    EXPECT_EQ(run.types, (std::set<int>{0, 1}));
    for (const std::string& picture : run.pictures) EXPECT_TRUE(c.pictures.count(picture)) << picture;
    EXPECT_EQ(run.pictures, c.pictures) << "every picture of the folder turns up";
    EXPECT_EQ(run.grids, (std::set<std::pair<int, int>>{{5, 3}}));
    EXPECT_EQ(run.paces, std::set<int>{1});
    EXPECT_EQ(g.fake.files, before);
    EXPECT_EQ(g.fake.freezes, 0);
    // No set-up screen, no title puzzle, no menus shown.
    EXPECT_FALSE(g.fake.visible(Control::Command1));
    EXPECT_FALSE(g.fake.menuVisible(Menu::puzzle7));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SaverFolder,
    ::testing::Values(
        FolderCase{"EmptyFolderPlaysTheBuiltInPictures", {}, {"title1.bmp", "title2.bmp"}},
        FolderCase{"PicturesOfBothKinds",
                   {{"sea.regular_picture", bmpbytes(300, 200, qRgb(10, 90, 200))},
                    {"hill.regular_picture", bmpbytes(120, 90, qRgb(20, 160, 40))},
                    {"fish.animation_picture", "names only its colour files"},
                    {"notes.txt", "not a picture"}},
                   {"sea.regular_picture", "hill.regular_picture", "fish.animation_picture"}}),
    [](const ::testing::TestParamInfo<FolderCase>& folder) { return std::string(folder.param.name); });

TEST(Saver, GridSidesAreBoundedToTwoToTwenty) {
    const std::pair<std::pair<int, int>, std::pair<int, int>> cases[] = {
        {{1, 30}, {2, 20}}, {{-4, 0}, {2, 2}}, {{20, 2}, {20, 2}}, {{7, 9}, {7, 9}}};
    for (const auto& [asked, expected] : cases) {
        Game g(3);
        g.fake.files["newpuzzle.Time"] = " 1 \r\n";
        const SaverRun run = runsaver(g, asked.first, asked.second, 0.2);
        EXPECT_EQ(run.grids, (std::set<std::pair<int, int>>{expected})) << asked.first << "x" << asked.second;
    }
}

TEST(Saver, OnlyRegularPicturesGiveOnlyRegularPuzzles) {
    Game g(5);
    g.fake.files["a.regular_picture"] = bmpbytes(64, 48, qRgb(250, 250, 0));
    g.fake.files["newpuzzle.Time"] = " 1 \r\n";
    const SaverRun run = runsaver(g, 3, 3, 1);
    EXPECT_GE(run.built, 3);
    EXPECT_EQ(run.types, std::set<int>{0});
    // The picture shows when the puzzle is finished.
    EXPECT_EQ(g.fake.windowPicture().pixel(10, 10) & 0xFFFFFFu, 0xFAFA00u);
}

TEST(Saver, TheStoredMovePaceApplies) {
    // One move every half second: a 20 x 20 scramble displaces 399 pieces one move at a time, so
    // solving it takes more than three minutes.
    Game g(2);
    g.fake.files["a.regular_picture"] = bmpbytes(64, 48, qRgb(0, 0, 250));
    g.fake.files["movepiece.Time"] = " 50 \r\n";
    const SaverRun run = runsaver(g, 20, 20, 3);
    EXPECT_EQ(run.built, 1);
    EXPECT_EQ(run.finished, 0);
    EXPECT_EQ(g.game.loop.movetime, 50);
    EXPECT_EQ(g.fake.timerInterval(TimerId::Timer1), 500);
}

TEST(Saver, APuzzleInPlayIsBuiltAnewWhenTheWindowChangesSize) {
    // The daemon turns the window to a new size two seconds in (the fake's maximize resizes it).
    const std::pair<int, int> sizes[] = {{500, 400}, {launchClientWidth, 400}, {500, launchClientHeight}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Game g(4);
        g.fake.files["a.regular_picture"] = bmpbytes(64, 48, qRgb(0, 0, 250));
        g.fake.files["movepiece.Time"] = " 50 \r\n";  // far too slow to finish within the run
        std::vector<std::pair<double, int>> builds;  // time and area width of every construction
        int lastfresh = 0;
        g.fake.afterYield = [&] {
            if (g.game.puzzle.freshpuzzle == 1 && lastfresh == 0) builds.push_back({g.fake.nowMs(), static_cast<int>(g.game.puzzle.areawidth)});
            lastfresh = g.game.puzzle.freshpuzzle;
            if (g.fake.nowMs() >= 2000 && !g.fake.maximized) {
                g.fake.maximizedWidth = width;
                g.fake.maximizedHeight = height;
                g.fake.maximize();
            }
        };
        g.fake.stopAt(10000);
        g.game.Saver_Activate(6, 6);
        ASSERT_EQ(builds.size(), 2u);
        EXPECT_EQ(builds[0].second, launchClientWidth);
        EXPECT_EQ(builds[1].second, width);
        EXPECT_LT(builds[1].first, 2100);
        EXPECT_EQ(g.game.puzzle.piecewidth, width / 6);
        EXPECT_EQ(g.game.puzzle.pieceheight, height / 6);
    }
}

}  // namespace
}  // namespace pelorix::testing
