// SPDX-License-Identifier: MIT
// The game's two timers as deadlines on an injected clock: the arithmetic every platform shares.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "platform/ids.h"

namespace pelorix {

// Timer1 and Timer2 with the platform's timer contract, on a clock of microseconds that the caller
// gives: intervals in whole milliseconds (0 gives no ticks); disabling and enabling restarts the
// countdown; setting the interval a running timer already has leaves its countdown alone; ticks
// missed while nobody looked coalesce into one. A countdown shorter than its timer's floor ends on
// the floor's grid on the clock, so a frame clock floored at the display's refresh ticks on a fixed
// grid and a late frame does not push every later one back. Both start disabled with their launch
// intervals and no floor. How a tick reaches the game is the caller's.
class TimerDeadlines {
public:
    using Clock = std::function<std::int64_t()>;
    explicit TimerDeadlines(Clock clock);

    void setInterval(TimerId timer, int milliseconds);
    int interval(TimerId timer) const { return at(timer).interval; }
    // Enabling an enabled timer changes nothing. Returns whether the timer was enabled before.
    bool setEnabled(TimerId timer, bool enabled);
    bool enabled(TimerId timer) const { return at(timer).enabled; }
    // Shortest countdown of `timer` from now on, in milliseconds (0: none); a running countdown
    // keeps its deadline.
    void setFloor(TimerId timer, int milliseconds);
    // Calls `due(timer, deadline)` for each enabled timer whose countdown ended by now (at most
    // once each, however many intervals passed) and starts its next countdown.
    void takeDue(const std::function<void(TimerId, std::int64_t)>& due);
    // Microseconds until the nearest deadline of an enabled timer (0 when one is due); -1 if none.
    std::int64_t untilNext() const;
    std::int64_t now() const { return clock_(); }

private:
    struct Timer {
        bool enabled = false;
        int interval = 0;
        int floor = 0;
        std::int64_t due = 0;  // the deadline, while enabled with an interval
    };
    static bool running(const Timer& t) { return t.enabled && t.interval > 0; }
    Timer& at(TimerId timer) { return timers_[static_cast<std::size_t>(timer)]; }
    const Timer& at(TimerId timer) const { return timers_[static_cast<std::size_t>(timer)]; }
    // The first deadline after `now` of a countdown that ended (or started) at `from`.
    std::int64_t nextDeadline(const Timer& t, std::int64_t from, std::int64_t now) const;

    Clock clock_;
    std::array<Timer, 2> timers_{};
};

}  // namespace pelorix
