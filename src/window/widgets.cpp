// SPDX-License-Identifier: MIT
// The drawing surface widget, the text box and the file list widget.
#include "window/widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "pictures/density.h"
#include "platform/design.h"

namespace pelorix::qt {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 0;
    }
}

// --- CanvasWidget ---

namespace {
// Rows painted with one copy; taller copies are split over threads by Qt.
constexpr int paintBandRows = 64;
}  // namespace

CanvasWidget::CanvasWidget(Canvas& canvas, QWidget* parent, Clock clock)
    : QWidget(parent), canvas_(canvas), clock_(std::move(clock)), shownAt_(clock_()) {
    setFocusPolicy(Qt::StrongFocus);
    // Everything is painted from the canvas; no background fill is needed first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    pace_.setSingleShot(true);
    pace_.setTimerType(Qt::PreciseTimer);
    connect(&pace_, &QTimer::timeout, this, [this] { paceTick(); });
}

QSize CanvasWidget::sizeHint() const { return {launchClientWidth, launchClientHeight}; }

int CanvasWidget::refreshMs() const {
    const QWindow* handle = window()->windowHandle();
    const QScreen* screen = handle ? handle->screen() : nullptr;
    const double hz = screen ? screen->refreshRate() : 0;
    // A screen that reports no sensible rate is taken to refresh sixty times a second.
    return hz >= 20 && hz <= 1000 ? std::max(1, static_cast<int>(1000.0 / hz)) : 16;
}

void CanvasWidget::setRatio(double ratio) {
    ratio_ = ratio;
    update();
}

QSize CanvasWidget::deviceSize() const {
    // A device pixel that the widget's edge cuts is the canvas's too.
    return {static_cast<int>(std::ceil(width() * ratio_ - 1e-9)), static_cast<int>(std::ceil(height() * ratio_ - 1e-9))};
}

void CanvasWidget::changed(const QRect& area) {
    if (area.isEmpty() || pace_.isActive()) return;
    pace_.start(static_cast<int>(std::max<qint64>(holdMs() - sinceShownMs(), 0)));
}

qint64 CanvasWidget::holdMs() const {
    // Frames the game shows itself come once a refresh: the display's pace waits a refresh longer,
    // and so paints only when they stop coming.
    return gameShowsFrames_ ? 2 * refreshMs() : refreshMs();
}

void CanvasWidget::showFrame() {
    gameShowsFrames_ = true;
    paint(canvas_.takeChanged());
}

void CanvasWidget::paceTick() {
    const qint64 wait = holdMs() - sinceShownMs();
    if (wait > 0) {
        // A frame was shown since this tick was set: look again when its hold is over.
        pace_.start(static_cast<int>(wait));
        return;
    }
    gameShowsFrames_ = false;
    // Only the pixels that really changed: a frame redraws whole cells, but changes far fewer.
    paint(canvas_.takeChanged());
}

void CanvasWidget::paint(const QRegion& changed) {
    if (changed.isEmpty()) return;
    // Qt paints all updates asked for before the next turn of the event loop in one go. The
    // canvas tells device pixels; the widget is asked in units.
    if (ratio_ == 1) {
        update(changed);
    } else {
        QRegion units;
        for (const QRect& part : changed) units += unitsCovering(part, ratio_);
        update(units);
    }
    shownAt_ = clock_();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = canvas_.image();
    // The device pixels under the units to paint; at a fractional ratio a unit's edge may fall
    // inside a device pixel, which is then painted whole.
    QRegion device;
    for (const QRect& part : event->region()) {
        const QRect pixels(QPoint(static_cast<int>(std::floor(part.left() * ratio_)),
                                  static_cast<int>(std::floor(part.top() * ratio_))),
                           QPoint(static_cast<int>(std::ceil((part.right() + 1) * ratio_)) - 1,
                                  static_cast<int>(std::ceil((part.bottom() + 1) * ratio_)) - 1));
        device += pixels;
    }
    // In bands of few rows: Qt hands a taller copy to its thread pool, and waking those threads
    // costs more than the copy of what changed. Each band is drawn to where its device pixels lie,
    // so on a screen of the canvas's ratio every pixel lands on its own device pixel, unscaled.
    for (const QRect& part : device.intersected(image.rect()))
        for (int top = part.top(); top <= part.bottom(); top += paintBandRows) {
            const QRect band(part.left(), top, part.width(), std::min(paintBandRows, part.bottom() + 1 - top));
            if (ratio_ == 1)
                painter.drawImage(band, image, band);
            else
                painter.drawImage(QRectF(band.x() / ratio_, band.y() / ratio_, band.width() / ratio_,
                                         band.height() / ratio_),
                                  image, QRectF(band));
        }
    // Only before the canvas caught up with a resize can the widget be larger than the canvas.
    const QRegion rest = device.subtracted(QRegion(image.rect()));
    for (const QRect& r : rest)
        painter.fillRect(QRectF(r.x() / ratio_, r.y() / ratio_, r.width() / ratio_, r.height() / ratio_), palette().window());
}

