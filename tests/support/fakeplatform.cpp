// SPDX-License-Identifier: MIT
// The headless test platform: timers on a virtual clock, a scripted event queue, files in memory.
#include "fakeplatform.h"

#include <algorithm>

#include "platform/design.h"
#include "platform/palette.h"
#include "pictures/pictures.h"
#include "files/workdir.h"

namespace pelorix::testing {

FakePlatform::FakePlatform(std::uint64_t seed)
    : seed_(seed),
      random_(seed),
      clientWidth_(launchClientWidth),
      clientHeight_(launchClientHeight),
      canvas_(launchClientWidth, launchClientHeight, undrawnColour) {
    caption_ = std::string(launchCaption);
    // Decoded and converted once a process: a suite builds thousands of games, and the pictures
    // are shared, never changed in place (QImage copies on write).
    static const QImage window = builtinWindowPicture(), windowOnCanvas = toCanvasFormat(window);
    static const QImage animation = builtinAnimationPicture(), animationOnCanvas = toCanvasFormat(animation);
    windowPictureOriginal_ = window;
    windowPicture_ = windowOnCanvas;
    animationPictureOriginal_ = animation;
    animationPicture_ = animationOnCanvas;
    canvas_.showPicture(windowPicture_);
}

void FakePlatform::schedule(double atMs, const Event& event) {
    scheduled_.push_back({static_cast<std::int64_t>(atMs * 1000.0), order_++, event});
}

std::optional<std::int64_t> FakePlatform::nextWake() const {
    std::optional<std::int64_t> wake;
    auto consider = [&](std::int64_t t) { wake = wake ? std::min(*wake, t) : t; };
    for (const Scheduled& s : scheduled_) consider(s.at);
    if (const std::int64_t until = deadlines_.untilNext(); until >= 0) consider(now_ + until);
    if (stopAt_ >= 0) consider(stopAt_);
    if (refreshWake_) consider((refreshCount() + 1) * refreshMs * 1000LL);
    return wake;
}

void FakePlatform::yield(bool mayWait) {
    ++yields;
    if (ended_) return;
    if (beforeYield) beforeYield(mayWait);
    if (stopWhen && stopWhen()) {
        ended_ = true;
        return;
    }
    if (mayWait) {
        ++waits;
        const auto wake = nextWake();
        if (!wake) {
            ++freezes;
            ended_ = true;
            return;
        }
        now_ = std::max(now_, *wake);
        refreshWake_ = false;
    } else {
        now_ += passCost;
    }

    // Gather what is due: scripted events and one tick per timer (missed ticks coalesce).
    std::vector<Scheduled> due;
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
        if (it->at <= now_) {
            due.push_back(*it);
            it = scheduled_.erase(it);
        } else {
            ++it;
        }
    }
    floorFrameClock();
    deadlines_.takeDue([&](TimerId timer, std::int64_t at) {
        Event tick;
        tick.kind = EventKind::TimerTick;
        tick.timer = timer;
        due.push_back({at, -1, tick});
    });
    std::stable_sort(due.begin(), due.end(), [](const Scheduled& a, const Scheduled& b) {
        return a.at != b.at ? a.at < b.at : a.order < b.order;
    });
    for (const Scheduled& s : due) {
        if (ended_) break;
        // A timer disabled by an earlier handler of this yield has no tick left to give.
        if (s.event.kind == EventKind::TimerTick && !timerEnabled(s.event.timer)) continue;
        if (sink_) sink_->dispatch(s.event);
    }
    if (afterYield) afterYield();
    if (stopAt_ >= 0 && now_ >= stopAt_) ended_ = true;
    if (stopWhen && stopWhen()) ended_ = true;
}

void FakePlatform::setTimerInterval(TimerId t, int milliseconds) {
    floorFrameClock();
    deadlines_.setInterval(t, milliseconds);
}

void FakePlatform::setTimerEnabled(TimerId t, bool enabled) {
    floorFrameClock();
    static_cast<void>(deadlines_.setEnabled(t, enabled));
}

void FakePlatform::setCaption(const std::string& caption) {
    caption_ = caption;
    captions.push_back(caption);
}

void FakePlatform::maximize() {
    maximized = true;
    clientWidth_ = maximizedWidth;
    clientHeight_ = maximizedHeight;
    canvas_.ensureSize(clientWidth_, clientHeight_);
}

void FakePlatform::fillBox(int x1, int y1, int x2, int y2, int colour) { canvas_.fillBox(x1, y1, x2, y2, colour); }

