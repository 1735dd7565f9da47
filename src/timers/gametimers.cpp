// SPDX-License-Identifier: MIT
// The game's two timers: deadlines on a steady clock whose ticks wait in the platform's event queue.
#include "timers/gametimers.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "platform/design.h"

namespace pelorix::qt {

namespace {
constexpr std::int64_t microsPerMs = 1000;
}  // namespace

std::int64_t GameTimers::steadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

GameTimers::GameTimers(std::deque<Event>& queue, Clock clock) : queue_(queue), clock_(std::move(clock)) {
    timers_[index(TimerId::Timer1)].interval = timer1LaunchInterval;
    timers_[index(TimerId::Timer2)].interval = timer2LaunchInterval;
    wake_.setSingleShot(true);
    // Coarse timers may wake up to 5 % late; a frame clock of one refresh needs precise ones.
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] { poll(); });
}

GameTimers::~GameTimers() { stop(); }

std::int64_t GameTimers::nextDeadline(const Timer& t, std::int64_t from, std::int64_t now) const {
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

void GameTimers::startCountdown(Timer& t) {
    const std::int64_t now = clock_();
    t.due = nextDeadline(t, now, now);
}

void GameTimers::queueTick(TimerId id) {
    Timer& t = timers_[index(id)];
    if (t.pending) return;  // at most one tick waits per timer
    t.pending = true;
    Event e;
    e.kind = EventKind::TimerTick;
    e.timer = id;
    queue_.push_back(e);
}

void GameTimers::poll() {
    if (stopped_) return;
    const std::int64_t now = clock_();
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        Timer& t = timers_[i];
        if (!running(t) || t.due > now) continue;
        queueTick(static_cast<TimerId>(i));
        t.due = nextDeadline(t, t.due, now);
    }
    if (refreshDue_ <= now) refreshDue_ = -1;
    rearm();
}

long long GameTimers::refreshCount(int periodMs) const { return clock_() / (std::max(periodMs, 1) * microsPerMs); }

void GameTimers::wakeAtRefresh(int periodMs) {
    const std::int64_t period = std::max(periodMs, 1) * microsPerMs;
    refreshDue_ = (clock_() / period + 1) * period;
    rearm();
}

std::int64_t GameTimers::untilNext() const {
    std::int64_t nearest = -1;
    const std::int64_t now = clock_();
    for (const Timer& t : timers_) {
        if (!running(t)) continue;
        const std::int64_t left = std::max<std::int64_t>(t.due - now, 0);
        nearest = nearest < 0 ? left : std::min(nearest, left);
    }
    return nearest;
}

void GameTimers::rearm() {
    std::int64_t left = untilNext();
    if (refreshDue_ >= 0 && !stopped_) {
        const std::int64_t toRefresh = std::max<std::int64_t>(refreshDue_ - clock_(), 0);
        left = left < 0 ? toRefresh : std::min(left, toRefresh);
    }
    if (left < 0) {
        wake_.stop();
        return;
    }
    // Whole milliseconds, rounded up, so that the deadline has passed when the wake-up comes.
    const std::int64_t ms = (left + microsPerMs - 1) / microsPerMs;
    wake_.start(static_cast<int>(std::min<std::int64_t>(ms, std::numeric_limits<int>::max())));
}

void GameTimers::setInterval(TimerId id, int milliseconds) {
    Timer& t = timers_[index(id)];
    milliseconds = std::max(milliseconds, 0);
    // The same interval again leaves a running countdown alone.
    if (t.interval == milliseconds) return;
    t.interval = milliseconds;
    if (t.enabled) startCountdown(t);
    rearm();
}

void GameTimers::setFloor(TimerId id, int milliseconds) { timers_[index(id)].floor = std::max(milliseconds, 0); }

void GameTimers::setEnabled(TimerId id, bool enabled) {
    Timer& t = timers_[index(id)];
    if (enabled) {
        if (t.enabled) return;
        t.enabled = true;
        startCountdown(t);
        rearm();
        return;
    }
    t.enabled = false;
    t.pending = false;
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [id](const Event& e) { return e.kind == EventKind::TimerTick && e.timer == id; }),
                 queue_.end());
    rearm();
}

bool GameTimers::deliver(TimerId id) {
    Timer& t = timers_[index(id)];
    t.pending = false;
    return t.enabled;
}

void GameTimers::stop() {
    stopped_ = true;
    for (Timer& t : timers_) t.pending = false;
    wake_.stop();
}

}  // namespace pelorix::qt
