// SPDX-License-Identifier: MIT
// Deadlines of the game's two timers on an injected clock: countdowns, floors, coalesced ticks.
#include "platform/timerdeadlines.h"

#include <algorithm>

#include "platform/design.h"

namespace pelorix {

namespace {
constexpr std::int64_t microsPerMs = 1000;
}  // namespace

TimerDeadlines::TimerDeadlines(Clock clock) : clock_(std::move(clock)) {
    at(TimerId::Timer1).interval = timer1LaunchInterval;
    at(TimerId::Timer2).interval = timer2LaunchInterval;
}

std::int64_t TimerDeadlines::nextDeadline(const Timer& t, std::int64_t from, std::int64_t now) const {
    // A timer of interval 0 never ticks, so it has no next deadline to count to (and no step to
    // divide by); the value is never looked at.
    if (t.interval <= 0) return now;
    if (t.interval < t.floor) {
        // Floored: the next point of the floor's grid strictly after now.
        const std::int64_t grid = t.floor * microsPerMs;
        return (now / grid + 1) * grid;
    }
    const std::int64_t step = t.interval * microsPerMs;
    if (from + step > now) return from + step;
    // Missed ticks coalesce: the next deadline is the first one still ahead.
    return from + ((now - from) / step + 1) * step;
}

void TimerDeadlines::setInterval(TimerId timer, int milliseconds) {
    Timer& t = at(timer);
    milliseconds = std::max(milliseconds, 0);
    // The same interval again leaves a running countdown alone.
    if (t.interval == milliseconds) return;
    t.interval = milliseconds;
    const std::int64_t now = clock_();
    if (t.enabled) t.due = nextDeadline(t, now, now);
}

bool TimerDeadlines::setEnabled(TimerId timer, bool enabled) {
    Timer& t = at(timer);
    const bool was = t.enabled;
    t.enabled = enabled;
    if (enabled && !was) {
        const std::int64_t now = clock_();
        t.due = nextDeadline(t, now, now);
    }
    return was;
}

void TimerDeadlines::setFloor(TimerId timer, int milliseconds) { at(timer).floor = std::max(milliseconds, 0); }

void TimerDeadlines::takeDue(const std::function<void(TimerId, std::int64_t)>& due) {
    const std::int64_t now = clock_();
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        Timer& t = timers_[i];
        if (!running(t) || t.due > now) continue;
        const std::int64_t deadline = t.due;
        t.due = nextDeadline(t, t.due, now);
        due(static_cast<TimerId>(i), deadline);
    }
}

std::int64_t TimerDeadlines::untilNext() const {
    std::int64_t nearest = -1;
    const std::int64_t now = clock_();
    for (const Timer& t : timers_) {
        if (!running(t)) continue;
        const std::int64_t left = std::max<std::int64_t>(t.due - now, 0);
        nearest = nearest < 0 ? left : std::min(nearest, left);
    }
    return nearest;
}

}  // namespace pelorix
