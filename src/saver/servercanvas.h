// SPDX-License-Identifier: MIT
// The screen saver's drawing surface, held by the X server: drawing calls become short requests.
#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>

#include "pictures/canvasplan.h"

namespace pelorix {

class XcbTarget;

// A picture the X server holds, in the window's pixel format; pixmap 0 is no picture.
struct ServerPicture {
    std::uint32_t pixmap = 0;
    QSize size;
};

// The saver's counterpart of Canvas: the same drawing calls, planned the same way (see
// CanvasPlan), but drawn by the X server, so that a frame costs the server a few copies and the
// connection a few short requests, and the program holds no picture of its own.
//
// Each call is planned twice: once for the window, whose plan is sent by `present`, and once for a
// store of the server's that keeps the whole drawing for the parts of the window the server asks to
// have redrawn (`repair`). The store is only read then, so its plan holds back all it can: a moving
// picture is copied to the window once per update, and to the store only when it must be.
// Grows (never shrinks) with the window.
class ServerCanvas final {
public:
    // `background`: 0xRRGGBB shown where nothing has been drawn. `target` outlives the canvas.
    ServerCanvas(XcbTarget& target, QSize size, unsigned background);
    ~ServerCanvas();
    ServerCanvas(const ServerCanvas&) = delete;
    ServerCanvas& operator=(const ServerCanvas&) = delete;

    // False when the server could not make the store: the window is still drawn, but a part the
    // server asks to have redrawn stays as the server left it.
    bool valid() const { return store_.drawable != 0; }
    // Grows the store to at least `size`, keeping what it holds, and redraws the whole window from
    // it. False when the server could not make the larger store (the old one stays).
    bool ensureSize(QSize size);

    // As Canvas::fillBox, Canvas::copy and Canvas::showPicture. A picture named by a call must
    // stay with the server until `settle` has been called.
    QRect fillBox(int x1, int y1, int x2, int y2, int colour);
    QRect copy(const ServerPicture& picture, int dx, int dy, int w, int h, int sx, int sy);
    QRect showPicture(const ServerPicture& picture);
    // Sends everything held back, to the window and to the store.
    void settle();

    // Sends what the window's plan holds back: the window shows everything drawn so far.
    void present();
    // Redraws `area` of the window from the store.
    void repair(const QRect& area);

private:
    // Draws a plan's pixels into one drawable of the server's: the window or the store.
    struct Drawing final : CanvasSink<std::uint32_t> {
        explicit Drawing(XcbTarget& on) : target(on) {}
        void fillRect(const QRect& rect, unsigned value) override;
        void copyRect(const std::uint32_t& from, QPoint origin, const QRect& to) override;
        XcbTarget& target;
        std::uint32_t drawable = 0;
    };

    XcbTarget& target_;
    unsigned background_;
    QSize size_;
    Drawing window_;
    Drawing store_;
    CanvasPlan<std::uint32_t> windowPlan_;
    CanvasPlan<std::uint32_t> storePlan_;
};

}  // namespace pelorix
