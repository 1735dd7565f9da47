// SPDX-License-Identifier: MIT
// The whole game on a fresh Qt window: start-up and main loop run until a condition holds.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

#include "fakeplatform.h"
#include "game/puzzlemaker2.h"
#include "qtfixture.h"

namespace pelorix::testing {

// How long a real-window game may take to reach what a test waits for: ample for a machine busy
// with other builds, and below the test's own time limit so that a game that never gets there
// fails with a message. A game that gets there ends the wait at once.
constexpr qint64 patienceMs = 40000;

class QtGame : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        game = std::make_unique<puzzlemaker2>(*platform);
        platform->showWindow();
        clock.start();
    }
    void TearDown() override {
        game.reset();
        QtWindowTest::TearDown();
    }

    // Runs the game until `done` holds after a yield (or the patience runs out).
    void runUntil(std::function<bool()> done) {
        platform->stopWhen = [this, done = std::move(done)] { return done() || clock.elapsed() > patienceMs; };
        game->Form_Activate();
        platform->stopWhen = nullptr;
        EXPECT_LT(clock.elapsed(), patienceMs) << "the game did not get there in time";
    }
    bool built() const { return game->puzzle.solvetop > 0; }
    int colourOnCanvas(int x, int y) const { return colourAt(platform->canvas(), x, y); }
    // Wakes waiting yields every few milliseconds, so the hooks see states that only last until
    // the next event (a finished regular picture waits for a click or the screen-saver tick).
    void wakeOften() {
        waker.setTimerType(Qt::PreciseTimer);
        waker.start(5);
    }

    std::unique_ptr<puzzlemaker2> game;
    QElapsedTimer clock;
    QTimer waker;
};

}  // namespace pelorix::testing
