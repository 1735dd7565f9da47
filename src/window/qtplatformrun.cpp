// SPDX-License-Identifier: MIT
// The Qt window at run time: events queued by Qt's handlers and handed to the game one at a time
// inside `yield`, timers, window size, drawing and pictures.
#include "window/qtplatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/design.h"
#include "window/folderwatch.h"
#include "pictures/density.h"
#include "pictures/pictures.h"
#include "window/qtsupport.h"
#include "window/widgets.h"

namespace pelorix {

using qt::qstr;

QtPlatform::QtPlatform(std::filesystem::path workdir, qt::GameTimers::Clock clock)
    : workdir_(std::move(workdir)),
      caption_(launchCaption),
      timers_(queue_, std::move(clock)),
      windowPictureOriginal_(builtinWindowPicture()),
      windowPicture_(toCanvasFormat(windowPictureOriginal_)),
      animationPictureOriginal_(builtinAnimationPicture()),
      animationPicture_(toCanvasFormat(animationPictureOriginal_)),
      canvas_(launchClientWidth, launchClientHeight, undrawnColour) {
    canvas_.showPicture(windowPicture_);
    buildWindow();
    new qt::FolderWatch(*this, window_.get());  // files others add or remove show in the lists
    followRatio();
}

QtPlatform::~QtPlatform() {
    ended_ = true;
    timers_.stop();
    if (canvasWidget_) {
        canvasWidget_->post = nullptr;
        canvasWidget_->resized = nullptr;
    }
    window_.reset();
}

QWidget* QtPlatform::canvasWidget() const { return canvasWidget_; }

QWidget* QtPlatform::widget(Control control) const {
    return control == Control::Form ? canvasWidget_ : widgets_[index(control)];
}

qt::FileListWidget* QtPlatform::list(Control control) const {
    return design(control).kind == ControlKind::FileList ? static_cast<qt::FileListWidget*>(widgets_[index(control)])
                                                         : nullptr;
}

QLineEdit* QtPlatform::textBox(Control control) const {
    return design(control).kind == ControlKind::TextBox ? static_cast<QLineEdit*>(widgets_[index(control)]) : nullptr;
}

// --- events ---

void QtPlatform::post(const Event& event) {
    if (!ended_) queue_.push_back(event);
}

void QtPlatform::postControl(EventKind kind, Control control, int key, int shift) {
    Event e;
    e.kind = kind;
    e.control = control;
    e.key = key;
    e.shift = shift;
    post(e);
}

void QtPlatform::yield(bool mayWait) {
    if (ended_) return;
    followRatio();
    // One turn of the event loop, waiting or not: a waiting turn handles whatever is ready at once
    // and blocks only when nothing is, so a separate look first would only cost a second turn.
    timers_.turn(mayWait, true, sink_, [this] { return ended_; });
    if (afterYield) afterYield();
    if (!ended_ && stopWhen && stopWhen()) end();
}

void QtPlatform::end() {
    ended_ = true;
    queue_.clear();
    timers_.stop();
}

// --- timers ---

void QtPlatform::setTimerInterval(TimerId id, int milliseconds) { timers_.setInterval(id, milliseconds); }

void QtPlatform::setTimerEnabled(TimerId id, bool enabled) {
    // The frame clock ticks at most once a refresh, on the refresh clock's grid.
    if (id == TimerId::Timer2 && enabled) timers_.setFloor(id, frameMs());
    timers_.setEnabled(id, enabled);
}

int QtPlatform::frameMs() const {
    return std::max(qt::shortestFrameMs, canvasWidget_->refreshMs());
}

long long QtPlatform::refreshCount() const { return timers_.refreshCount(frameMs()); }

void QtPlatform::wakeAtRefresh() { timers_.wakeAtRefresh(frameMs()); }

// --- window ---

void QtPlatform::setCaption(const std::string& caption) {
    caption_ = caption;
    window_->setWindowTitle(qstr(caption));
}

int QtPlatform::clientWidth() const { return canvasWidget_->width(); }
int QtPlatform::clientHeight() const { return canvasWidget_->height(); }

void QtPlatform::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done()) return;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Not every awaited change comes with a resize, so look again now and then too.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    onResize_ = [&] {
        if (done()) loop.quit();
    };
    timeout.start(timeoutMs);
    poll.start(10);
    loop.exec();
    onResize_ = nullptr;
}

void QtPlatform::maximize() {
    const QSize before = canvasWidget_->size();
    if (window_->isVisible() && window_->isMaximized() && before == maximizedSize_) return;

    window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    if (!window_->isVisible()) window_->show();
    const auto changed = [&] { return canvasWidget_->size() != before; };
    // A window manager maximizes asynchronously.
    waitUntil(changed, 300);
    if (!changed()) {
        // Nobody acted on the request (no window manager): take the screen's free area ourselves.
        if (QScreen* screen = window_->screen()) {
            const QRect area = screen->availableGeometry();
            const QRect frame = window_->frameGeometry();
            const QRect inner = window_->geometry();
            const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                                   frame.right() - inner.right(), frame.bottom() - inner.bottom());
            window_->setGeometry(area.marginsRemoved(margins));
            waitUntil(changed, 300);
        }
    }
    QCoreApplication::processEvents();
    ensureCanvas();
    maximizedSize_ = canvasWidget_->size();
}

