// SPDX-License-Identifier: MIT
// Test helpers for the screen-saver module: a native X window to hand over, and the saver process.
#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pelorix::testing {

// A mapped top-level window with a black background, made over a connection of its own, the
// way a screen-saver daemon makes the window it hands to a module.
class XWindow {
public:
    XWindow(int width, int height);
    ~XWindow();
    XWindow(const XWindow&) = delete;
    XWindow& operator=(const XWindow&) = delete;

    std::uint32_t id() const { return window_; }
    std::string hexId() const;
    void resize(int width, int height);
    // Wipes the window to its black background, as a window that covered it would leave it.
    void clear();
    void destroy();
    // The window's pixels as 0xRRGGBB, row by row; empty when it cannot be read.
    std::vector<std::uint32_t> pixels(int& width, int& height) const;
    // Pixels of the area (x, y, w, h) that are not black.
    int litPixels(int x, int y, int w, int h) const;

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
    bool destroyed_ = false;
};

// The colour 0xRRGGBB of one pixel of the screen's root window; empty when it cannot be read.
std::optional<std::uint32_t> rootPixel(int x, int y);

// The built program started with an environment and arguments of the test's choosing.
class SaverProcess {
public:
    // `env`: extra NAME=VALUE entries. Standard error goes to `stderrFile` when given.
    SaverProcess(const std::vector<std::string>& args, const std::vector<std::string>& env,
                 const std::filesystem::path& stderrFile = {});
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Exit status once it has ended within `ms`; empty while it still runs. A death by a signal
    // gives 128 + the signal number.
    std::optional<int> waitExit(int ms);
    bool running();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A fresh, empty folder, removed with everything in it when the object goes.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    std::filesystem::path path;
};

// Every file of a folder with its content (size and hash for large ones), for before/after comparisons.
std::vector<std::pair<std::string, std::string>> snapshot(const std::filesystem::path& folder);

}  // namespace pelorix::testing
