// SPDX-License-Identifier: MIT
// Filled boxes and clipped picture copies on the window's persistent QImage, each pixel written once.
#include "platform/qt/canvas.h"

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

namespace {
// `box` less `hole`: at most four bands (above, below, left, right), none empty.
int subtract(const QRect& box, const QRect& hole, QRect out[4]) {
    const QRect h = hole.intersected(box);
    if (h.isEmpty()) {
        out[0] = box;
        return 1;
    }
    int n = 0;
    auto add = [&](const QRect& r) {
        if (!r.isEmpty()) out[n++] = r;
    };
    add(QRect(QPoint(box.left(), box.top()), QPoint(box.right(), h.top() - 1)));
    add(QRect(QPoint(box.left(), h.bottom() + 1), QPoint(box.right(), box.bottom())));
    add(QRect(QPoint(box.left(), h.top()), QPoint(h.left() - 1, h.bottom())));
    add(QRect(QPoint(h.right() + 1, h.top()), QPoint(box.right(), h.bottom())));
    return n;
}
}  // namespace

void Canvas::fill(const QRect& part, unsigned value) const {
    if (part.isEmpty()) return;
    uchar* bits = image_.bits();  // one detach check, not one per row
    const qsizetype stride = image_.bytesPerLine();
    for (int y = part.top(); y <= part.bottom(); ++y) {
        auto* row = reinterpret_cast<unsigned*>(bits + y * stride);
        std::fill(row + part.left(), row + part.right() + 1, value);
    }
    noteChanged(part);
}

void Canvas::noteChanged(const QRect& area) const {
    // Nobody may ask for a long while (the headless platform never does): keep the list short.
    if (changed_.size() >= 256) {
        QRect all = area;
        for (const QRect& r : changed_) all |= r;
        changed_.assign(1, all);
        return;
    }
    changed_.push_back(area);
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
    QRect rest[4];
    const int parts = subtract(box, covered, rest);
    // Only what the last copy into this box drew needs the colour again, when it is known.
    QRect stale = box;
    const QRect drawn = covered.intersected(box);
    auto same = std::find_if(known_.begin(), known_.end(), [&](const KnownFill& k) { return k.box == box; });
    if (same != known_.end() && same->value == value) {
        stale = same->drawn;
        same->drawn = drawn;
    } else if (same != known_.end()) {
        *same = {box, value, drawn};
    } else {
        if (known_.size() >= maxKnownFills) known_.clear();
        known_.push_back({box, value, drawn});
    }
    for (int i = 0; i < parts; ++i) fill(rest[i].intersected(stale), value);
    // The copy that follows may reach outside the box, over other known boxes.
    if (!covered.isEmpty() && !box.contains(covered))
        std::erase_if(known_, [&](const KnownFill& k) { return k.box != box && k.box.intersects(covered); });
}

void Canvas::ensureSize(int width, int height) {
    // Called before every drawing call; a held-back box stays held back unless the surface grows.
    if (width <= image_.width() && height <= image_.height()) return;
    settle();
    QImage grown(std::max(width, image_.width()), std::max(height, image_.height()), surfaceFormat);
    grown.fill(opaque | background_);
    for (int y = 0; y < image_.height(); ++y)
        std::memcpy(grown.scanLine(y), image_.constScanLine(y), static_cast<size_t>(image_.bytesPerLine()));
    image_ = std::move(grown);
    noteChanged(image_.rect());
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

    const QImage src = toCanvasFormat(picture);  // shares the pixels when the format already fits
    if (src.isNull()) return {};                   // no memory for the conversion: nothing drawn
    const size_t rowBytes = static_cast<size_t>(clipped.width()) * sizeof(unsigned);
    const uchar* fromBits = src.constBits();
    uchar* toBits = image_.bits();  // one detach check, not one per row
    const qsizetype fromStride = src.bytesPerLine(), toStride = image_.bytesPerLine();
    for (int row = 0; row < clipped.height(); ++row) {
        const auto* from = reinterpret_cast<const unsigned*>(fromBits + (source.top() + row) * fromStride) + source.left();
        auto* to = reinterpret_cast<unsigned*>(toBits + (clipped.top() + row) * toStride) + clipped.left();
        std::memcpy(to, from, rowBytes);
    }
    noteChanged(clipped);
    return clipped;
}

QRect Canvas::showPicture(const QImage& picture) {
    pendingBox_ = QRect();  // drawn over entirely
    known_.clear();
    image_.fill(opaque | background_);
    noteChanged(image_.rect());
    copy(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    return image_.rect();
}

QRegion Canvas::takeChanged() {
    settle();
    QRegion changed;
    for (const QRect& r : changed_) changed += r;
    changed_.clear();
    return changed;
}

}  // namespace pelorix
