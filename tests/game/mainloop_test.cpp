// SPDX-License-Identifier: MIT
// Start-up and the main loop on the virtual clock: settings, title puzzles, the set-up screen, idle waits, ending.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gamefixture.h"
#include "platform/design.h"

namespace pelorix::testing {
namespace {

// Reads a little-endian field of a BMP file's headers.
std::uint32_t field(const std::string& bytes, std::size_t at, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < size; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(at + i))) << (8 * i);
    return v;
}

bool built(const Game& g) { return g.game.puzzle.solvetop > 0; }

TEST(Startup, WithoutSettingsFilesUsesTheDefaultsAndWritesTheTitlePictures) {
    Game g;
    g.run(1000, [&] { return built(g); });
    const puzzlemaker2& w = g.game;
    EXPECT_EQ(w.puzzle.puzzlewidth, 4);
    EXPECT_EQ(w.puzzle.puzzleheight, 4);
    EXPECT_EQ(w.puzzle.colour, 3);
    EXPECT_EQ(w.puzzle.colour2, 15);
    EXPECT_EQ(w.loop.movetime, 1);
    EXPECT_EQ(w.loop.newtime, 100);
    EXPECT_EQ(w.loop.nwait4, 0);
    EXPECT_EQ(w.loop.solvemode, solver::screensaver);
    EXPECT_TRUE(g.fake.menuChecked(Menu::tfast));
    EXPECT_FALSE(g.fake.menuChecked(Menu::tslow));
    EXPECT_EQ(g.fake.caption(), "Pelorix - (Click to begin)");
    EXPECT_EQ(g.fake.timerInterval(TimerId::Timer1), 10);
    EXPECT_FALSE(g.fake.timerEnabled(TimerId::Timer2));

    const std::pair<const char*, std::pair<int, int>> pictures[] = {{"title1.bmp", {800, 600}}, {"title2.bmp", {267, 236}}};
    for (const auto& [name, size] : pictures) {
        const auto bytes = g.fake.file(name);
        ASSERT_TRUE(bytes) << name;
        EXPECT_EQ(bytes->substr(0, 2), "BM");
        EXPECT_EQ(field(*bytes, 18, 4), static_cast<std::uint32_t>(size.first)) << name;
        EXPECT_EQ(field(*bytes, 22, 4), static_cast<std::uint32_t>(size.second)) << name;
        EXPECT_EQ(field(*bytes, 28, 2), 8u) << name;
        EXPECT_EQ(field(*bytes, 30, 4), 0u) << name;
        EXPECT_EQ(field(*bytes, 46, 4), 256u) << name;
        EXPECT_EQ(field(*bytes, 10, 4), 14u + 40 + 1024) << name;
    }
}

TEST(Startup, ReadsTheSettingsFiles) {
    Game g;
    g.fake.files["movepiece.Time"] = " 5 \r\n";
    g.fake.files["newpuzzle.Time"] = " 20 \r\n";
    g.fake.files["animation.Time"] = " 1 \r\n";
    g.fake.files["title1.bmp"] = "an old file";
    g.run(1000, [&] { return built(g); });
    EXPECT_EQ(g.game.loop.movetime, 5);
    EXPECT_EQ(g.game.loop.newtime, 20);
    EXPECT_EQ(g.game.loop.nwait4, 1);
    EXPECT_TRUE(g.fake.menuChecked(Menu::tslow));
    EXPECT_FALSE(g.fake.menuChecked(Menu::tfast));
    EXPECT_EQ(g.fake.file("title1.bmp")->substr(0, 2), "BM");
}

TEST(Startup, AnAnimationPaceOtherThanZeroOrOneMeansFast) {
    Game g;
    g.fake.files["animation.time"] = "5";
    g.run(1000, [&] { return built(g); });
    EXPECT_EQ(g.game.loop.nwait4, 0);
    EXPECT_TRUE(g.fake.menuChecked(Menu::tfast));
}

