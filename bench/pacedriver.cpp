// SPDX-License-Identifier: MIT
// The game in its real window, steered by user input into one state, counting frames and CPU there.
//
// Usage: pelorix_pace slow|fast play|finished|setup|solve-regular|solve-animated SECONDS [XSERVER_PID [MOVETIME]]
// Run in an empty folder under an X server. The game starts as a user would start it (title
// screen, click, the set-up screen, an animation picture, Begin); "finished" then lets the
// computer solve the puzzle. Once there it prints one line: the moving picture's speed (pixels
// per second, one per frame), the frames painted per second and the pixels the picture moved
// between two paints, the game's CPU share and the X server's, both in percent of one core, read
// from /proc/<pid>/stat. "solve-regular" and "solve-animated" instead hand a fresh puzzle of that
// type to the computer at the pace MOVETIME (hundredths of a second, default 1) and print the
// moves it made a second, from its first move to its last.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/puzzlemaker2.h"
#include "window/qtplatform.h"
#include "procstat.h"

namespace {

using pelorix::bench::cpuSeconds;

// Counts the paints the board receives: the frames that reached the screen.
class PaintCounter final : public QObject {
public:
    long paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void writeFile(const char* name, const char* bytes) { std::ofstream(name, std::ios::binary) << bytes; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s slow|fast play|finished|setup|solve-regular|solve-animated SECONDS [XSERVER_PID [MOVETIME]]\n", argv[0]);
        return 2;
    }
    const std::string pace = argv[1], goal = argv[2];
    const double seconds = std::atof(argv[3]);
    const std::string xserver = argc > 4 ? argv[4] : "";
    const bool solve = goal.rfind("solve", 0) == 0, regular = goal == "solve-regular";

    writeFile("animation.Time", pace == "slow" ? " 1 \r\n" : " 0 \r\n");
    // One move per millisecond, so that "finished" comes soon.
    writeFile("movepiece.Time", solve ? (std::string(argc > 5 ? argv[5] : "1") + "\r\n").c_str() : " .1 \r\n");
    writeFile("bench.animation_picture", "");

    QApplication app(argc, argv);
    if (regular) {
        QImage picture(754, 385, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        picture.save(QStringLiteral("bench.regular_picture"), "PNG");
    }
    pelorix::QtPlatform platform(std::filesystem::current_path());
    pelorix::puzzlemaker2 game(platform);
    platform.showWindow();

    QWidget* board = platform.canvasWidget();
    PaintCounter painted;
    board->installEventFilter(&painted);
    auto click = [&](QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, board->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(board, &press);
    };

    enum class Stage { Title, Setup, Picked, Playing, Solving, Measuring } stage = Stage::Title;
    QElapsedTimer clock, stageClock;
    // Wakes waiting yields now and then, so the steering below also runs in still states.
    QTimer waker;
    waker.start(50);
    clock.start();
    stageClock.start();
    long frames = 0, moves = 0;
    int lastLeft = 0, lastTop = -1;
    QElapsedTimer firstMove;
    double lastMoveMs = 0;
    double cpu0 = 0, x0 = 0;
    bool failed = false;
    auto startMeasure = [&] {
        stage = Stage::Measuring;
        frames = 0;
        painted.paints = 0;
        lastLeft = game.puzzle.frameleft;
        cpu0 = cpuSeconds("self");
        x0 = xserver.empty() ? 0 : cpuSeconds(xserver);
        stageClock.restart();
        // Nothing of the driver's own may wake the game while it is measured; one timer ends it.
        waker.stop();
        QTimer::singleShot(static_cast<int>(seconds * 1000) + 1, Qt::PreciseTimer, [] {});
    };
    platform.afterYield = [&] {
        frames += std::abs(game.puzzle.frameleft - lastLeft);
        lastLeft = game.puzzle.frameleft;
        switch (stage) {
            case Stage::Title:
                if (game.puzzle.solvetop > 0 && stageClock.elapsed() > 500) {
                    click(QPoint(200, 200));
                    stage = Stage::Setup;
                }
                break;
            case Stage::Setup:
                if (platform.visible(pelorix::Control::Command1)) {
                    if (goal == "setup") {
                        startMeasure();
                        break;
                    }
                    static_cast<QListWidget*>(platform.widget(regular ? pelorix::Control::File1 : pelorix::Control::File2))
                        ->setCurrentRow(0);
                    stage = Stage::Picked;
                }
                break;
            case Stage::Picked:
                static_cast<QAbstractButton*>(platform.widget(pelorix::Control::Command1))->click();
                stage = Stage::Playing;
                break;
            case Stage::Playing:
                if (game.puzzle.animated == (regular ? 0 : 1) && game.loop.puzzlestate == 3 &&
                    !platform.visible(pelorix::Control::Command1)) {
                    if (goal == "play") {
                        startMeasure();
                    } else {
                        platform.action(pelorix::Menu::csolve)->trigger();
                        stage = Stage::Solving;
                    }
                }
                break;
            case Stage::Solving:
                if (solve && lastTop >= 0 && game.puzzle.solvetop < lastTop) {
                    if (moves == 0) firstMove.start();
                    moves += lastTop - game.puzzle.solvetop;
                    lastMoveMs = static_cast<double>(firstMove.nsecsElapsed()) / 1e6;
                }
                lastTop = game.puzzle.solvetop;
                if (game.loop.puzzlestate == 4) {
                    if (solve) {
                        std::printf("moves/s %7.1f   (%ld moves in %.3f s)\n", 1000.0 * static_cast<double>(moves - 1) / lastMoveMs,
                                    moves, lastMoveMs / 1000);
                        platform.end();
                    } else {
                        startMeasure();
                    }
                }
                break;
            case Stage::Measuring: break;
        }
        if (stage != Stage::Measuring && clock.elapsed() > 120000) {
            failed = true;
            platform.end();
        }
    };
    platform.stopWhen = [&] { return stage == Stage::Measuring && static_cast<double>(stageClock.elapsed()) >= seconds * 1000; };
    game.Form_Activate();

    if (solve) return moves > 1 ? 0 : 1;
    if (failed) {
        std::printf("did not reach the state\n");
        return 1;
    }
    const double elapsed = static_cast<double>(stageClock.elapsed()) / 1000.0;
    const double cpu = cpuSeconds("self") - cpu0;
    const double x = xserver.empty() ? 0 : cpuSeconds(xserver) - x0;
    const double paints = static_cast<double>(painted.paints);
    std::printf("px/s %7.1f   shown/s %6.1f   px/shown %5.1f   game CPU %5.1f%%   X CPU %5.1f%%   together %5.1f%%\n",
                static_cast<double>(frames) / elapsed, paints / elapsed, paints > 0 ? static_cast<double>(frames) / paints : 0.0,
                100 * cpu / elapsed, 100 * x / elapsed, 100 * (cpu + x) / elapsed);
    return 0;
}
