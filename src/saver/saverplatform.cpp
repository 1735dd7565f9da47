// SPDX-License-Identifier: MIT
// The screen-saver platform: timers on Qt's loop, drawing held by the X server, paced updates, files read only.
#include "saver/saverplatform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSocketNotifier>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "platform/design.h"
#include "pictures/canvas.h"
#include "pictures/picturefit.h"
#include "pictures/pictures.h"

namespace pelorix {

namespace {
// Shown where nothing has been drawn: the black of an idle screen.
constexpr unsigned saverBackground = 0x000000;
// How often the window is looked at even when its socket stays quiet, so that its destruction is
// noticed promptly whatever the game is waiting for.
constexpr int watchIntervalMs = 100;

qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }
}  // namespace

SaverPlatform::SaverPlatform(std::unique_ptr<XcbTarget> target, std::filesystem::path folder)
    : target_(std::move(target)),
      folder_(std::move(folder)),
      canvas_(*target_, QSize(target_->width(), target_->height()), saverBackground) {
    fitPictures();
    displayNotifier_ = std::make_unique<QSocketNotifier>(static_cast<qintptr>(target_->fd()), QSocketNotifier::Read);
    QObject::connect(displayNotifier_.get(), &QSocketNotifier::activated, [this] { watchWindow(); });
    watchTimer_ = std::make_unique<QTimer>();
    QObject::connect(watchTimer_.get(), &QTimer::timeout, [this] { watchWindow(); });
    watchTimer_->start(watchIntervalMs);
    timers_.setFloor(TimerId::Timer1, tickFloorMs);
    timers_.setFloor(TimerId::Timer2, tickFloorMs);
    flushTimer_ = std::make_unique<QTimer>();
    flushTimer_->setSingleShot(true);
    QObject::connect(flushTimer_.get(), &QTimer::timeout, [this] { flush(); });
    // The canvas has shown its black on the whole window: it stays until the first puzzle is drawn.
}

SaverPlatform::~SaverPlatform() {
    target_->freePixmap(windowPicture_.pixmap);
    target_->freePixmap(animationPicture_.pixmap);
}

// --- events ---

void SaverPlatform::yield(bool mayWait) {
    if (ended_) return;
    // The window is looked at first, so that a yield never waits on a window that has gone;
    // that look took the turn a yield that does not wait needs. Only timer ticks are ever queued.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    watchWindow();
    timers_.turn(mayWait && !ended_, false, sink_, [this] { return ended_; });
}

void SaverPlatform::end() {
    if (ended_) return;
    ended_ = true;
    queue_.clear();
    timers_.stop();
    watchTimer_->stop();
    flushTimer_->stop();
    displayNotifier_->setEnabled(false);
}

void SaverPlatform::watchWindow() {
    if (ended_) return;
    const XcbTarget::Changes changes = target_->poll();
    if (target_->gone()) {
        end();
        return;
    }
    if (changes.resized) {
        // A larger window is redrawn whole from the canvas; a smaller one needs nothing.
        static_cast<void>(canvas_.ensureSize(QSize(target_->width(), target_->height())));
        fitPictures();
    }
    canvas_.repair(changes.exposed);
}

// --- timers ---

void SaverPlatform::setTimerInterval(TimerId id, int milliseconds) { timers_.setInterval(id, milliseconds); }

void SaverPlatform::setTimerEnabled(TimerId id, bool enabled) { timers_.setEnabled(id, enabled); }

long long SaverPlatform::refreshCount() const { return timers_.refreshCount(tickFloorMs); }

void SaverPlatform::wakeAtRefresh() { timers_.wakeAtRefresh(tickFloorMs); }

// --- drawing ---

void SaverPlatform::touch(const QRect& area) {
    if (area.isEmpty() || ended_ || flushTimer_->isActive()) return;
    const qint64 wait = std::clamp<qint64>(lastFlush_ + flushIntervalMs - nowMs(), 0, flushIntervalMs);
    flushTimer_->start(static_cast<int>(wait));
}

