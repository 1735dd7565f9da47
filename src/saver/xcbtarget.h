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
// with the program that owns the window) and draws into it through pictures the server holds
// (pixmaps in the window's own pixel format): a picture crosses the connection once, when it is
// made, and every later drawing call is a short request that the server carries out. Not copyable.
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
    // A picture of `size` held by the server, its pixels undefined; 0 when the server refuses it
    // (no memory, a size it cannot make).
    std::uint32_t createPixmap(QSize size);
    // A picture held by the server with the pixels of `picture` (RGB32); 0 when it cannot be made.
    std::uint32_t upload(const QImage& picture);
    void freePixmap(std::uint32_t pixmap);
    // The pixels of a picture the server holds, as RGB32; null when they cannot be read.
    QImage download(std::uint32_t pixmap, QSize size);

    // Drawing requests, carried out by the server in the order given; `send` sends them all.
    // `value` is 0xAARRGGBB; a window without an alpha channel ignores AA.
    void fill(std::uint32_t pixmap, const QRect& rect, unsigned value);
    void copy(std::uint32_t from, std::uint32_t to, QPoint origin, const QRect& target);
    // Copies `area` of `pixmap` (window coordinates) to the window.
    void show(std::uint32_t pixmap, const QRect& area);
    void send();

private:
    XcbTarget() = default;
    // Puts all of `picture` into `drawable` in requests that each fit the connection's limit.
    void put(std::uint32_t drawable, const QImage& picture);

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
    std::uint32_t gc_ = 0;
    unsigned foreground_ = 0;  // the drawing colour the server has for gc_
    std::uint8_t depth_ = 24;
    bool swapBytes_ = false;  // the server wants pixels most significant byte first
    int width_ = 0;
    int height_ = 0;
    bool gone_ = false;
    std::size_t maxRequestBytes_ = 0;
    std::vector<std::uint32_t> rows_;  // a strip in the server's byte order, when it differs from ours
};

}  // namespace pelorix
