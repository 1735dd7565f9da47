// SPDX-License-Identifier: MIT
// A window of another program (or the root window) that a screen saver draws into over its own X connection.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace pelorix {

// Watches the window for size changes, exposure and destruction (never for input, which stays
// with the program that owns the window) and puts pictures into it. Not copyable.
class XcbTarget {
public:
    // Connects to the display named by DISPLAY and takes `window`, or the screen's root window when
    // `root` is true. Null with a one-line reason in `error` when there is no display, no such
    // window, or the window's pixel format is not 24-bit or 32-bit true colour.
    static std::unique_ptr<XcbTarget> open(std::uint32_t window, bool root, std::string& error);
    ~XcbTarget();
    XcbTarget(const XcbTarget&) = delete;
    XcbTarget& operator=(const XcbTarget&) = delete;

    // The connection's socket: readable when events may be waiting.
    int fd() const;
    std::uint32_t window() const { return window_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // True once the window was destroyed or the connection to the display was lost.
    bool gone() const { return gone_; }

    // What the events read by `poll` changed.
    struct Changes {
        bool resized = false;
        QRect exposed;  // bounding box of the areas the server asked to be redrawn
    };
    // Reads every event that has arrived. Cheap when there is none.
    Changes poll();
    // Puts `area` of `image` (RGB32, window coordinates) into the window and sends it.
    void put(const QImage& image, const QRect& area);

private:
    XcbTarget() = default;

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
    std::uint32_t gc_ = 0;
    std::uint8_t depth_ = 24;
    bool swapBytes_ = false;  // the server wants pixels most significant byte first
    int width_ = 0;
    int height_ = 0;
    bool gone_ = false;
    std::size_t maxRequestBytes_ = 0;
    std::vector<std::uint32_t> rows_;  // reused for every put, so drawing allocates nothing
};

}  // namespace pelorix
