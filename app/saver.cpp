// SPDX-License-Identifier: MIT
// Saver mode: the foreign window, the folder, ending on signals, and the game's saver loop.
#include "app/saver.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/puzzlemaker2.h"
#include "saver/saverplatform.h"

namespace pelorix::app {

namespace {

// A signal handler may do almost nothing: it writes one byte to a pipe that the event loop watches.
int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

bool catchTerminatingSignals() {
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        if (::sigaction(sig, &action, nullptr) != 0) return false;
    // A display that goes away must end the saver through its lost connection, not kill it.
    return ::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
}

}  // namespace

int runSaver(const RunChoice& choice, const std::filesystem::path& folder) {
    // First, so that a daemon that stops the saver at once is obeyed even during start-up.
    if (!catchTerminatingSignals()) {
        std::fprintf(stderr, "pelorix: cannot catch termination signals: %s\n", std::strerror(errno));
        return saverStartFailure;
    }
    std::string error;
    auto target = XcbTarget::open(choice.window, choice.root, error);
    if (!target) {
        std::fprintf(stderr, "pelorix: %s\n", error.c_str());
        return saverStartFailure;
    }

    SaverPlatform platform(std::move(target), folder);
    QSocketNotifier stop(static_cast<qintptr>(signalPipe[0]), QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, [&] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        platform.end();
    });
    puzzlemaker2 game(platform);
    game.Saver_Activate(choice.gridWidth, choice.gridHeight);  // returns once the saver has ended
    return 0;
}

}  // namespace pelorix::app
