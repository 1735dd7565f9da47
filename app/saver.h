// Running Pelorix as a screen-saver module.
#pragma once

#include <filesystem>
#include <optional>

#include "app/saveroptions.h"

namespace pelorix::app {

// Exit status of a saver that could not start: no display, a bad id, a missing window.
inline constexpr int saverStartFailure = 2;

// Runs saver mode if the command line or XSCREENSAVER_WINDOW asks for it, and returns the exit
// status; returns nothing when the window game is to run. Must be called before any Qt
// application object exists (it makes and drops its own).
std::optional<int> runSaverIfAsked(int argc, char** argv);

// Plays in the chosen window with the pictures and settings of `folder` until a terminating
// signal (SIGTERM, SIGINT, SIGHUP) arrives or the window is destroyed: status 0. A window that
// cannot be used: one line on standard error, status `saverStartFailure`. Needs a QCoreApplication.
int runSaver(const RunChoice& choice, const std::filesystem::path& folder);

}  // namespace pelorix::app
