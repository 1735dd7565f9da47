// SPDX-License-Identifier: MIT
// Screen-saver mode for a long while over a folder of hostile and large pictures, reporting the
// game's memory and CPU (and the X server's CPU) every 30 s from /proc/<pid>/stat and status.
//
// Usage: pelorix_soak MINUTES [XSERVER_PID]   (run in an empty folder under an X server)
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <cstdio>
#include <malloc.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/puzzlemaker2.h"
#include "hostile.h"
#include "window/qtplatform.h"
#include "procstat.h"

namespace {

using pelorix::bench::cpuSeconds;

long statusMb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size() + 1)) / 1024;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const double minutes = argc > 1 ? std::atof(argv[1]) : 10;
    const std::string xserver = argc > 2 ? argv[2] : "";
    // Every hostile and large picture as a regular picture; short moves and short displays.
    for (const auto& f : pelorix::testing::hostileSet(true))
        std::ofstream(f.name + ".regular_picture", std::ios::binary).write(f.bytes.constData(), f.bytes.size());
    std::ofstream("bench.animation_picture");
    std::ofstream("movepiece.Time") << " 0 \r\n";
    std::ofstream("newpuzzle.Time") << " 5 \r\n";
    std::ofstream("animation.Time") << " 1 \r\n";
    // Making the files took memory of its own; the peak counts from here on.
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";

    QApplication app(argc, argv);
    pelorix::QtPlatform platform(std::filesystem::current_path());
    pelorix::puzzlemaker2 game(platform);
    platform.showWindow();
    QWidget* board = platform.canvasWidget();

    int stage = 0;
    QElapsedTimer clock, report;
    clock.start();
    double cpu0 = cpuSeconds("self"), x0 = xserver.empty() ? 0 : cpuSeconds(xserver);
    long puzzles = 0;
    int lastState = -1;
    QTimer waker;
    waker.start(100);
    std::printf("  time  finished  RSS MB  peak MB  game CPU  X CPU   (every 30 s)\n");
    std::fflush(stdout);
    platform.afterYield = [&] {
        if (game.loop.puzzlestate == 4 && lastState == 3) ++puzzles;
        lastState = game.loop.puzzlestate;
        if (stage == 0 && game.puzzle.solvetop > 0) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(200, 200), board->mapToGlobal(QPointF(200, 200)),
                              Qt::LeftButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(board, &press);
            stage = 1;
        } else if (stage == 1 && platform.visible(pelorix::Control::Command1)) {
            static_cast<QAbstractButton*>(platform.widget(pelorix::Control::Command1))->click();
            stage = 2;
        } else if (stage == 2 && !platform.visible(pelorix::Control::Command1)) {
            platform.action(pelorix::Menu::prandom)->trigger();
            platform.action(pelorix::Menu::csolves)->trigger();
            stage = 3;
            report.start();
        } else if (stage == 3 && report.elapsed() >= 30000) {
            const double t = static_cast<double>(report.elapsed()) / 1000.0;
            const double cpu = cpuSeconds("self"), x = xserver.empty() ? 0 : cpuSeconds(xserver);
            std::printf("  %4.0fs  %7ld  %6ld  %7ld  %7.1f%%  %5.1f%%\n", static_cast<double>(clock.elapsed()) / 1000.0, puzzles,
                        statusMb("VmRSS:"), statusMb("VmHWM:"), 100 * (cpu - cpu0) / t, 100 * (x - x0) / t);
            std::fflush(stdout);
            cpu0 = cpu;
            x0 = x;
            report.restart();
        }
    };
    platform.stopWhen = [&] { return static_cast<double>(clock.elapsed()) > minutes * 60000; };
    game.Form_Activate();
    return 0;
}
