// SPDX-License-Identifier: MIT
// The two timers of the Qt window: countdowns, restarts, dropped and coalesced ticks on a set clock, and the real wake-up.
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "timers/gametimers.h"

#include "platform/design.h"
#include "qtfixture.h"

namespace pelorix::testing {
namespace {

using QtTimers = QtWindowTest;

TEST_F(QtTimers, LaunchState) {
    EXPECT_EQ(platform->timerInterval(TimerId::Timer1), 10000);
    EXPECT_EQ(platform->timerInterval(TimerId::Timer2), 0);
    EXPECT_FALSE(platform->timerEnabled(TimerId::Timer1));
    EXPECT_FALSE(platform->timerEnabled(TimerId::Timer2));
    EXPECT_EQ(platform->timers().wakeTimer().timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(platform->timers().wakeTimer().isActive());
}

TEST_F(QtTimers, AWaitingYieldWakesForEachTickAndNoneComesEarly) {
    // The only test of the timers on the real clock, for what a set clock cannot show: the toolkit's
    // wake-up comes, and a waiting yield sleeps until it. What holds at any speed: ticks come, the
    // n-th never before n intervals have passed, and the yields between them wait rather than spin.
    platform->setTimerInterval(TimerId::Timer2, 30);
    QElapsedTimer clock;
    clock.start();
    platform->setTimerEnabled(TimerId::Timer2, true);
    std::vector<qint64> ticks;
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::TimerTick && e.timer == TimerId::Timer2) ticks.push_back(clock.elapsed());
    };
    int yields = 0;
    while (ticks.size() < 3 && clock.elapsed() < 10000) {
        platform->yield(true);
        ++yields;
    }
    sink.onEvent = nullptr;
    ASSERT_EQ(ticks.size(), 3u) << "no tick in ten seconds";
    for (std::size_t n = 1; n <= ticks.size(); ++n)
        EXPECT_GE(ticks[n - 1], 30 * static_cast<qint64>(n) - 2) << "tick " << n << " came early";
    EXPECT_LT(yields, 100) << "the yield did not wait";
}

// Queued ticks on a clock the test sets: missed ticks coalesce into one, disabling a timer takes
// its queued tick away (also when a handler disables it before its tick is handed over), and a
// timer disabled or of interval 0 (or less) queues nothing and arms no wake-up.
TEST_F(QtTimers, QueuedTicksCoalesceAndGoWithTheirTimer) {
    std::int64_t now = 0;
    std::deque<Event> queue;
    qt::GameTimers timers(queue, [&] { return now; });
    auto advance = [&](std::int64_t ms) {
        now += ms * 1000;
        timers.poll();
    };
    timers.setInterval(TimerId::Timer2, 20);
    timers.setEnabled(TimerId::Timer2, true);
    advance(200);  // ten intervals without a yield
    EXPECT_EQ(queue.size(), 1u);
    timers.setEnabled(TimerId::Timer2, false);
    EXPECT_TRUE(queue.empty());

    timers.setInterval(TimerId::Timer1, 20);
    timers.setEnabled(TimerId::Timer1, true);
    advance(30);
    timers.setEnabled(TimerId::Timer2, true);
    advance(30);
    ASSERT_EQ(queue.size(), 2u);
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::TimerTick && e.timer == TimerId::Timer1) timers.setEnabled(TimerId::Timer2, false);
    };
    timers.turn(false, false, &sink, [] { return false; });
    sink.onEvent = nullptr;
    ASSERT_EQ(ofKind(sink.events, EventKind::TimerTick).size(), 1u);
    EXPECT_EQ(sink.events.back().timer, TimerId::Timer1);
    timers.setEnabled(TimerId::Timer1, false);

    timers.setInterval(TimerId::Timer1, 10);  // not enabled
    timers.setInterval(TimerId::Timer2, 0);
    timers.setEnabled(TimerId::Timer2, true);
    advance(60);
    EXPECT_TRUE(queue.empty());
    EXPECT_FALSE(timers.wakeTimer().isActive());
    timers.setInterval(TimerId::Timer2, -5);
    EXPECT_EQ(timers.interval(TimerId::Timer2), 0);
}

// The timers' deadlines on a clock the test sets: no wake-up of the toolkit is needed, since the
// yield's own poll queues what is due. Timer1 counts 2000 ms from enabling, missed ticks
// coalescing; Timer2, floored at 16 ms, ends a 1 ms countdown on the 16 ms grid however late it
// started.
TEST(GameTimerDeadlines, TicksFollowTheClockOnTheirGridAndCoalesce) {
    std::int64_t now = 0;
    std::deque<Event> queue;
    qt::GameTimers timers(queue, [&] { return now; });
    timers.setFloor(TimerId::Timer2, 16);
    const struct {
        TimerId timer;
        int interval;
        std::int64_t start;
        std::vector<std::pair<std::int64_t, std::size_t>> ticks;  // (poll at, ticks then)
    } cases[] = {
        {TimerId::Timer1, 2000, 0, {{1999999, 0}, {2000000, 1}, {2000001, 0}, {9000000, 1}, {9999999, 0}, {10000000, 1}}},
        {TimerId::Timer2, 1, 10005000, {{10015999, 0}, {10016000, 1}, {10031000, 0}, {10032000, 1}, {10100000, 1}, {10111999, 0}}},
        {TimerId::Timer2, 1, 10127000, {{10128000, 1}}},
    };
    for (const auto& c : cases) {
        now = c.start;
        timers.setInterval(c.timer, c.interval);
        timers.setEnabled(c.timer, true);
        for (const auto& [at, ticks] : c.ticks) {
            now = at;
            timers.poll();
            EXPECT_EQ(queue.size(), ticks) << "at " << at << " us";
            for (const Event& e : queue) timers.deliver(e.timer);
            queue.clear();
        }
        timers.setEnabled(c.timer, false);
    }
}

// What a running countdown does when the game re-arms Timer1 200 ms into a 400 ms interval, on a
// clock the test sets: the interval it already has (or enabling it again) leaves the countdown
// alone, which the waiting computer relies on; another interval, or disabling and enabling it,
// starts it anew.
TEST(GameTimerDeadlines, ReArmingKeepsOrRestartsTheCountdownAsTheContractSays) {
    const struct {
        const char* what;
        std::function<void(qt::GameTimers&)> rearm;
        std::int64_t tickAt;  // microseconds
    } cases[] = {
        {"the same interval", [](qt::GameTimers& t) { t.setInterval(TimerId::Timer1, 400); }, 400000},
        {"enabled again", [](qt::GameTimers& t) { t.setEnabled(TimerId::Timer1, true); }, 400000},
        {"another interval", [](qt::GameTimers& t) { t.setInterval(TimerId::Timer1, 401); }, 601000},
        {"disabled and enabled",
         [](qt::GameTimers& t) {
             t.setEnabled(TimerId::Timer1, false);
             t.setEnabled(TimerId::Timer1, true);
         },
         600000},
    };
    for (const auto& c : cases) {
        std::int64_t now = 0;
        std::deque<Event> queue;
        qt::GameTimers timers(queue, [&] { return now; });
        timers.setInterval(TimerId::Timer1, 400);
        timers.setEnabled(TimerId::Timer1, true);
        now = 200000;
        timers.poll();
        c.rearm(timers);
        now = c.tickAt - 1;
        timers.poll();
        EXPECT_TRUE(queue.empty()) << c.what;
        now = c.tickAt;
        timers.poll();
        EXPECT_EQ(queue.size(), 1u) << c.what;
    }
}

}  // namespace
}  // namespace pelorix::testing
