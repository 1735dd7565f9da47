// SPDX-License-Identifier: MIT
// Which pixels each drawing call must write, so that a frame costs about the pixels it changes.
#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>
#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/palette.h"

namespace pelorix {

// Where a plan's pixels go: a picture in memory, or one held by a display server.
template <class Source>
class CanvasSink {
public:
    virtual ~CanvasSink() = default;
    // Writes `value` (0xAARRGGBB) to every pixel of `rect`.
    virtual void fillRect(const QRect& rect, unsigned value) = 0;
    // Copies the part of `from` whose top-left is `origin` onto `to`, same size.
    virtual void copyRect(const Source& from, QPoint origin, const QRect& to) = 0;
};

// Turns filled boxes and picture copies on a surface of `bounds` into the writes of a sink, with
// exactly the pixels plain drawing would give, but cheaper:
// - a filled box is held back until the next call; when that call copies a picture into the box,
//   only what the copy leaves uncovered is filled, and of that only what is not already known to
//   hold the box's colour (the same box was filled the same way before, and only the copy that
//   followed drew there since);
// - a picture copy is held back too, and dropped unheard-of when a later call draws over all of it
//   before anything reads the surface: an animation frame that is never shown is never copied.
// Held-back copies never overlap each other or the held-back box. `settle` writes all that is held.
template <class Source>
class CanvasPlan {
public:
    // `listsChanges`: whether `takeChanged` is wanted; a plan whose sink shows its pixels at once
    // does without the list.
    CanvasPlan(CanvasSink<Source>& sink, QSize bounds, bool listsChanges = true)
        : sink_(sink), bounds_(QPoint(0, 0), bounds), listsChanges_(listsChanges) {}

    // The surface grew or shrank: everything held is written first.
    void setBounds(QSize bounds) {
        settle();
        bounds_ = QRect(QPoint(0, 0), bounds);
    }

    // A box with both corners included, corners in any order, in palette colour 0-15. Returns the
    // part inside the surface; empty for a colour outside the palette.
    QRect fillBox(int x1, int y1, int x2, int y2, int colour) {
        if (!isColourIndex(colour)) return {};
        const QRect box = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)))
                              .intersected(bounds_);
        if (box.isEmpty()) return {};
        settleFill();
        placeHeld(box);
        pendingBox_ = box;
        pendingValue_ = opaque | palette[static_cast<std::size_t>(colour)];
        noteChanged(box);
        return box;
    }

    // The w × h region at (sx, sy) of a picture of `size` to (dx, dy). Only the part inside both
    // the picture and the surface is drawn; returns that part of the surface.
    QRect copy(const Source& picture, QSize size, int dx, int dy, int w, int h, int sx, int sy) {
        if (w <= 0 || h <= 0 || size.isEmpty()) {
            settleFill();
            return {};
        }
        // Clip the source region to the picture, shifting the destination with it, then clip the
        // destination to the surface, shifting the source back.
        const QRect source = QRect(sx, sy, w, h).intersected(QRect(QPoint(0, 0), size));
        const QRect target(dx + (source.left() - sx), dy + (source.top() - sy), source.width(), source.height());
        const QRect clipped = source.isEmpty() ? QRect() : target.intersected(bounds_);
        if (pendingBox_.isEmpty()) forget(clipped);
        // The held-back box is filled where this copy does not draw over it.
        settleFill(clipped);
        if (clipped.isEmpty()) return {};
        placeHeld(clipped);
        const QPoint origin = source.topLeft() + (clipped.topLeft() - target.topLeft());
        held_.push_back({picture, origin, clipped});
        if (held_.size() > maxHeldCopies) {
            sink_.copyRect(held_.front().source, held_.front().origin, held_.front().target);
            held_.erase(held_.begin());
        }
        noteChanged(clipped);
        return clipped;
    }

    // The whole surface is about to be drawn over by the caller: nothing held need be written, and
    // nothing is known about what it holds.
    void drawnOver() {
        pendingBox_ = QRect();
        held_.clear();
        known_.clear();
        noteChanged(bounds_);
    }

    // Writes everything held back.
    void settle() {
        settleFill();
        for (const Held& h : held_) sink_.copyRect(h.source, h.origin, h.target);
        held_.clear();
    }

    // The pixels that changed since the last call (everything held is written first).
    QRegion takeChanged() {
        settle();
        QRegion changed;
        for (const QRect& r : changed_) changed += r;
        changed_.clear();
        return changed;
    }

    // Something drew `area` outside the plan: the list of changes gets it.
    void noteChanged(const QRect& area) {
        if (area.isEmpty() || !listsChanges_) return;
        // Nobody may ask for a long while (the headless platform never does): keep the list short.
        if (changed_.size() >= maxChangedAreas) {
            QRect all = area;
            for (const QRect& r : changed_) all |= r;
            changed_.assign(1, all);
            return;
        }
        changed_.push_back(area);
    }