// Runs title mode quickly and records when each puzzle is built and finished.
struct TitleRun {
    explicit TitleRun(std::uint64_t seed, double ms, const char* movepiece = ".1") : g(seed) {
        g.fake.files["movepiece.Time"] = movepiece;
        g.fake.files["newpuzzle.Time"] = "1";
        g.fake.beforeYield = [this](bool) {
            const PuzzleState& s = g.game.puzzle;
            if (s.freshpuzzle == 1 && (events.empty() || events.back().first != 'B')) {
                types.push_back(s.animated);
                events.emplace_back('B', g.fake.nowMs());
                firstmoves.push_back(-1);
            }
            if (!firstmoves.empty() && firstmoves.back() < 0 && s.solvetop < lasttop) firstmoves.back() = g.fake.nowMs();
            lasttop = s.solvetop;
            if (g.game.loop.puzzlestate == gamestate::finished && !events.empty() && events.back().first == 'B')
                events.emplace_back('F', g.fake.nowMs());
        };
        g.run(ms);
    }
    Game g;
    std::vector<int> types;
    std::vector<std::pair<char, double>> events;  // 'B' built, 'F' finished, at virtual ms
    std::vector<double> firstmoves;  // of each puzzle built, when the computer first moved; -1 never
    int lasttop = 0;
};

TEST(TitleMode, PuzzlesFollowOneAnotherAndTheTypeIsDrawnByLot) {
    TitleRun run(5, 16000);
    ASSERT_GE(run.types.size(), 8u);
    EXPECT_NE(std::count(run.types.begin(), run.types.end(), 0), 0);
    EXPECT_NE(std::count(run.types.begin(), run.types.end(), 1), 0);
    EXPECT_TRUE(run.g.fake.captions.empty()) << run.g.fake.captions.front();
    EXPECT_EQ(run.g.fake.freezes, 0);
}

TEST(TitleMode, TheNextPuzzleFollowsAHundredTimesNewtimeAfterTheFinish) {
    TitleRun run(9, 12000);
    int shows = 0;
    for (std::size_t i = 0; i + 1 < run.events.size(); ++i) {
        if (run.events[i].first != 'F') continue;
        ASSERT_EQ(run.events[i + 1].first, 'B');
        const double shown = run.events[i + 1].second - run.events[i].second;
        EXPECT_GE(shown, 100.0 - 1e-6);
        EXPECT_LE(shown, 100.5);
        ++shows;
    }
    EXPECT_GE(shows, 5);
}

TEST(TitleMode, TheFirstMoveOfEachPuzzleWaitsAWholeMoveInterval) {
    // The tick that ends a finished display must not count as the next puzzle's first move.
    TitleRun run(9, 8000, "2");
    std::size_t builds = 0;
    for (std::size_t i = 0; i < run.events.size(); ++i) {
        if (run.events[i].first != 'B' || run.firstmoves[builds++] < 0) continue;
        EXPECT_GE(run.firstmoves[builds - 1] - run.events[i].second, 20.0 - 1e-6) << "puzzle " << builds;
    }
    EXPECT_GE(builds, 3u);
}

TEST(TitleMode, AClickWhileSolvingOpensTheSetUpScreen) {
    Game g;
    g.fake.schedule(30, g.mouse(10, 10));
    g.run(5000, [&] { return g.game.loop.phase == phase::play && g.game.loop.started == phase::play; });
    const puzzlemaker2& w = g.game;
    EXPECT_EQ(g.fake.caption(), "Pelorix");
    EXPECT_EQ(w.loop.puzzlestate, gamestate::setupscreen);
    EXPECT_EQ(w.loop.solvemode, solver::user);
    EXPECT_EQ(w.puzzle.animated, puzzletype::regular);
    for (Control c : {Control::Label1, Control::Label2, Control::Label5, Control::Label8, Control::File1, Control::File2,
                      Control::Text1, Control::Text2, Control::Text3, Control::Command1})
        EXPECT_TRUE(g.fake.visible(c)) << design(c).name;
    EXPECT_FALSE(g.fake.visible(Control::Check1));
    EXPECT_TRUE(g.fake.menuVisible(Menu::instructions));
    EXPECT_TRUE(g.fake.menuVisible(Menu::fdgff));
    EXPECT_FALSE(g.fake.menuVisible(Menu::puzzle7));
}

TEST(TitleMode, AClickDuringTheFinishedDisplayOpensASetUpScreenThatStaysOpen) {
    Game g(2);
    g.fake.files["movepiece.Time"] = "0";
    bool clicked = false;
    g.fake.beforeYield = [&](bool) {
        if (!clicked && g.game.loop.puzzlestate == gamestate::finished) {
            g.fake.post(g.mouse(300, 200));
            clicked = true;
        }
    };
    g.run(20000);
    ASSERT_TRUE(clicked);
    EXPECT_EQ(g.fake.caption(), "Pelorix");
    // The solved title board left behind must not be finished again under the set-up screen.
    EXPECT_EQ(g.game.loop.puzzlestate, gamestate::setupscreen);
    EXPECT_TRUE(g.fake.visible(Control::Command1));
}

