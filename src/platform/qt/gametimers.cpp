// SPDX-License-Identifier: MIT
// The game's two timers: QTimers whose ticks wait in the platform's event queue for the next yield.
#include "platform/qt/gametimers.h"

#include <QTimer>
#include <algorithm>

#include "platform/design.h"

namespace pelorix::qt {

GameTimers::GameTimers(std::deque<Event>& queue, int floorMs) : queue_(queue), floorMs_(floorMs) {
    const std::array<int, 2> launch{timer1LaunchInterval, timer2LaunchInterval};
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        Timer& t = timers_[i];
        t.qtimer = std::make_unique<QTimer>();
        // Coarse timers may fire up to 5 % late; the animation's 1 ms frame clock needs precise ones.
        t.qtimer->setTimerType(Qt::PreciseTimer);
        t.interval = launch[i];
        const auto id = static_cast<TimerId>(i);
        QObject::connect(t.qtimer.get(), &QTimer::timeout, [this, id] { fired(id); });
    }
}

GameTimers::~GameTimers() { stop(); }

void GameTimers::fired(TimerId id) {
    Timer& t = timers_[index(id)];
    if (stopped_ || !t.enabled || t.pending) return;  // at most one tick waits per timer
    t.pending = true;
    Event e;
    e.kind = EventKind::TimerTick;
    e.timer = id;
    queue_.push_back(e);
}

void GameTimers::startCountdown(TimerId id) {
    Timer& t = timers_[index(id)];
    if (t.interval > 0 && !stopped_)
        t.qtimer->start(std::max(t.interval, floorMs_));  // (re)starts the countdown
    else
        t.qtimer->stop();  // interval 0 gives no ticks
}

void GameTimers::setInterval(TimerId id, int milliseconds) {
    Timer& t = timers_[index(id)];
    // The same interval again leaves a running countdown alone (QTimer::setInterval would restart it).
    if (t.interval == milliseconds) return;
    t.interval = std::max(milliseconds, 0);
    if (t.enabled) startCountdown(id);
}

void GameTimers::setEnabled(TimerId id, bool enabled) {
    Timer& t = timers_[index(id)];
    if (enabled) {
        if (t.enabled) return;
        t.enabled = true;
        startCountdown(id);
        return;
    }
    t.enabled = false;
    t.qtimer->stop();
    t.pending = false;
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [id](const Event& e) { return e.kind == EventKind::TimerTick && e.timer == id; }),
                 queue_.end());
}

bool GameTimers::deliver(TimerId id) {
    Timer& t = timers_[index(id)];
    t.pending = false;
    return t.enabled;
}

void GameTimers::stop() {
    stopped_ = true;
    for (Timer& t : timers_) {
        t.pending = false;
        if (t.qtimer) t.qtimer->stop();
    }
}

}  // namespace pelorix::qt
