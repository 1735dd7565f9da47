// SPDX-License-Identifier: MIT
// The game's two timers: deadlines on a steady clock whose ticks wait in the platform's event queue.
#include "timers/gametimers.h"

#include <QCoreApplication>
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

GameTimers::GameTimers(std::deque<Event>& queue, Clock clock)
    : queue_(queue), clock_(std::move(clock)), deadlines_(clock_) {
    wake_.setSingleShot(true);
    // Coarse timers may wake up to 5 % late; a frame clock of one refresh needs precise ones.
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] { poll(); });
}

GameTimers::~GameTimers() { stop(); }

void GameTimers::queueTick(TimerId id) {
    if (pending_[index(id)]) return;  // at most one tick waits per timer
    pending_[index(id)] = true;
    Event e;
    e.kind = EventKind::TimerTick;
    e.timer = id;
    queue_.push_back(e);
}

void GameTimers::poll() {
    if (stopped_) return;
    deadlines_.takeDue([this](TimerId id, std::int64_t) { queueTick(id); });
    if (refreshDue_ <= clock_()) refreshDue_ = -1;
    rearm();
}

long long GameTimers::refreshCount(int periodMs) const { return clock_() / (std::max(periodMs, 1) * microsPerMs); }

void GameTimers::wakeAtRefresh(int periodMs) {
    const std::int64_t period = std::max(periodMs, 1) * microsPerMs;
    refreshDue_ = (clock_() / period + 1) * period;
    rearm();
}

std::int64_t GameTimers::untilNext() const { return stopped_ ? -1 : deadlines_.untilNext(); }

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
    deadlines_.setInterval(id, milliseconds);
    rearm();
}

void GameTimers::setFloor(TimerId id, int milliseconds) { deadlines_.setFloor(id, milliseconds); }

void GameTimers::setEnabled(TimerId id, bool enabled) {
    deadlines_.setEnabled(id, enabled);
    if (!enabled) {
        // A disabled timer's queued tick goes with it.
        pending_[index(id)] = false;
        queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                    [id](const Event& e) { return e.kind == EventKind::TimerTick && e.timer == id; }),
                     queue_.end());
    }
    rearm();
}

bool GameTimers::deliver(TimerId id) {
    pending_[index(id)] = false;
    return deadlines_.enabled(id);
}

void GameTimers::turn(bool mayWait, bool turnAnyway, EventSink* sink, const std::function<bool()>& ended) {
    // Ticks already due are queued first, whether or not the toolkit's wake-up for them came; a
    // waiting turn then handles whatever is ready at once and blocks only when nothing is.
    poll();
    if (mayWait && queue_.empty())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    else if (turnAnyway)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    poll();
    for (std::size_t n = queue_.size(); n > 0 && !queue_.empty() && !ended(); --n) {
        const Event event = queue_.front();
        queue_.pop_front();
        if (event.kind == EventKind::TimerTick && !deliver(event.timer)) continue;
        if (sink) sink->dispatch(event);
    }
}

void GameTimers::stop() {
    stopped_ = true;
    pending_.fill(false);
    wake_.stop();
}

}  // namespace pelorix::qt
