// The window's persistent drawing surface: filled boxes and unscaled picture copies on a QImage.
#pragma once

#include <QImage>
#include <QRect>

namespace pelorix {

// Keeps everything drawn on it; grows (never shrinks) with the window. All coordinates are
// client pixels. Every drawing call returns the rectangle it changed (empty if none), so the
// window can repaint just that part.
//
// A filled box is held back until the next call: when that call is a copy, the part of the box
// the copy covers is not filled at all. A frame's "fill a cell, then copy a picture over it"
// thus writes each pixel once, and the pixels come out exactly as if the box had been filled.
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

private:
    // Fills the held-back box, less `covered` (which the caller is about to draw over).
    void settle(const QRect& covered = {}) const;

    mutable QImage image_;
    unsigned background_;
    mutable QRect pendingBox_;  // a filled box not yet written; empty when none
    mutable unsigned pendingValue_ = 0;
};

// Converts any picture to the surface's pixel format, so copies are plain row copies.
QImage toCanvasFormat(const QImage& picture);

}  // namespace pelorix
