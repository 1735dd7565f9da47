// Filled boxes and clipped picture copies on the window's persistent QImage, each pixel written once.
#include "platform/canvas.h"

#include <algorithm>
#include <cstring>

#include "platform/palette.h"

namespace pelorix {

namespace {
constexpr QImage::Format surfaceFormat = QImage::Format_RGB32;
constexpr unsigned opaque = 0xFF000000u;
// Known fills kept at most; a 20 × 20 grid needs 400. Past it, all are forgotten (only cost).
constexpr std::size_t maxKnownFills = 1024;
}  // namespace

QImage toCanvasFormat(const QImage& picture) {
    return picture.format() == surfaceFormat ? picture : picture.convertToFormat(surfaceFormat);
}

Canvas::Canvas(int width, int height, unsigned background)
    : image_(std::max(width, 1), std::max(height, 1), surfaceFormat), background_(background) {
    image_.fill(opaque | background_);
}

void Canvas::fill(const QRect& part, unsigned value) const {
    for (int y = part.top(); y <= part.bottom(); ++y) {
        auto* row = reinterpret_cast<unsigned*>(image_.scanLine(y));
        std::fill(row + part.left(), row + part.right() + 1, value);
    }
    changed_ += part;
}

void Canvas::forget(const QRect& area) const {
    if (area.isEmpty()) return;
    std::erase_if(known_, [&](const KnownFill& k) { return k.box.intersects(area); });
}

void Canvas::settle(const QRect& covered) const {
    if (pendingBox_.isEmpty()) return;
    const QRect box = pendingBox_;
    const unsigned value = pendingValue_;
    pendingBox_ = QRect();

    // Other boxes this one overlaps are no longer known.
    std::erase_if(known_, [&](const KnownFill& k) { return k.box != box && k.box.intersects(box); });
    QRegion rest = covered.isEmpty() ? QRegion(box) : QRegion(box).subtracted(QRegion(covered));
    const QRect drawn = covered.intersected(box);
    auto same = std::find_if(known_.begin(), known_.end(), [&](const KnownFill& k) { return k.box == box; });
    if (same != known_.end() && same->value == value) {
        // Only what the last copy into this box drew needs the colour again.
        rest = rest.intersected(QRegion(same->drawn));
        same->drawn = drawn;
    } else if (same != known_.end()) {
        *same = {box, value, drawn};
    } else {
        if (known_.size() >= maxKnownFills) known_.clear();
        known_.push_back({box, value, drawn});
    }
    for (const QRect& part : rest) fill(part, value);
    // The copy that follows may reach outside the box, over other known boxes.
    if (!covered.isEmpty() && !box.contains(covered))
        std::erase_if(known_, [&](const KnownFill& k) { return k.box != box && k.box.intersects(covered); });
}

void Canvas::ensureSize(int width, int height) {
    settle();
    if (width <= image_.width() && height <= image_.height()) return;
    QImage grown(std::max(width, image_.width()), std::max(height, image_.height()), surfaceFormat);
    grown.fill(opaque | background_);
    for (int y = 0; y < image_.height(); ++y)
        std::memcpy(grown.scanLine(y), image_.constScanLine(y), static_cast<size_t>(image_.bytesPerLine()));
    image_ = std::move(grown);
    changed_ += image_.rect();
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
    if (pendingBox_.isEmpty()) forget(clipped);
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
    changed_ += clipped;
    return clipped;
}

QRect Canvas::showPicture(const QImage& picture) {
    pendingBox_ = QRect();  // drawn over entirely
    known_.clear();
    image_.fill(opaque | background_);
    changed_ += image_.rect();
    copy(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return image_.rect();
}

QRegion Canvas::takeChanged() {
    settle();
    QRegion changed;
    std::swap(changed, changed_);
    return changed;
}

}  // namespace pelorix
