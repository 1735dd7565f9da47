// SPDX-License-Identifier: MIT
// The screen-saver options of the command line and the choice between window and screen-saver mode.
#pragma once

#include <QCommandLineParser>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelorix::app {

// Adds --window-id ID, --root and --grid WxH to a parser.
void addSaverOptions(QCommandLineParser& parser);

// The saver options of one start, as given (not yet checked).
struct SaverArgs {
    std::optional<std::string> windowId;  // --window-id
    bool root = false;                    // --root
    std::optional<std::string> grid;      // --grid
    std::optional<std::string> envWindow;  // XSCREENSAVER_WINDOW; an empty value counts as unset
};

// The options a parser (set up by `addSaverOptions`, already run) found, plus the value of
// XSCREENSAVER_WINDOW (`envWindow`, empty when unset).
SaverArgs saverArgs(const QCommandLineParser& parser, const std::string& envWindow);

enum class RunMode { Window, Saver, Error };

struct RunChoice {
    RunMode mode = RunMode::Window;
    bool root = false;         // Saver: draw on the screen's root window
    std::uint32_t window = 0;  // Saver, not root: the window to draw into
    int gridWidth = 4;         // Saver: grid size, each side 2-20
    int gridHeight = 4;
    std::string error;  // Error: the one line to print
};

// Decides how to run. Saver mode only when --window-id or --root is given. The window drawn into is
// --window-id's, else with --root the one XSCREENSAVER_WINDOW names (a daemon may start "--root" and
// name its own window there), else the root window; without either option the variable is ignored.
// An id or grid that does not read gives Error; --grid outside saver mode is not looked at.
RunChoice chooseRunMode(const SaverArgs& args);

// A window id written in decimal or as 0x hexadecimal, 1 to 0xFFFFFFFF; empty when it does not read.
std::optional<std::uint32_t> parseWindowId(std::string_view text);
// "WxH" (or "N" for N x N), each side bounded to 2-20; empty when it does not read.
std::optional<std::pair<int, int>> parseGrid(std::string_view text);

}  // namespace pelorix::app
