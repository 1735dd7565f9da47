// SPDX-License-Identifier: MIT
// The game's two timers on Qt's event loop, queuing their ticks as events for the next yield.
#pragma once

#include <QTimer>
#include <array>
#include <deque>
#include <memory>

#include "platform/ids.h"

namespace pelorix::qt {

// Timer1 and Timer2 with the platform's timer contract: intervals in whole milliseconds (0 gives no
// ticks); a tick is queued once per interval while enabled, and at most one tick per timer waits
// in the queue; disabling and enabling restarts the countdown; setting the interval a running timer
// already has leaves its countdown alone; disabling drops its queued tick.
class GameTimers {
public:
    // `queue`: where ticks are queued, as TimerTick events; it must outlive the timers. A countdown
    // shorter than `floorMs` runs at `floorMs` (0: every interval is kept). Both timers start
    // disabled with their launch intervals.
    explicit GameTimers(std::deque<Event>& queue, int floorMs = 0);
    ~GameTimers();
    GameTimers(const GameTimers&) = delete;
    GameTimers& operator=(const GameTimers&) = delete;

    void setInterval(TimerId timer, int milliseconds);
    int interval(TimerId timer) const { return timers_[index(timer)].interval; }
    void setEnabled(TimerId timer, bool enabled);
    bool enabled(TimerId timer) const { return timers_[index(timer)].enabled; }
    // A tick taken from the queue: true when it is to be dispatched (its timer is still enabled).
    bool deliver(TimerId timer);
    // Stops both timers for good: no tick is queued after this.
    void stop();
    QTimer* qtimer(TimerId timer) const { return timers_[index(timer)].qtimer.get(); }

private:
    struct Timer {
        std::unique_ptr<QTimer> qtimer;
        bool enabled = false;
        int interval = 0;
        bool pending = false;  // a tick is queued
    };
    static std::size_t index(TimerId timer) { return static_cast<std::size_t>(timer); }
    void fired(TimerId timer);
    void startCountdown(TimerId timer);

    std::deque<Event>& queue_;
    int floorMs_;
    bool stopped_ = false;
    std::array<Timer, 2> timers_{};
};

}  // namespace pelorix::qt
