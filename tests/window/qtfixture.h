// SPDX-License-Identifier: MIT
// A fresh Qt window in a fresh temporary working directory, with a sink that records events.
#pragma once

#include <QPaintEvent>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window/qtplatform.h"

namespace pelorix::testing {

class RecordingSink final : public EventSink {
public:
    std::vector<Event> events;
    std::function<void(const Event&)> onEvent;
    void dispatch(const Event& event) override {
        events.push_back(event);
        if (onEvent) onEvent(event);
    }
};

// Counts the paints the canvas widget receives.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

class QtWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(work());
        platform = std::make_unique<QtPlatform>(work(), platformClock);
        platform->setSink(&sink);
    }
    void TearDown() override {
        platform.reset();
        std::filesystem::current_path(previous_);
    }

    std::filesystem::path work() const { return std::filesystem::path(dir_.path().toStdString()); }

    void writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream out(work() / name, std::ios::binary);
        out << bytes;
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(work() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> filesInWork() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(work()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // One yield that does not wait; returns the events it dispatched.
    std::vector<Event> drain() {
        sink.events.clear();
        platform->yield(false);
        std::vector<Event> got = std::move(sink.events);
        sink.events.clear();
        return got;
    }

    // Lets Qt run for `ms` without handing anything to the game (handlers only queue).
    static void pump(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // Yields (waiting) while `going` holds, for at most `timeoutMs`; a guard timer wakes a waiting
    // yield at the deadline.
    void yieldWhile(const std::function<bool()>& going, int timeoutMs) {
        bool expired = false;
        QTimer guard;
        guard.setSingleShot(true);
        guard.setTimerType(Qt::PreciseTimer);
        QObject::connect(&guard, &QTimer::timeout, [&] { expired = true; });
        guard.start(timeoutMs);
        while (going() && !expired) platform->yield(true);
    }

    // Yields (waiting) until an event of `kind` is dispatched or `timeoutMs` passed; the time of
    // the event in ms since `clock` started, or -1.
    qint64 yieldUntil(EventKind kind, const QElapsedTimer& clock, int timeoutMs) {
        qint64 at = -1;
        sink.onEvent = [&](const Event& e) {
            if (e.kind == kind && at < 0) at = clock.elapsed();
        };
        yieldWhile([&] { return at < 0; }, timeoutMs);
        sink.onEvent = nullptr;
        return at;
    }

    // Yields (waiting) for `ms`.
    void yieldFor(int ms) {
        yieldWhile([] { return true; }, ms);
    }

    static std::vector<Event> ofKind(const std::vector<Event>& events, EventKind kind) {
        std::vector<Event> out;
        for (const Event& e : events)
            if (e.kind == kind) out.push_back(e);
        return out;
    }

    std::unique_ptr<QtPlatform> platform;
    RecordingSink sink;
    // The platform's clock, in microseconds; a fixture may set it before this one's SetUp.
    qt::GameTimers::Clock platformClock = qt::GameTimers::steadyMicros;

private:
    QTemporaryDir dir_;
    std::filesystem::path previous_;
};

}  // namespace pelorix::testing