bool FakePlatform::copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) {
    const QImage& source = picture == PictureId::Window ? windowPicture_ : animationPicture_;
    return !canvas_.copy(source, dx, dy, w, h, sx, sy).isEmpty();
}

bool FakePlatform::loadPicture(const std::string& name) {
    const std::string* bytes = findFile(name);
    if (!bytes) return false;
    // Headless, the maximized size stands for the screen's free area.
    const QSize shown = QSize(maximizedWidth, maximizedHeight).expandedTo(canvas_.image().size());
    auto picture = loadPictureData(QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())), shown);
    if (!picture) return false;
    windowPictureOriginal_ = *picture;
    windowPicture_ = toCanvasFormat(*picture);
    canvas_.showPicture(windowPicture_);
    return true;
}

bool FakePlatform::savePicture(PictureId picture, const std::string& name) {
    const QByteArray bytes =
        encodeBmp8(picture == PictureId::Window ? windowPictureOriginal_ : animationPictureOriginal_);
    if (bytes.isEmpty()) return false;
    return writeTextFile(name, bytes.toStdString());
}

void FakePlatform::setAnimationPicture(const QImage& picture) {
    animationPictureOriginal_ = picture;
    animationPicture_ = toCanvasFormat(picture);
}

int FakePlatform::pictureOuterWidth() const { return design(Control::Picture1).width / twipsPerPixel; }
int FakePlatform::pictureOuterHeight() const { return design(Control::Picture1).height / twipsPerPixel; }

void FakePlatform::setText(Control control, const std::string& text) {
    if (state(control).text == text) return;
    state(control).text = text;
    Event change;
    change.kind = EventKind::TextChange;
    change.control = control;
    post(change);
}

void FakePlatform::type(Control box, const std::string& text) {
    const int limit = design(box).maxLength;
    std::string typed = limit > 0 && static_cast<int>(text.size()) > limit ? text.substr(0, static_cast<std::size_t>(limit)) : text;
    setText(box, typed);
    Event up;
    up.kind = EventKind::KeyUp;
    up.control = box;
    up.key = typed.empty() ? 0 : static_cast<unsigned char>(typed.back());
    post(up);
}

void FakePlatform::clickListEntry(Control list, int index) {
    state(list).index = index;
    Event click;
    click.kind = EventKind::Click;
    click.control = list;
    post(click);
}

void FakePlatform::refreshList(Control list) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files)
        if (matchesPattern(name, design(list).pattern)) names.push_back(name);
    sortIgnoringCase(names);
    state(list).entries = std::move(names);
    state(list).index = -1;
}


const std::string* FakePlatform::findFile(const std::string& name) const {
    if (auto it = files.find(name); it != files.end()) return &it->second;
    return chosenFile(name);
}

std::optional<std::string> FakePlatform::chosenName(const std::string& name) const {
    // The same spelling rule as the real working directory, for readers and writers alike.
    std::vector<std::string> spellings;
    for (const auto& [stored, bytes] : files)
        if (sameNameIgnoringCase(stored, name)) spellings.push_back(stored);
    if (spellings.empty()) return std::nullopt;
    return chosenSpelling(spellings);
}

const std::string* FakePlatform::chosenFile(const std::string& name) const {
    const auto chosen = chosenName(name);
    return chosen ? &files.at(*chosen) : nullptr;
}

std::optional<std::string> FakePlatform::file(const std::string& name) const {
    const std::string* bytes = chosenFile(name);
    return bytes ? std::optional<std::string>(*bytes) : std::nullopt;
}

std::optional<std::string> FakePlatform::readTextFile(const std::string& name) {
    const std::string* bytes = chosenFile(name);
    if (!bytes) return std::nullopt;
    // As the real reader: leading blanks passed over, then at most 64 KiB.
    std::size_t from = 0;
    while (from < bytes->size() && leadingBlank((*bytes)[from])) ++from;
    return bytes->substr(from, 65536);
}

bool FakePlatform::writeTextFile(const std::string& name, const std::string& content) {
    files[chosenName(name).value_or(name)] = content;
    return true;
}

int colourAt(const Canvas& canvas, int x, int y) {
    const unsigned rgb = canvas.pixel(x, y);
    for (int i = 0; i < 16; ++i)
        if (palette[static_cast<std::size_t>(i)] == rgb) return i;
    return -1;
}

}  // namespace pelorix::testing