// The test above ends while the loop waits for the first event under the set-up screen, before the
// pass reaches its finishing check. Here events keep coming: the solved title board beneath the
// set-up screen must still not be finished, and a click on it must not build a puzzle.
TEST(TitleMode, TheSetUpScreenOverASolvedTitleBoardOutlastsLaterEvents) {
    Game g(2);
    g.fake.files["movepiece.Time"] = "0";
    bool clicked = false;
    double setupAt = -1;
    bool solvedbeneath = false;
    g.fake.beforeYield = [&](bool) {
        if (!clicked && g.game.loop.puzzlestate == gamestate::finished) {
            g.fake.post(g.mouse(300, 200));
            clicked = true;
        }
        if (setupAt < 0 && g.fake.visible(Control::Command1)) {
            setupAt = g.fake.nowMs();
            const PuzzleState& s = g.game.puzzle;
            solvedbeneath = s.placedcount == s.puzzlewidth * s.puzzleheight - 1;
            g.fake.schedule(setupAt + 100, g.key(keys::Left, Control::Text1));
            g.fake.schedule(setupAt + 200, g.mouse(300, 200));
            g.fake.schedule(setupAt + 300, g.mouse(10, 10));
        }
    };
    g.run(20000);
    ASSERT_TRUE(clicked);
    ASSERT_GE(setupAt, 0);
    ASSERT_TRUE(solvedbeneath);
    EXPECT_EQ(g.game.loop.puzzlestate, gamestate::setupscreen);
    EXPECT_EQ(g.fake.caption(), "Pelorix");
    EXPECT_TRUE(g.fake.visible(Control::Command1));
    EXPECT_TRUE(g.fake.visible(Control::Text1));
    EXPECT_EQ(g.game.puzzle.solvetop, 0) << "a puzzle was built under the set-up screen";
}

TEST(TimerIntervals, ProductsRoundHalfToEvenWithinWhatATimerHolds) {
    const std::pair<double, int> cases[] = {{0, 0},        {-5, 0},   {0.2, 1},   {0.5, 1},         {1.5, 2},
                                            {2.5, 2},      {3.5, 4},  {10, 10},   {1000.49, 1000},  {1e12, 2147483647},
                                            {std::nan(""), 0}};
    for (const auto& [product, ms] : cases) EXPECT_EQ(timermilliseconds(product), ms) << product;
}

TEST(Finishing, InRegularComputerModeTheFinishedPictureStaysAndNewPuzzleBuildsOnlyOne) {
    Game g(4);
    g.fake.files["one.regular_picture"] = "";
    g.fake.files["movepiece.Time"] = "0";
    g.fake.schedule(5, g.mouse(10, 10));
    g.fake.schedule(10, g.click(Control::Command1));
    g.fake.schedule(20, g.menu(Menu::csolve));
    int built = 0, last = 0;
    double finishedAt = -1;
    g.fake.beforeYield = [&](bool) {
        if (g.game.puzzle.freshpuzzle == 1 && last == 0) ++built;
        last = g.game.puzzle.freshpuzzle;
        if (finishedAt < 0 && g.fake.caption() == "Pelorix-(Finished regular puzzle)") {
            finishedAt = g.fake.nowMs();
            g.fake.schedule(finishedAt + 60000, g.menu(Menu::newpuzzle));
        }
    };
    g.run(200000);
    ASSERT_GE(finishedAt, 0);
    // The title, Begin's puzzle, and the one New puzzle built a minute after the finish.
    EXPECT_EQ(built, 3);
    // Every construction outside title mode announces itself, even one that follows another
    // before the next yield: only Begin's and New puzzle's, the loop building none after it.
    const auto& captions = g.fake.captions;
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "Pelorix-(Creating new regular puzzle)"), 2);
    EXPECT_EQ(g.fake.caption(), "Pelorix-(Finished regular puzzle)");
}

