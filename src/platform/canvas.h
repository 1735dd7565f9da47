// The window's persistent drawing surface: filled boxes and unscaled picture copies on a QImage.
#pragma once

#include <QImage>
#include <QRect>

namespace pelorix {

// Keeps everything drawn on it; grows (never shrinks) with the window. All coordinates are
// client pixels. Every drawing call returns the rectangle it changed (empty if none), so the
// window can repaint just that part.
class Canvas {
public:
    // `background`: 0xRRGGBB shown where nothing has been drawn.
    Canvas(int width, int height, unsigned background);

    const QImage& image() const { return image_; }
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
    QImage image_;
    unsigned background_;
};

// Converts any picture to the surface's pixel format, so copies are plain row copies.
QImage toCanvasFormat(const QImage& picture);

}  // namespace pelorix
