// SPDX-License-Identifier: MIT
// The window's persistent drawing surface: filled boxes and unscaled picture copies on a QImage.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

namespace pelorix {

// Keeps everything drawn on it; grows (never shrinks) with the window. All coordinates are
// client pixels. Every drawing call returns the rectangle it drew into (empty if none).
//
// Frames are cheap without changing a pixel: a filled box is held back until the next call, and
// when that call copies a picture into the box, only what the copy leaves uncovered is filled.
// Of that, the part already known to hold the box's colour (the same box was filled the same way
// before, and nothing has drawn there since) is not filled again. The pixels always come out
// exactly as if every box had been filled in full.
class Canvas {
public:
    // `background`: 0xRRGGBB shown where nothing has been drawn.
    Canvas(int width, int height, unsigned background);

    // The surface with everything drawn so far.
    const QImage& image() const {
        settle();
        return image_;
    }
    // Grows the surface to at least width × height; drawn pixels are kept.
    void ensureSize(int width, int height);
    unsigned pixel(int x, int y) const;  // 0xRRGGBB; 0 outside

    // A box with both corners included, corners in any order, in palette colour 0-15.
    QRect fillBox(int x1, int y1, int x2, int y2, int colour);
    // Copies the w × h region at (sx, sy) of `picture` to (dx, dy). Only the part inside both the
    // picture and the surface is drawn.
    QRect copy(const QImage& picture, int dx, int dy, int w, int h, int sx, int sy);
    // Clears to the background colour and draws `picture` at its own size from the top-left.
    QRect showPicture(const QImage& picture);

    // The pixels that changed since the last call (everything drawn is settled first).
    QRegion takeChanged();

private:
    // A box filled with `value` and then partly drawn over: all of `box` outside `drawn` holds
    // `value`, as long as nothing else has drawn into `box` since.
    struct KnownFill {
        QRect box;
        unsigned value;
        QRect drawn;
    };
    // Fills the held-back box, less `covered` (which the caller is about to draw over).
    void settle(const QRect& covered = {}) const;
    void fill(const QRect& part, unsigned value) const;
    // Something other than a known fill drew into `area`: what was known there no longer holds.
    void forget(const QRect& area) const;
    void noteChanged(const QRect& area) const;

    mutable QImage image_;
    unsigned background_;
    mutable QRect pendingBox_;  // a filled box not yet written; empty when none
    mutable unsigned pendingValue_ = 0;
    mutable std::vector<KnownFill> known_;
    mutable std::vector<QRect> changed_;  // drawn since the last takeChanged
};

// Converts any picture to the surface's pixel format, so copies are plain row copies.
QImage toCanvasFormat(const QImage& picture);

}  // namespace pelorix