TEST(Finishing, ReArmingTimer1CountsDownOnlyAFinishedDisplayThatWasCountingDown) {
    // No command re-arms during a finished display today; the step must not start a countdown
    // that the player's mode never had, which would end the display by itself.
    const struct {
        int state;
        bool counting;
        bool ticks;
    } cases[] = {{gamestate::finished, true, true}, {gamestate::finished, false, false}, {gamestate::inplay, true, false}};
    for (const auto& c : cases) {
        Game g;
        g.game.loop.puzzlestate = c.state;
        g.game.loop.newtime = 1;
        g.game.loop.movetime = 5;
        g.fake.setTimerEnabled(TimerId::Timer1, c.counting);
        g.game.rearmtimer1();
        g.fake.stopAt(1000);
        while (!g.fake.ended()) g.fake.yield(true);
        EXPECT_EQ(g.game.loop.timerfired, c.ticks ? flag::on : flag::off) << c.state << " " << c.counting;
        EXPECT_EQ(g.fake.timerInterval(TimerId::Timer1), c.state == gamestate::finished ? 100 : 50);
    }
}

TEST(IdleWaits, TheSetUpScreenWaitsForEventsInsteadOfSpinning) {
    Game g;
    long yieldsAtSetup = -1;
    g.fake.schedule(5, g.mouse(10, 10));
    g.fake.afterYield = [&] {
        if (yieldsAtSetup < 0 && g.game.loop.started == phase::play) yieldsAtSetup = g.fake.yields;
    };
    g.run(600000);
    ASSERT_GE(yieldsAtSetup, 0);
    EXPECT_EQ(g.fake.nowMs(), 600000);
    EXPECT_LT(g.fake.yields - yieldsAtSetup, 10);
}

TEST(IdleWaits, TheComputerWaitingForItsTimerWaitsAndStillMoves) {
    Game g;
    g.fake.files["movepiece.Time"] = "50";
    int moves = 0, lastTop = 0;
    g.fake.afterYield = [&] {
        const int top = g.game.puzzle.solvetop;
        if (top == lastTop - 1) ++moves;
        lastTop = top;
    };
    g.run(10000);
    // One move per 500 ms tick; re-arming with the same interval must not postpone the move.
    EXPECT_GE(moves, 19);
    EXPECT_LE(moves, 20);
    EXPECT_LT(g.fake.yields, 40 * 4);
    EXPECT_EQ(g.fake.freezes, 0);
}

TEST(IdleWaits, WithoutStopNothingToWaitForIsAFreezeThatTheFakeReports) {
    // The set-up screen with no timers running is the one state that waits for the user alone.
    Game g;
    g.fake.schedule(5, g.mouse(10, 10));
    g.fake.stopWhen = nullptr;
    g.game.Form_Activate();
    EXPECT_EQ(g.fake.freezes, 1);
    EXPECT_EQ(g.game.loop.puzzlestate, gamestate::setupscreen);
}

TEST(Ending, ClosingTheWindowEndsAtOnceFromAFrameWaitAndWritesNoSettings) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        Game g(seed);
        g.fake.files["animation.Time"] = "1";
        Event unload;
        unload.kind = EventKind::Unload;
        g.fake.schedule(40, unload);
        g.fake.stopAt(100000);
        g.game.Form_Activate();
        EXPECT_TRUE(g.fake.ended());
        EXPECT_LT(g.fake.nowMs(), 41);
        EXPECT_EQ(g.fake.files.size(), 3u);  // the two title pictures and the pace file read at start
        EXPECT_EQ(*g.fake.file("animation.Time"), "1");
    }
}

TEST(Ending, ClosingTheWindowDuringTheFinishedDisplayEndsAtOnce) {
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        Game g(seed);
        g.fake.files["movepiece.Time"] = "0";
        double closedAt = -1;
        g.fake.beforeYield = [&](bool) {
            if (closedAt < 0 && g.game.loop.puzzlestate == gamestate::finished) {
                Event unload;
                unload.kind = EventKind::Unload;
                g.fake.post(unload);
                closedAt = g.fake.nowMs();
            }
        };
        g.fake.stopAt(100000);
        g.game.Form_Activate();
        ASSERT_GE(closedAt, 0);
        EXPECT_TRUE(g.fake.ended());
        EXPECT_LE(g.fake.nowMs(), closedAt + 0.2);
        EXPECT_EQ(g.fake.files.size(), 3u);  // the two title pictures and the pace file read at start
    }
}

}  // namespace
}  // namespace pelorix::testing