void SaverPlatform::flush() {
    if (ended_) return;
    canvas_.present();
    lastFlush_ = nowMs();
}

void SaverPlatform::fillBox(int x1, int y1, int x2, int y2, int colour) { touch(canvas_.fillBox(x1, y1, x2, y2, colour)); }

bool SaverPlatform::copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) {
    const QRect drawn = canvas_.copy(picture == PictureId::Window ? windowPicture_ : animationPicture_, dx, dy, w, h, sx, sy);
    touch(drawn);
    return !drawn.isEmpty();
}

bool SaverPlatform::replacePicture(ServerPicture& held, const QImage& picture) {
    const QImage converted = toCanvasFormat(picture);
    if (converted.isNull()) return false;
    // Copies from the old picture may still be held back: they are sent before it goes. It goes
    // before the new one comes, so that the server never holds both: should the server then refuse
    // the new one, there is no picture to copy from and the pieces show their background.
    canvas_.settle();
    target_->freePixmap(held.pixmap);
    held = {target_->upload(converted), converted.size()};
    if (held.pixmap) return true;
    held = {};
    return false;
}

bool SaverPlatform::loadPicture(const std::string& file) {
    const auto path = folder_.find(file);
    if (!path) return false;
    // Budgeted for a common screen at least, so a picture too large to decode whole for a small
    // preview still plays there.
    auto picture = loadCoveringFile(*path, windowArea(), commonScreenArea);
    // No memory for it, here or in the server: the previous picture stays.
    if (!picture || !replacePicture(windowPicture_, *picture)) return false;
    windowFile_ = *path;
    touch(canvas_.showPicture(windowPicture_));
    return true;
}

QSize SaverPlatform::windowArea() const { return QSize(clientWidth(), clientHeight()).expandedTo(QSize(1, 1)); }

void SaverPlatform::fitPictures() {
    const QSize area = windowArea();
    std::optional<QImage> still;
    if (windowFile_) still = loadCoveringFile(*windowFile_, area, commonScreenArea);
    // A file gone or changed meanwhile: the picture in use is fitted again instead.
    if (!still)
        still = coverAndCut(windowFile_ ? target_->download(windowPicture_.pixmap, windowPicture_.size) : builtinWindowPicture(),
                            area);
    // No memory for it: the picture in use stays.
    static_cast<void>(replacePicture(windowPicture_, *still));
    still.reset();  // the server has it now: the program's copy goes before the moving picture is made

    const QImage moving = builtinAnimationPicture();
    frame_ = QSize(design(Control::Picture1).width / twipsPerPixel, design(Control::Picture1).height / twipsPerPixel) -
             moving.size();
    const QSize size = movingPictureSize(area, moving.size());
    // No memory for it: the moving picture in use stays, or the built-in one at its own size.
    if (!replacePicture(animationPicture_, moving.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)) &&
        !animationPicture_.pixmap)
        static_cast<void>(replacePicture(animationPicture_, moving));
}

QSize movingPictureSize(QSize window, QSize picture) {
    const QSize board(launchClientWidth, launchClientHeight);
    if (window.isEmpty() || picture.isEmpty()) return picture;
    double scale = std::max(static_cast<double>(window.width()) / board.width(),
                            static_cast<double>(window.height()) / board.height());
    // In a window much wider or taller than the board, that scale would leave the picture no room
    // to move: it never takes more of either side than it takes of the board's height.
    const double share = static_cast<double>(picture.height()) / board.height();
    scale = std::min({scale, share * window.width() / picture.width(), share * window.height() / picture.height()});
    return {std::max(1, static_cast<int>(std::lround(picture.width() * scale))),
            std::max(1, static_cast<int>(std::lround(picture.height() * scale)))};
}

// --- files and time ---

void SaverPlatform::refreshList(Control list) { state(list).entries = folder_.list(design(list).pattern); }

double SaverPlatform::timeOfDay() const { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

}  // namespace pelorix