private:
    static constexpr unsigned opaque = 0xFF000000u;
    // Known fills kept at most; a 20 × 20 grid needs 400. Past it, all are forgotten (only cost).
    static constexpr std::size_t maxKnownFills = 1024;
    // Held-back copies at most: a frame's cells of a common grid. Past it, the oldest is written.
    static constexpr std::size_t maxHeldCopies = 64;
    // Changed areas listed apart before they are merged into one.
    static constexpr std::size_t maxChangedAreas = 256;

    // A box filled with `value` and then partly drawn over: all of `box` outside `drawn` holds
    // `value`, as long as nothing else has drawn into `box` since.
    struct KnownFill {
        QRect box;
        unsigned value;
        QRect drawn;
    };
    struct Held {
        Source source;
        QPoint origin;
        QRect target;
    };

    // `box` less `hole`: at most four bands (above, below, left, right), none empty.
    static int subtract(const QRect& box, const QRect& hole, QRect out[4]) {
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

    // A call is about to draw all of `area`: held copies it covers are dropped, those it only
    // overlaps are written first, so that the order of drawing holds.
    void placeHeld(const QRect& area) {
        std::erase_if(held_, [&](const Held& h) {
            if (!h.target.intersects(area)) return false;
            if (!area.contains(h.target)) sink_.copyRect(h.source, h.origin, h.target);
            return true;
        });
    }

    // Something other than a known fill drew into `area`: what was known there no longer holds.
    void forget(const QRect& area) {
        if (area.isEmpty()) return;
        std::erase_if(known_, [&](const KnownFill& k) { return k.box.intersects(area); });
    }

    // Fills the held-back box, less `covered` (which the caller is about to draw over).
    void settleFill(const QRect& covered = {}) {
        if (pendingBox_.isEmpty()) return;
        const QRect box = pendingBox_;
        const unsigned value = pendingValue_;
        pendingBox_ = QRect();

        // Other boxes this one overlaps are no longer known.
        std::erase_if(known_, [&](const KnownFill& k) { return k.box != box && k.box.intersects(box); });
        QRect rest[4];
        const int parts = subtract(box, covered, rest);
        // Only what the last copy into this box drew needs the colour again, when it is known. A
        // held copy that this box dropped lay inside that copy's area, so it is filled here too.
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
        for (int i = 0; i < parts; ++i) {
            const QRect part = rest[i].intersected(stale);
            if (!part.isEmpty()) sink_.fillRect(part, value);
        }
        // The copy that follows may reach outside the box, over other known boxes.
        if (!covered.isEmpty() && !box.contains(covered))
            std::erase_if(known_, [&](const KnownFill& k) { return k.box != box && k.box.intersects(covered); });
    }

    CanvasSink<Source>& sink_;
    QRect bounds_;
    bool listsChanges_;
    QRect pendingBox_;  // a filled box not yet written; empty when none
    unsigned pendingValue_ = 0;
    std::vector<KnownFill> known_;
    std::vector<Held> held_;
    std::vector<QRect> changed_;  // drawn since the last takeChanged
};

}  // namespace pelorix
