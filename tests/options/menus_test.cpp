// SPDX-License-Identifier: MIT
// Menu commands: radio groups following their fields, the screen-saver countdown, the pace file, Quit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakeplatform.h"
#include "game/puzzlemaker2.h"

namespace pelorix {
namespace {

using testing::FakePlatform;

using Handler = void (puzzlemaker2::*)();

int checkedcount(const FakePlatform& fake, std::initializer_list<Menu> group) {
    int count = 0;
    for (Menu m : group) count += fake.menuChecked(m) ? 1 : 0;
    return count;
}

// After any sequence of commands each group shows exactly one mark, the one its field names.
void expectmarksfollowfields(const FakePlatform& fake, const puzzlemaker2& game) {
    EXPECT_EQ(checkedcount(fake, {Menu::usolve, Menu::csolve, Menu::csolves}), 1);
    EXPECT_EQ(checkedcount(fake, {Menu::tslow, Menu::tfast}), 1);
    EXPECT_EQ(checkedcount(fake, {Menu::prandom, Menu::pnrandom}), 1);
    const Menu solve[] = {Menu::usolve, Menu::csolve, Menu::csolves};
    EXPECT_TRUE(fake.menuChecked(solve[game.loop.solvemode]));
    EXPECT_TRUE(fake.menuChecked(game.loop.nwait4 == 1 ? Menu::tslow : Menu::tfast));
    EXPECT_TRUE(fake.menuChecked(fake.checkValue(Control::Check1) == 1 ? Menu::prandom : Menu::pnrandom));
}

TEST(MenusRadioGroups, MarksFollowTheFields) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    expectmarksfollowfields(fake, game);  // the design's first marks agree with the first fields

    const std::vector<Handler> script = {
        &puzzlemaker2::csolve_Click,  &puzzlemaker2::prandom_Click, &puzzlemaker2::tslow_Click,
        &puzzlemaker2::csolves_Click, &puzzlemaker2::csolves_Click, &puzzlemaker2::pnrandom_Click,
        &puzzlemaker2::tfast_Click,   &puzzlemaker2::usolve_Click,  &puzzlemaker2::tslow_Click,
        &puzzlemaker2::tslow_Click,   &puzzlemaker2::csolve_Click,  &puzzlemaker2::prandom_Click,
        &puzzlemaker2::prandom_Click, &puzzlemaker2::usolve_Click,
    };
    for (std::size_t i = 0; i < script.size(); ++i) {
        SCOPED_TRACE("after command " + std::to_string(i));
        (game.*script[i])();
        expectmarksfollowfields(fake, game);
    }
}

TEST(MenusSolving, CountdownFollowsScreenSaverMode) {
    struct Case {
        const char* what;
        Handler handler;
        int solvemode, puzzlestate;
        bool timerBefore, timerAfter;
    };
    const Case cases[] = {
        {"regular mode stops a running countdown", &puzzlemaker2::csolve_Click,
         solver::screensaver, gamestate::finished, true, false},
        {"regular mode chosen again", &puzzlemaker2::csolve_Click,
         solver::computer, gamestate::finished, true, true},
        {"regular mode in play keeps the pace", &puzzlemaker2::csolve_Click,
         solver::screensaver, gamestate::inplay, true, true},
        {"screen saver starts the countdown", &puzzlemaker2::csolves_Click,
         solver::user, gamestate::finished, false, true},
        {"screen saver from regular mode", &puzzlemaker2::csolves_Click,
         solver::computer, gamestate::finished, false, true},
        {"screen saver chosen again", &puzzlemaker2::csolves_Click,
         solver::screensaver, gamestate::finished, false, false},
        {"screen saver in play", &puzzlemaker2::csolves_Click,
         solver::user, gamestate::inplay, false, false},
        {"screen saver under an open panel", &puzzlemaker2::csolves_Click,
         solver::user, gamestate::picturepanel, false, false},
        {"user mode changes no timer", &puzzlemaker2::usolve_Click,
         solver::screensaver, gamestate::finished, true, true},
    };
    for (const auto& c : cases) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        game.loop.solvemode = c.solvemode;
        game.loop.puzzlestate = c.puzzlestate;
        fake.setTimerInterval(TimerId::Timer1, 10000);
        fake.setTimerEnabled(TimerId::Timer1, c.timerBefore);
        (game.*c.handler)();
        EXPECT_EQ(fake.timerEnabled(TimerId::Timer1), c.timerAfter) << c.what;
        EXPECT_EQ(fake.timerInterval(TimerId::Timer1), 10000) << c.what << ": the interval is the finishing step's";
    }
}

