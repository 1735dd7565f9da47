// SPDX-License-Identifier: MIT
// The window's persistent drawing surface: filled boxes and unscaled picture copies on a QImage.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

#include "pictures/canvasplan.h"

namespace pelorix {

// Keeps everything drawn on it; grows (never shrinks) with the window. All coordinates are
// client pixels. Every drawing call returns the rectangle it drew into (empty if none).
//
// Frames are cheap without changing a pixel: the calls go through a plan that fills only what a
// following copy leaves uncovered and is not known to hold the colour already, and that drops a
// copy drawn over before anything reads the surface (see CanvasPlan). Reading the surface writes
// whatever was held back, so the pixels always come out exactly as if every call had drawn in full.
class Canvas final : private CanvasSink<QImage> {
public:
    // `background`: 0xRRGGBB shown where nothing has been drawn.
    Canvas(int width, int height, unsigned background);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The surface with everything drawn so far.
    const QImage& image() const {
        plan_.settle();
        return image_;
    }
    // Grows the surface to at least width × height; drawn pixels are kept.
    void ensureSize(int width, int height);
    unsigned pixel(int x, int y) const;  // 0xRRGGBB; 0 outside
    // Makes the surface `width` × `height` with what it holds scaled smoothly to that size: for a
    // display of another density. What is known of earlier fills is forgotten. Unchanged when
    // memory runs out.
    void resample(QSize size);

    // A box with both corners included, corners in any order, in palette colour 0-15.
    QRect fillBox(int x1, int y1, int x2, int y2, int colour) { return plan_.fillBox(x1, y1, x2, y2, colour); }
    // Copies the w × h region at (sx, sy) of `picture` to (dx, dy). Only the part inside both the
    // picture and the surface is drawn. The picture is held until the copy is written.
    QRect copy(const QImage& picture, int dx, int dy, int w, int h, int sx, int sy);
    // Clears to the background colour and draws `picture` at its own size from the top-left.
    QRect showPicture(const QImage& picture);

    // The pixels that changed since the last call (everything drawn is settled first).
    QRegion takeChanged() { return plan_.takeChanged(); }

private:
    void fillRect(const QRect& rect, unsigned value) override;
    void copyRect(const QImage& from, QPoint origin, const QRect& to) override;

    QImage image_;
    unsigned background_;
    // Changed by reads too: a read writes what the plan held back, which changes no pixel's value.
    mutable CanvasPlan<QImage> plan_;
};

// Converts any picture to the surface's pixel format, so copies are plain row copies.
QImage toCanvasFormat(const QImage& picture);

}  // namespace pelorix
