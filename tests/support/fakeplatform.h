// SPDX-License-Identifier: MIT
// A headless platform for tests: virtual clock, scripted events, in-memory files, seeded random numbers.
#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "pictures/canvas.h"
#include "platform/headlessplatform.h"
#include "platform/random.h"
#include "platform/timerdeadlines.h"

namespace pelorix::testing {

// Time runs only inside yields: a yield that may not wait costs `passCost` microseconds; a yield
// that may wait jumps to the next timer tick or scripted event. A wait with nothing that could
// ever come is a freeze: it is counted in `freezes` and ends the program.
class FakePlatform final : public HeadlessPlatform {
public:
    explicit FakePlatform(std::uint64_t seed = 1);

    // --- test controls ---
    double nowMs() const { return static_cast<double>(now_) / 1000.0; }
    std::int64_t passCost = 100;  // microseconds of virtual time per non-waiting yield
    // Delivers `event` at the first yield at or after `atMs` of virtual time.
    void schedule(double atMs, const Event& event);
    // Delivers `event` at the next yield.
    void post(const Event& event) { schedule(nowMs(), event); }
    // Ends the program at the first yield at or after `ms` of virtual time.
    void stopAt(double ms) { stopAt_ = static_cast<std::int64_t>(ms * 1000.0); }
    // Lets `ms` of virtual time pass outside any yield, as a step of the game would take it.
    void advance(double ms) { now_ += static_cast<std::int64_t>(ms * 1000.0); }
    // Ends the program at the first yield at which `done` returns true, checked on entry (before
    // any wait) and again after the yield's events.
    std::function<bool()> stopWhen;
    // Called on entering every yield, with whether it may wait.
    std::function<void(bool mayWait)> beforeYield;
    // Called after every yield's events (before the stop checks).
    std::function<void()> afterYield;

    // Typing as a user would: text limited to the box's limit, then TextChange and KeyUp events.
    void type(Control box, const std::string& text);
    // A click on entry `index` of a file list: selects it and posts the Click.
    void clickListEntry(Control list, int index);

    // Files of the in-memory working directory (names compare ignoring case when looked up; of
    // several spellings the first in byte order is the one read and written).
    std::map<std::string, std::string> files;
    std::optional<std::string> file(const std::string& name) const;

    int maximizedWidth = 1280;
    int maximizedHeight = 800;
    double timeOfDaySeconds = 0;

    Canvas& canvas() { return canvas_; }
    const QImage& windowPicture() const { return windowPicture_; }
    const QImage& animationPicture() const { return animationPicture_; }
    // Replaces Picture1's picture, the moving picture of animated puzzles.
    void setAnimationPicture(const QImage& picture);
    std::vector<std::string> captions;  // every caption set, in order

    long yields = 0;
    long waits = 0;    // yields that were allowed to wait
    long freezes = 0;  // waits with nothing to wait for
    bool maximized = false;

    // --- Platform ---
    void setSink(EventSink* sink) override { sink_ = sink; }
    void yield(bool mayWait) override;
    void end() override { ended_ = true; }
    bool ended() const override { return ended_; }
    void setTimerInterval(TimerId timer, int milliseconds) override;
    int timerInterval(TimerId timer) const override { return deadlines_.interval(timer); }
    void setTimerEnabled(TimerId timer, bool enabled) override;
    bool timerEnabled(TimerId timer) const override { return deadlines_.enabled(timer); }
    void setCaption(const std::string& caption) override;
    std::string caption() const override { return caption_; }
    void maximize() override;
    int clientWidth() const override { return clientWidth_; }
    int clientHeight() const override { return clientHeight_; }
    void fillBox(int x1, int y1, int x2, int y2, int colour) override;
    bool copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) override;
    void showFrame() override { ++framesShown; }
    // Refreshes of `refreshMs` on the virtual clock; the frame clock Timer2 is floored to them.
    long long refreshCount() const override { return now_ / (refreshMs * 1000LL); }
    void wakeAtRefresh() override { refreshWake_ = true; }
    double clockMs() const override { return nowMs(); }
    bool loadPicture(const std::string& file) override;
    bool savePicture(PictureId picture, const std::string& file) override;
    int pictureInnerWidth() const override { return animationPicture_.width(); }
    int pictureInnerHeight() const override { return animationPicture_.height(); }
    int pictureOuterWidth() const override;
    int pictureOuterHeight() const override;
    void setText(Control control, const std::string& text) override;
    void setFocus(Control control) override { focus = control; }
    void refreshList(Control list) override;
    std::optional<std::string> readTextFile(const std::string& name) override;
    bool writeTextFile(const std::string& name, const std::string& content) override;
    void randomize(double seed) override { random_.seed(seed, seed_); }
    double random() override { return random_.next(); }
    double timeOfDay() const override { return timeOfDaySeconds; }

    Control focus = Control::Form;
    int framesShown = 0;  // calls of showFrame
    int refreshMs = 16;

private:
    struct Scheduled {
        std::int64_t at;
        long order;
        Event event;
    };

    // The frame clock ticks on the refresh's grid, whatever `refreshMs` is set to.
    void floorFrameClock() { deadlines_.setFloor(TimerId::Timer2, refreshMs); }
    std::optional<std::int64_t> nextWake() const;
    // A picture to load: the exact name first, then the chosen spelling.
    const std::string* findFile(const std::string& name) const;
    // The file a text name means: of the spellings present, the one `chosenSpelling` picks.
    std::optional<std::string> chosenName(const std::string& name) const;
    const std::string* chosenFile(const std::string& name) const;

    EventSink* sink_ = nullptr;
    bool ended_ = false;
    std::uint64_t seed_;
    RandomSource random_;
    std::int64_t now_ = 0;
    std::int64_t stopAt_ = -1;
    bool refreshWake_ = false;
    long order_ = 0;
    std::vector<Scheduled> scheduled_;
    TimerDeadlines deadlines_{[this] { return now_; }};
    std::string caption_;
    int clientWidth_;
    int clientHeight_;
    Canvas canvas_;
    QImage windowPictureOriginal_;
    QImage windowPicture_;
    QImage animationPictureOriginal_;
    QImage animationPicture_;
};

// Palette index whose colour the canvas shows at (x, y); -1 when it is no palette colour.
int colourAt(const Canvas& canvas, int x, int y);

}  // namespace pelorix::testing
