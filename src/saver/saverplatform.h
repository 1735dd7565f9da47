// SPDX-License-Identifier: MIT
// The platform of the screen-saver module: draws into a foreign window, reads its folder, writes nothing.
#pragma once

#include <QImage>
#include <QRect>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/headlessplatform.h"
#include "timers/gametimers.h"
#include "saver/servercanvas.h"
#include "files/workdir.h"
#include "saver/xcbtarget.h"
#include "platform/random.h"

class QSocketNotifier;

namespace pelorix {

// Implements the platform over a window handed over by a screen-saver daemon. The game draws on a
// canvas the size of the window, which the X server holds, from pictures it holds too (each made
// once, when loaded or fitted); changed areas go to the window at most `flushIntervalMs` apart.
// There are no controls to show and no menus: their states are kept but nothing appears. Input is
// never read (the daemon ends the saver on input). Every write of a file or picture is refused.
// The program ends when the window is destroyed, the display is lost or `end` is called (from a
// signal handler's notifier, say). Needs a QCoreApplication.
//
// Unlike the window's game, the saver fills its window whatever its size: each still picture, the
// built-in one included, is scaled keeping its proportions to cover the window and cut around its
// centre, and the moving picture is scaled as the designed 754 × 385 board would be to cover the
// window, so it keeps its share of the board and its room to bounce. A resize fits both anew.
// The size of the moving picture `picture` in a saver window of `window`: scaled as the designed
// board would be to cover the window, but never taking more of either side of the window than it
// takes of the board's height, so that it keeps room to move however wide or tall the window.
QSize movingPictureSize(QSize window, QSize picture);

class SaverPlatform final : public HeadlessPlatform {
public:
    // Fastest tick the timers give: the Slow animation pace asks for a frame every millisecond,
    // which a screen saver cannot afford; a timer of shorter interval ticks at this pace instead,
    // which is also the saver's refresh.
    static constexpr int tickFloorMs = qt::shortestFrameMs;
    // Shortest time between two updates of the window.
    static constexpr int flushIntervalMs = 30;

    // `target`: the window, already opened. `folder`: the folder of pictures and settings; it may
    // be missing, which reads as empty.
    SaverPlatform(std::unique_ptr<XcbTarget> target, std::filesystem::path folder);
    ~SaverPlatform() override;
    SaverPlatform(const SaverPlatform&) = delete;
    SaverPlatform& operator=(const SaverPlatform&) = delete;

    // --- Platform ---
    void setSink(EventSink* sink) override { sink_ = sink; }
    void yield(bool mayWait) override;
    void end() override;
    bool ended() const override { return ended_; }
    void setTimerInterval(TimerId timer, int milliseconds) override;
    int timerInterval(TimerId timer) const override { return timers_.interval(timer); }
    void setTimerEnabled(TimerId timer, bool enabled) override;
    bool timerEnabled(TimerId timer) const override { return timers_.enabled(timer); }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    std::string caption() const override { return caption_; }
    void maximize() override {}  // the window is the daemon's: it already has the size it will have
    int clientWidth() const override { return target_->width(); }
    int clientHeight() const override { return target_->height(); }
    void fillBox(int x1, int y1, int x2, int y2, int colour) override;
    bool copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) override;
    // The window gets what changed at its own pace (`flushIntervalMs`), frames or not.
    void showFrame() override {}
    long long refreshCount() const override;
    void wakeAtRefresh() override;
    double clockMs() const override { return timers_.clockMs(); }
    bool loadPicture(const std::string& file) override;
    bool savePicture(PictureId, const std::string&) override { return false; }
    int pictureInnerWidth() const override { return animationPicture_.size.width(); }
    int pictureInnerHeight() const override { return animationPicture_.size.height(); }
    // The moving picture with the designed frame around it: the picture scales, the frame stays.
    int pictureOuterWidth() const override { return animationPicture_.size.width() + frame_.width(); }
    int pictureOuterHeight() const override { return animationPicture_.size.height() + frame_.height(); }
    void refreshList(Control list) override;
    std::optional<std::string> readTextFile(const std::string& name) override { return folder_.readText(name); }
    bool writeTextFile(const std::string&, const std::string&) override { return false; }
    void randomize(double seed) override { random_.seed(seed); }
    double random() override { return random_.next(); }
    double timeOfDay() const override;

private:
    // Reads the window's events: follows its size, repaints what was exposed, ends when it is gone.
    void watchWindow();
    // Fits the still picture (reloaded from its file when it came from one) and the moving picture
    // to the window's present size.
    void fitPictures();
    QSize windowArea() const;
    // Hands `picture` to the server in place of `held`, which is freed first; false when the
    // picture is null or the server refuses it (`held` is then no picture, or kept when null).
    bool replacePicture(ServerPicture& held, const QImage& picture);
    // Makes sure an update of the window comes, when `area` (just drawn) is not empty.
    void touch(const QRect& area);
    void flush();

    std::unique_ptr<XcbTarget> target_;
    WorkDir folder_;
    EventSink* sink_ = nullptr;
    bool ended_ = false;
    std::deque<Event> queue_;
    RandomSource random_;
    std::string caption_;
    qt::GameTimers timers_{queue_};

    ServerCanvas canvas_;
    ServerPicture windowPicture_;
    std::optional<std::filesystem::path> windowFile_;  // where the still picture came from; none: built in
    ServerPicture animationPicture_;
    QSize frame_;  // what the designed picture box adds to the built-in moving picture
    qint64 lastFlush_ = 0;

    std::unique_ptr<QSocketNotifier> displayNotifier_;
    std::unique_ptr<QTimer> flushTimer_;
    std::unique_ptr<QTimer> watchTimer_;
};

}  // namespace pelorix
