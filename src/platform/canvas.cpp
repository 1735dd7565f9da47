// Filled boxes and clipped picture copies on the window's persistent QImage.
#include "platform/canvas.h"

#include <algorithm>
#include <cstring>

#include <QRegion>

#include "platform/palette.h"

namespace pelorix {

namespace {
constexpr QImage::Format surfaceFormat = QImage::Format_RGB32;
constexpr unsigned opaque = 0xFF000000u;
}  // namespace

QImage toCanvasFormat(const QImage& picture) {
    return picture.format() == surfaceFormat ? picture : picture.convertToFormat(surfaceFormat);
}

Canvas::Canvas(int width, int height, unsigned background)
    : image_(std::max(width, 1), std::max(height, 1), surfaceFormat), background_(background) {
    image_.fill(opaque | background_);
}

void Canvas::settle(const QRect& covered) const {
    if (pendingBox_.isEmpty()) return;
    const QRect box = pendingBox_;
    pendingBox_ = QRect();
    const QRegion rest = covered.isEmpty() ? QRegion(box) : QRegion(box).subtracted(QRegion(covered));
    for (const QRect& part : rest) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            auto* row = reinterpret_cast<unsigned*>(image_.scanLine(y));
            std::fill(row + part.left(), row + part.right() + 1, pendingValue_);
        }
    }
}

void Canvas::ensureSize(int width, int height) {
    settle();
    if (width <= image_.width() && height <= image_.height()) return;
    QImage grown(std::max(width, image_.width()), std::max(height, image_.height()), surfaceFormat);
    grown.fill(opaque | background_);
    for (int y = 0; y < image_.height(); ++y)
        std::memcpy(grown.scanLine(y), image_.constScanLine(y), static_cast<size_t>(image_.bytesPerLine()));
    image_ = std::move(grown);
}

unsigned Canvas::pixel(int x, int y) const {
    settle();
    if (!image_.rect().contains(x, y)) return 0;
    return image_.pixel(x, y) & 0xFFFFFFu;
}

QRect Canvas::fillBox(int x1, int y1, int x2, int y2, int colour) {
    if (!isColourIndex(colour)) return {};
    const QRect box = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)))
                          .intersected(image_.rect());
    if (box.isEmpty()) return {};
    settle();
    pendingBox_ = box;
    pendingValue_ = opaque | palette[static_cast<size_t>(colour)];
    return box;
}

QRect Canvas::copy(const QImage& picture, int dx, int dy, int w, int h, int sx, int sy) {
    if (w <= 0 || h <= 0 || picture.isNull()) {
        settle();
        return {};
    }
    // Clip the source region to the picture, shifting the destination with it, then clip the
    // destination to the surface, shifting the source back.
    QRect source = QRect(sx, sy, w, h).intersected(picture.rect());
    QRect target(dx + (source.left() - sx), dy + (source.top() - sy), source.width(), source.height());
    const QRect clipped = source.isEmpty() ? QRect() : target.intersected(image_.rect());
    // The held-back box is filled where this copy does not draw over it.
    settle(clipped);
    if (clipped.isEmpty()) return {};
    source.translate(clipped.left() - target.left(), clipped.top() - target.top());
    source.setSize(clipped.size());

    const QImage& src = picture.format() == surfaceFormat ? picture : picture.convertToFormat(surfaceFormat);
    const size_t rowBytes = static_cast<size_t>(clipped.width()) * sizeof(unsigned);
    for (int row = 0; row < clipped.height(); ++row) {
        const auto* from = reinterpret_cast<const unsigned*>(src.constScanLine(source.top() + row)) + source.left();
        auto* to = reinterpret_cast<unsigned*>(image_.scanLine(clipped.top() + row)) + clipped.left();
        std::memcpy(to, from, rowBytes);
    }
    return clipped;
}

QRect Canvas::showPicture(const QImage& picture) {
    pendingBox_ = QRect();  // drawn over entirely
    image_.fill(opaque | background_);
    copy(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return image_.rect();
}

}  // namespace pelorix
