// SPDX-License-Identifier: MIT
// The two timers of the Qt window on the real clock: countdowns, restarts, dropped and coalesced ticks.
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

TEST_F(QtTimers, TicksArriveOncePerInterval) {
    // What holds at any speed: ticks come, and the n-th never before n intervals have passed. A
    // busy machine only makes them later.
    pump(50);
    platform->setTimerInterval(TimerId::Timer2, 100);
    QElapsedTimer clock;
    clock.start();
    platform->setTimerEnabled(TimerId::Timer2, true);
    std::vector<qint64> ticks;
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::TimerTick) ticks.push_back(clock.elapsed());
    };
    yieldWhile([&] { return ticks.size() < 3; }, 10000);
    sink.onEvent = nullptr;
    ASSERT_FALSE(ticks.empty()) << "no tick in ten seconds";
    EXPECT_EQ(ofKind(sink.events, EventKind::TimerTick).back().timer, TimerId::Timer2);
    for (std::size_t n = 1; n <= ticks.size(); ++n)
        EXPECT_GE(ticks[n - 1], 100 * static_cast<qint64>(n) - 2) << "tick " << n << " came early";
}

TEST_F(QtTimers, TicksCoalesceAndDisablingDropsAQueuedTick) {
    platform->setTimerInterval(TimerId::Timer2, 20);
    platform->setTimerEnabled(TimerId::Timer2, true);
    pump(200);  // many intervals pass without a yield
    EXPECT_EQ(platform->pendingEvents(), 1u);
    platform->setTimerEnabled(TimerId::Timer2, false);
    EXPECT_EQ(platform->pendingEvents(), 0u);
    EXPECT_TRUE(drain().empty());
    // A tick queued before a handler disables its timer is not delivered either.
    platform->setTimerInterval(TimerId::Timer1, 20);
    platform->setTimerEnabled(TimerId::Timer1, true);
    pump(80);
    platform->setTimerEnabled(TimerId::Timer2, true);
    pump(80);
    EXPECT_EQ(platform->pendingEvents(), 2u);
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::TimerTick && e.timer == TimerId::Timer1) platform->setTimerEnabled(TimerId::Timer2, false);
    };
    auto events = ofKind(drain(), EventKind::TimerTick);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].timer, TimerId::Timer1);
    sink.onEvent = nullptr;
    platform->setTimerEnabled(TimerId::Timer1, false);
}

TEST_F(QtTimers, DisabledTimerAndIntervalZeroGiveNoTicks) {
    platform->setTimerInterval(TimerId::Timer1, 10);
    pump(60);
    EXPECT_TRUE(drain().empty());
    platform->setTimerInterval(TimerId::Timer2, 0);
    platform->setTimerEnabled(TimerId::Timer2, true);
    pump(60);
    EXPECT_TRUE(drain().empty());
    EXPECT_FALSE(platform->timers().wakeTimer().isActive());
    // A negative interval counts as 0.
    platform->setTimerInterval(TimerId::Timer2, -5);
    EXPECT_EQ(platform->timerInterval(TimerId::Timer2), 0);
}

TEST_F(QtTimers, AWaitingYieldWakesForATick) {
    platform->setTimerInterval(TimerId::Timer2, 50);
    QElapsedTimer clock;
    clock.start();
    platform->setTimerEnabled(TimerId::Timer2, true);
    // Each waiting yield blocks until something happens; a tick must come within a few of them.
    int yields = 0;
    while (ofKind(sink.events, EventKind::TimerTick).empty() && clock.elapsed() < 10000) {
        platform->yield(true);
        ++yields;
    }
    EXPECT_FALSE(ofKind(sink.events, EventKind::TimerTick).empty());
    EXPECT_LT(yields, 50) << "the yield did not wait";
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