// A no-op event that lets virtual time run to `ms` while the timers tick.
void rununtil(FakePlatform& fake, double ms) {
    Event nothing;
    nothing.kind = EventKind::MenuClick;
    nothing.menu = Menu::options;
    fake.schedule(ms, nothing);
    while (fake.nowMs() < ms && !fake.ended()) fake.yield(true);
}

TEST(MenusSolving, ScreenSaverEndsAFinishedUserPuzzleAfterItsTime) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.loop.solvemode = solver::user;
    game.loop.puzzlestate = gamestate::finished;
    game.loop.newtime = 100;
    fake.setTimerInterval(TimerId::Timer1, 10000);  // set when the puzzle was finished
    game.csolves_Click();
    rununtil(fake, 9000);
    EXPECT_EQ(game.loop.puzzlestate, gamestate::finished);
    rununtil(fake, 10500);
    EXPECT_EQ(game.loop.puzzlestate, gamestate::inplay) << "the countdown ended the finished display";
}

TEST(MenusSolving, RegularModeKeepsAFinishedScreenSaverPuzzle) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.loop.solvemode = solver::screensaver;
    game.loop.puzzlestate = gamestate::finished;
    fake.setTimerInterval(TimerId::Timer1, 10000);
    fake.setTimerEnabled(TimerId::Timer1, true);
    rununtil(fake, 5000);
    game.csolve_Click();
    rununtil(fake, 30000);
    EXPECT_EQ(game.loop.puzzlestate, gamestate::finished);
    EXPECT_EQ(game.loop.timerfired, 0);
}

TEST(MenusPace, SlowAndFastStoreThePace) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.tslow_Click();
    EXPECT_EQ(*fake.file("animation.Time"), " 1 \r\n");
    game.tfast_Click();
    EXPECT_EQ(*fake.file("animation.Time"), " 0 \r\n");
    EXPECT_EQ(fake.files.size(), 1u);
}

TEST(MenusPace, StoredUnderOtherCaseIsReplacedNotDoubled) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    fake.files["animation.time"] = "5";
    game.readstartupsettings();
    EXPECT_EQ(game.loop.nwait4, 0);
    EXPECT_TRUE(fake.menuChecked(Menu::tfast));
    EXPECT_FALSE(fake.menuChecked(Menu::tslow));

    game.tslow_Click();
    ASSERT_EQ(fake.files.size(), 1u);
    EXPECT_EQ(fake.files.begin()->first, "animation.time");
    EXPECT_EQ(fake.files.begin()->second, " 1 \r\n");

    // The next start reads the stored pace back.
    FakePlatform again(2);
    again.files = fake.files;
    puzzlemaker2 next(again);
    next.readstartupsettings();
    EXPECT_EQ(next.loop.nwait4, 1);
    EXPECT_TRUE(again.menuChecked(Menu::tslow));
}

TEST(MenusQuit, EndsAtOnceWritingNothing) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.loop.movetime = 7;
    game.loop.nwait4 = 1;
    game.quit_Click();
    EXPECT_TRUE(fake.ended());
    EXPECT_TRUE(fake.files.empty());
}

}  // namespace
}  // namespace pelorix
