// SPDX-License-Identifier: MIT
// The screen saver's drawing surface, held by the X server: the window drawn directly, a store for redraws.
#include "saver/servercanvas.h"

#include "saver/xcbtarget.h"

namespace pelorix {

namespace {
constexpr unsigned opaque = 0xFF000000u;
}

ServerCanvas::ServerCanvas(XcbTarget& target, QSize size, unsigned background)
    : target_(target),
      background_(background),
      window_(target),
      store_(target),
      windowPlan_(window_, QSize(), false),
      storePlan_(store_, QSize(), false) {
    window_.drawable = target.window();
    ensureSize(size.expandedTo(QSize(1, 1)));
}

ServerCanvas::~ServerCanvas() { target_.freePixmap(store_.drawable); }

bool ServerCanvas::ensureSize(QSize size) {
    if (valid() && size.width() <= size_.width() && size.height() <= size_.height()) return true;
    settle();
    const QSize grown = size.expandedTo(size_);
    const std::uint32_t larger = target_.createPixmap(grown);
    if (!larger) return false;
    target_.fill(larger, QRect(QPoint(0, 0), grown), opaque | background_);
    if (store_.drawable) {
        target_.copy(store_.drawable, larger, QPoint(0, 0), QRect(QPoint(0, 0), size_));
        target_.freePixmap(store_.drawable);
    }
    store_.drawable = larger;
    size_ = grown;
    windowPlan_.setBounds(size_);
    storePlan_.setBounds(size_);
    repair(QRect(QPoint(0, 0), size_));
    return true;
}

QRect ServerCanvas::fillBox(int x1, int y1, int x2, int y2, int colour) {
    static_cast<void>(storePlan_.fillBox(x1, y1, x2, y2, colour));
    return windowPlan_.fillBox(x1, y1, x2, y2, colour);
}

QRect ServerCanvas::copy(const ServerPicture& picture, int dx, int dy, int w, int h, int sx, int sy) {
    const QSize size = picture.pixmap ? picture.size : QSize();
    static_cast<void>(storePlan_.copy(picture.pixmap, size, dx, dy, w, h, sx, sy));
    return windowPlan_.copy(picture.pixmap, size, dx, dy, w, h, sx, sy);
}

QRect ServerCanvas::showPicture(const ServerPicture& picture) {
    const QRect all(QPoint(0, 0), size_);
    for (Drawing* drawing : {&window_, &store_}) drawing->fillRect(all, opaque | background_);
    windowPlan_.drawnOver();
    storePlan_.drawnOver();
    copy(picture, 0, 0, picture.size.width(), picture.size.height(), 0, 0);
    return all;
}

void ServerCanvas::settle() {
    windowPlan_.settle();
    storePlan_.settle();
}

void ServerCanvas::present() {
    windowPlan_.settle();
    target_.send();
}

void ServerCanvas::repair(const QRect& area) {
    if (!valid() || area.isEmpty()) return;
    storePlan_.settle();
    target_.show(store_.drawable, area);
    target_.send();
}

void ServerCanvas::Drawing::fillRect(const QRect& rect, unsigned value) {
    if (drawable) target.fill(drawable, rect, value);
}

void ServerCanvas::Drawing::copyRect(const std::uint32_t& from, QPoint origin, const QRect& to) {
    if (drawable) target.copy(from, drawable, origin, to);
}

}  // namespace pelorix