bool CanvasWidget::childHasFocus() const {
    const QWidget* focus = window()->focusWidget();
    return focus && focus != this && isAncestorOf(focus);
}

void CanvasWidget::press(QMouseEvent* event) {
    // A press that a child control ignored (a label, say) bubbles up here; it is not the board's.
    if (QWidget* child = childAt(event->position().toPoint()); child && child != this) {
        event->ignore();
        return;
    }
    event->accept();
    const int button = buttonCode(event->button());
    if (button == 0) return;
    Event e;
    e.kind = EventKind::MouseDown;
    e.control = Control::Form;
    e.button = button;
    e.shift = shiftState(event->modifiers());
    e.x = static_cast<float>(event->position().x());
    e.y = static_cast<float>(event->position().y());
    if (post) post(e);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) { press(event); }

// The second press of a quick double click counts as a press of its own, so fast clicks on
// pieces are never lost.
void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) { press(event); }

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    // Keys that a focused text box or list did not use bubble up here; they are not the board's.
    if (childHasFocus()) {
        event->ignore();
        return;
    }
    // Every key is reported, even one the game ignores: any key press uses the input turn.
    const int key = virtualKey(*event);
    event->accept();
    Event e;
    e.kind = EventKind::KeyDown;
    e.control = Control::Form;
    e.key = key;
    e.shift = shiftState(event->modifiers());
    if (post) post(e);
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
    const QSize size = deviceSize();
    canvas_.ensureSize(size.width(), size.height());
    QWidget::resizeEvent(event);
    if (resized) resized();
}

bool CanvasWidget::focusNextPrevChild(bool next) {
    // Tab reaches here from the focused control (or the board itself); the platform decides where
    // it goes. Without an open panel Tab is a key of the board.
    return cycleFocus ? cycleFocus(next) : false;
}

// --- TextBoxWidget ---

TextBoxWidget::TextBoxWidget(const QString& text, QWidget* parent) : QLineEdit(text, parent) {}

void TextBoxWidget::selectWhole() {
    const auto length = static_cast<int>(text().size());
    setSelection(length, -length);
}

void TextBoxWidget::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
        // A press decides on its release: a plain click selects the whole text, a drag its part.
        case Qt::MouseFocusReason: clickedIn_ = true; break;
        // Back from a menu or another window: the keys return to where they were.
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
        case Qt::ActiveWindowFocusReason: break;
        default: selectWhole();
    }
}

void TextBoxWidget::focusOutEvent(QFocusEvent* event) {
    clickedIn_ = false;
    const Qt::FocusReason reason = event->reason();
    // Qt keeps the selection while a popup menu or another window has the keys, but clears it when
    // the menu bar takes them, though they come back just the same when its menus close.
    if (reason == Qt::MenuBarFocusReason) {
        QFocusEvent kept(QEvent::FocusOut, Qt::PopupFocusReason);
        QLineEdit::focusOutEvent(&kept);
        return;
    }
    QLineEdit::focusOutEvent(event);
    // Left for another control or the board, the box shows the start of its text again, as when it
    // was filled; a long file name read through to its end would otherwise stay scrolled.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) setCursorPosition(0);
}

void TextBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool firstClick = clickedIn_ && event->button() == Qt::LeftButton;
    clickedIn_ = false;
    if (firstClick && !hasSelectedText()) selectWhole();
    QLineEdit::mouseReleaseEvent(event);
}

// --- FileListWidget ---

FileListWidget::FileListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        // Keyboard moves of the selection count as clicks; mouse presses report themselves.
        if (!pressing_ && !refreshing_ && selectedRow() >= 0 && clicked) clicked();
    });
}

void FileListWidget::setEntries(const QStringList& names) {
    refreshing_ = true;
    clear();
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, this);
        item->setToolTip(name);
    }
    setCurrentRow(-1);
    clearSelection();
    refreshing_ = false;
}

int FileListWidget::selectedRow() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.first());
}

void FileListWidget::mousePressEvent(QMouseEvent* event) {
    pressing_ = true;
    QListWidget::mousePressEvent(event);
    pressing_ = false;
    // A press on an entry selects it and is a click, even on the entry already selected.
    QListWidgetItem* hit = itemAt(event->position().toPoint());
    if (hit && hit->isSelected() && clicked) clicked();
}

}  // namespace pelorix::qt
