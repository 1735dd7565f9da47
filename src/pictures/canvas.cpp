// SPDX-License-Identifier: MIT
// Filled boxes and clipped picture copies on the window's persistent QImage, each pixel written once.
#include "pictures/canvas.h"

#include <algorithm>
#include <cstring>

namespace pelorix {

namespace {
constexpr QImage::Format surfaceFormat = QImage::Format_RGB32;
constexpr unsigned opaque = 0xFF000000u;
}  // namespace

QImage toCanvasFormat(const QImage& picture) {
    return picture.format() == surfaceFormat ? picture : picture.convertToFormat(surfaceFormat);
}

Canvas::Canvas(int width, int height, unsigned background)
    : image_(std::max(width, 1), std::max(height, 1), surfaceFormat),
      background_(background),
      plan_(*this, image_.size()) {
    image_.fill(opaque | background_);
}

void Canvas::fillRect(const QRect& part, unsigned value) {
    uchar* bits = image_.bits();  // one detach check, not one per row
    const qsizetype stride = image_.bytesPerLine();
    for (int y = part.top(); y <= part.bottom(); ++y) {
        auto* row = reinterpret_cast<unsigned*>(bits + y * stride);
        std::fill(row + part.left(), row + part.right() + 1, value);
    }
}

void Canvas::copyRect(const QImage& from, QPoint origin, const QRect& to) {
    const size_t rowBytes = static_cast<size_t>(to.width()) * sizeof(unsigned);
    const uchar* fromBits = from.constBits();
    uchar* toBits = image_.bits();  // one detach check, not one per row
    const qsizetype fromStride = from.bytesPerLine(), toStride = image_.bytesPerLine();
    for (int row = 0; row < to.height(); ++row) {
        const auto* source = reinterpret_cast<const unsigned*>(fromBits + (origin.y() + row) * fromStride) + origin.x();
        auto* target = reinterpret_cast<unsigned*>(toBits + (to.top() + row) * toStride) + to.left();
        std::memcpy(target, source, rowBytes);
    }
}

void Canvas::ensureSize(int width, int height) {
    // Called before every drawing call; what is held back stays held back unless the surface grows.
    if (width <= image_.width() && height <= image_.height()) return;
    plan_.settle();
    QImage grown(std::max(width, image_.width()), std::max(height, image_.height()), surfaceFormat);
    if (grown.isNull()) return;  // no memory for it: the surface keeps its size
    grown.fill(opaque | background_);
    for (int y = 0; y < image_.height(); ++y)
        std::memcpy(grown.scanLine(y), image_.constScanLine(y), static_cast<size_t>(image_.bytesPerLine()));
    image_ = std::move(grown);
    plan_.setBounds(image_.size());
    plan_.noteChanged(image_.rect());
}

void Canvas::resample(QSize size) {
    if (size.isEmpty() || size == image_.size()) return;
    plan_.settle();
    QImage scaled = toCanvasFormat(image_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    if (scaled.isNull()) return;
    image_ = std::move(scaled);
    plan_.setBounds(image_.size());
    plan_.drawnOver();
}

unsigned Canvas::pixel(int x, int y) const {
    plan_.settle();
    if (!image_.rect().contains(x, y)) return 0;
    return image_.pixel(x, y) & 0xFFFFFFu;
}

QRect Canvas::copy(const QImage& picture, int dx, int dy, int w, int h, int sx, int sy) {
    if (picture.isNull()) return plan_.copy(picture, {}, dx, dy, w, h, sx, sy);
    const QImage src = toCanvasFormat(picture);  // shares the pixels when the format already fits
    // No memory for the conversion: nothing drawn, but the held-back box is still filled.
    return plan_.copy(src, src.isNull() ? QSize() : src.size(), dx, dy, w, h, sx, sy);
}

QRect Canvas::showPicture(const QImage& picture) {
    plan_.drawnOver();
    image_.fill(opaque | background_);
    copy(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return image_.rect();
}

}  // namespace pelorix