// --- drawing and pictures ---

void QtPlatform::repaint(const QRect& area) { canvasWidget_->changed(area); }

void QtPlatform::showFrame() { canvasWidget_->showFrame(); }

int QtPlatform::device(int units) const { return deviceEdge(units, ratio_); }

void QtPlatform::ensureCanvas() {
    const QSize size = canvasWidget_->deviceSize();
    canvas_.ensureSize(size.width(), size.height());
}

void QtPlatform::followRatio() {
    const double now = canvasWidget_->devicePixelRatioF();
    if (now == ratio_ || !(now > 0)) return;
    const double was = ratio_;
    const QSize shown = shownArea();  // in units, read while the canvas still has the old ratio
    ratio_ = now;
    std::optional<QImage> still;
    if (windowFile_) still = loadPictureFile(*windowFile_, shown, nullptr, ratio_);
    // A file gone or changed meanwhile: the picture in use is scaled instead.
    if (!still) still = windowFile_ ? scaledBy(windowPicture_, now / was) : scaledBy(windowPictureOriginal_, now);
    if (QImage converted = toCanvasFormat(*still); !converted.isNull()) windowPicture_ = std::move(converted);
    if (QImage converted = toCanvasFormat(scaledBy(animationPictureOriginal_, now)); !converted.isNull())
        animationPicture_ = std::move(converted);
    canvasWidget_->setRatio(ratio_);
    canvas_.resample(canvasWidget_->deviceSize().expandedTo(
        QSize(deviceEdge(canvas_.image().width(), now / was), deviceEdge(canvas_.image().height(), now / was))));
    repaint(canvas_.image().rect());
}

// Boxes and copies are given in window units; each unit edge goes to its device pixel edge, so
// neighbouring boxes and copies meet exactly, with no seam, at any ratio. A copy takes the size
// its destination has in device pixels, from where its source starts in the picture's.
void QtPlatform::fillBox(int x1, int y1, int x2, int y2, int colour) {
    ensureCanvas();
    if (ratio_ != 1) {
        const int left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2), bottom = std::max(y1, y2);
        x1 = device(left);
        x2 = device(right + 1) - 1;
        y1 = device(top);
        y2 = device(bottom + 1) - 1;
    }
    repaint(canvas_.fillBox(x1, y1, x2, y2, colour));
}

bool QtPlatform::copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) {
    ensureCanvas();
    if (ratio_ != 1) {
        const int left = device(dx), top = device(dy);
        w = device(dx + w) - left;
        h = device(dy + h) - top;
        dx = left;
        dy = top;
        sx = device(sx);
        sy = device(sy);
    }
    const QImage& source = picture == PictureId::Window ? windowPicture_ : animationPicture_;
    const QRect drawn = canvas_.copy(source, dx, dy, w, h, sx, sy);
    repaint(drawn);
    return !drawn.isEmpty();
}

QSize QtPlatform::shownArea() const {
    // The window can show at most the largest screen's free area (or more, if it was made larger),
    // in units.
    const QImage& drawn = canvas_.image();
    const QSize units(static_cast<int>(drawn.width() / ratio_), static_cast<int>(drawn.height() / ratio_));
    return units.expandedTo(largestScreenArea());
}

bool QtPlatform::loadPicture(const std::string& file) {
    const auto path = workdir_.find(file);
    if (!path) return false;
    auto picture = loadPictureFile(*path, shownArea(), nullptr, ratio_);
    if (!picture) return false;
    QImage converted = toCanvasFormat(*picture);
    if (converted.isNull()) return false;  // no memory for it: the previous picture stays
    windowPictureOriginal_ = std::move(*picture);
    windowPicture_ = std::move(converted);
    windowFile_ = *path;
    ensureCanvas();
    repaint(canvas_.showPicture(windowPicture_));
    return true;
}

bool QtPlatform::savePicture(PictureId picture, const std::string& file) {
    const QByteArray bytes = encodeBmp8(picture == PictureId::Window ? windowPictureOriginal_ : animationPictureOriginal_);
    return !bytes.isEmpty() && workdir_.writeText(file, bytes.toStdString());
}

int QtPlatform::pictureOuterWidth() const { return design(Control::Picture1).width / twipsPerPixel; }
int QtPlatform::pictureOuterHeight() const { return design(Control::Picture1).height / twipsPerPixel; }

double QtPlatform::timeOfDay() const { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

}  // namespace pelorix
