// SPDX-License-Identifier: MIT
// Running Pelorix as a screen-saver module.
#pragma once

#include <filesystem>

#include "app/saveroptions.h"

namespace pelorix::app {

// Exit status of a saver that could not start: no display, a bad id, a missing window.
inline constexpr int saverStartFailure = 2;

// Plays in the chosen window with the pictures and settings of `folder` until a terminating
// signal (SIGTERM, SIGINT, SIGHUP) arrives or the window is destroyed: status 0. A window that
// cannot be used: one line on standard error, status `saverStartFailure`. Needs a QCoreApplication.
int runSaver(const RunChoice& choice, const std::filesystem::path& folder);

}  // namespace pelorix::app
