// SPDX-License-Identifier: MIT
// The game's two timers as deadlines on a steady clock, queuing their ticks as events for the next yield.
#pragma once

#include <QTimer>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>

#include "platform/ids.h"
#include "platform/platform.h"
#include "platform/timerdeadlines.h"

namespace pelorix::qt {

// The shortest time between two animation frames, however fast the screen refreshes: frames of
// the same pace move the picture at about the same speed on any display.
inline constexpr int shortestFrameMs = 15;

// Timer1 and Timer2 with the platform's timer contract: intervals in whole milliseconds (0 gives no
// ticks); a tick is queued once per interval while enabled, and at most one tick per timer waits
// in the queue (missed ticks coalesce); disabling and enabling restarts the countdown; setting the
// interval a running timer already has leaves its countdown alone; disabling drops its queued tick.
//
// Each timer is a deadline on the clock, not a toolkit timer of its own: one wake-up timer is armed
// for the nearest deadline, and every `poll` (each yield makes one) queues the ticks that are due.
// So a tick is never lost to a wake-up that did not come, and a waiting yield can always be told
// how long it may sleep.
//
// A countdown shorter than its timer's floor ends at the next multiple of the floor on the clock:
// a frame clock floored at the display's refresh ticks on a fixed grid, so a frame that was late
// does not push every later frame back.
class GameTimers {
public:
    // Microseconds on a steady clock.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t steadyMicros();

    // `queue`: where ticks are queued, as TimerTick events; it must outlive the timers. Both timers
    // start disabled with their launch intervals and no floor.
    explicit GameTimers(std::deque<Event>& queue, Clock clock = steadyMicros);
    ~GameTimers();
    GameTimers(const GameTimers&) = delete;
    GameTimers& operator=(const GameTimers&) = delete;

    void setInterval(TimerId timer, int milliseconds);
    int interval(TimerId timer) const { return deadlines_.interval(timer); }
    void setEnabled(TimerId timer, bool enabled);
    bool enabled(TimerId timer) const { return deadlines_.enabled(timer); }
    // Shortest countdown of `timer` from now on, in milliseconds (0: none); a running countdown
    // keeps its deadline.
    void setFloor(TimerId timer, int milliseconds);
    // Queues the tick of every enabled timer whose countdown ran out and starts its next countdown.
    void poll();
    // Microseconds until the nearest deadline of an enabled timer (0 when one is due); -1 if none.
    std::int64_t untilNext() const;
    // The display's refresh clock, refreshes of `periodMs` on the timers' clock: the refreshes
    // counted so far.
    long long refreshCount(int periodMs) const;
    // The timers' clock, in microseconds and in milliseconds.
    std::int64_t clockMicros() const { return clock_(); }
    double clockMs() const { return static_cast<double>(clock_()) / 1000.0; }
    // Has the wake-up come by the next refresh too, so that a waiting yield returns by then.
    void wakeAtRefresh(int periodMs);
    // A tick taken from the queue: true when it is to be dispatched (its timer is still enabled).
    bool deliver(TimerId timer);
    // The shared heart of a platform's yield: queues the ticks already due; lets Qt's event loop
    // take one turn, waiting for an event when `mayWait` and nothing is queued yet (without
    // waiting, a turn is taken only when `turnAnyway`); queues the ticks due by then; and hands
    // the events queued so far to `sink` one at a time, a tick only while its timer is enabled,
    // until `ended` holds. Events that handlers queue meanwhile wait for the next yield.
    void turn(bool mayWait, bool turnAnyway, EventSink* sink, const std::function<bool()>& ended);
    // Stops both timers for good: no tick is queued after this.
    void stop();
    // The wake-up timer: active while some enabled timer has a countdown running or a refresh is
    // awaited.
    const QTimer& wakeTimer() const { return wake_; }

private:
    static std::size_t index(TimerId timer) { return static_cast<std::size_t>(timer); }
    void queueTick(TimerId timer);
    // Arms the wake-up timer for the nearest deadline.
    void rearm();

    std::deque<Event>& queue_;
    Clock clock_;
    TimerDeadlines deadlines_;
    bool stopped_ = false;
    std::array<bool, 2> pending_{};  // a tick of the timer is queued
    std::int64_t refreshDue_ = -1;  // the awaited refresh; -1 when none
    QTimer wake_;
};

}  // namespace pelorix::qt
