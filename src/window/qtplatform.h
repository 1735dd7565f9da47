// SPDX-License-Identifier: MIT
// The real window: a Qt main window with menus, controls, timers and a persistent drawing canvas.
#pragma once

#include <QImage>
#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controlbook.h"
#include "platform/platform.h"
#include "pictures/canvas.h"
#include "timers/gametimers.h"
#include "platform/random.h"
#include "files/workdir.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QObject;
class QTimer;
class QWidget;

namespace pelorix {

namespace qt {
class CanvasWidget;
class EmptyFolderNote;
class FileListWidget;
class EventRelay;
}  // namespace qt

// Implements the platform with Qt Widgets. Qt's handlers only queue events; the queue is handed to
// the sink one event at a time inside `yield`, so the game never runs inside a Qt handler.
class QtPlatform final : public Platform {
public:
    // `workdir`: the folder of the text files, file lists and picture files. `clock`: the steady
    // clock, in microseconds, that the timers and the display's pace are kept on (a test may set it).
    explicit QtPlatform(std::filesystem::path workdir, qt::GameTimers::Clock clock = qt::GameTimers::steadyMicros);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // Shows the window and processes events until it is on screen (at most `timeoutMs`).
    void showWindow(int timeoutMs = 2000);

    // --- hooks and accessors for tests ---
    // Called after every yield's events; the program ends after a yield at which `stopWhen` is true.
    std::function<void()> afterYield;
    std::function<bool()> stopWhen;
    QMainWindow* window() const { return window_.get(); }
    // The note that shows the way to pictures while both picture lists are empty.
    QWidget* emptyNote() const;
    QWidget* canvasWidget() const;
    // The entry's action: for an entry with a submenu, the submenu's action.
    QAction* action(Menu entry) const { return actions_[index(entry)]; }
    // The entry's submenu, or null for a leaf.
    QMenu* submenu(Menu entry) const { return submenus_[index(entry)]; }
    // The control's widget; Form gives the canvas widget.
    QWidget* widget(Control control) const;
    const qt::GameTimers& timers() const { return timers_; }
    // The drawing, in device pixels: `ratio()` of them to a window unit each way.
    const Canvas& canvas() const { return canvas_; }
    double ratio() const { return ratio_; }
    const QImage& windowPicture() const { return windowPicture_; }
    const QImage& animationPicture() const { return animationPicture_; }
    // Events queued and not yet dispatched.
    std::size_t pendingEvents() const { return queue_.size(); }

    // --- pictures added or removed outside the game (dropimport.cpp, folderwatch.cpp) ---
    const std::filesystem::path& workFolder() const { return workdir_.path(); }
    // The system calls the folder's writes go through, imports' as well as settings'.
    const FileCalls& fileCalls() const { return workdir_.calls(); }
    // Re-reads each file list whose names in the folder changed; each list keeps its selected name
    // selected while that name is still there, and no click reaches the game.
    void rereadFileLists();

    // --- Platform ---
    void setSink(EventSink* sink) override { sink_ = sink; }
    void yield(bool mayWait) override;
    void end() override;
    bool ended() const override { return ended_; }
    void setTimerInterval(TimerId timer, int milliseconds) override;
    int timerInterval(TimerId timer) const override { return timers_.interval(timer); }
    void setTimerEnabled(TimerId timer, bool enabled) override;
    bool timerEnabled(TimerId timer) const override { return timers_.enabled(timer); }
    void setCaption(const std::string& caption) override;
    std::string caption() const override { return caption_; }
    void maximize() override;
    int clientWidth() const override;
    int clientHeight() const override;
    void fillBox(int x1, int y1, int x2, int y2, int colour) override;
    bool copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) override;
    void showFrame() override;
    long long refreshCount() const override;
    void wakeAtRefresh() override;
    double clockMs() const override { return timers_.clockMs(); }
    // Milliseconds of one refresh as the game paces frames: the screen's refresh, but never
    // shorter than `qt::shortestFrameMs`.
    int frameMs() const;
    bool loadPicture(const std::string& file) override;
    bool savePicture(PictureId picture, const std::string& file) override;
    int pictureInnerWidth() const override { return animationPictureOriginal_.width(); }
    int pictureInnerHeight() const override { return animationPictureOriginal_.height(); }
    int pictureOuterWidth() const override;
    int pictureOuterHeight() const override;
    void setVisible(Control control, bool visible) override;
    bool visible(Control control) const override { return state(control).visible; }
    void setLeft(Control control, int twips) override;
    int left(Control control) const override { return state(control).left; }
    std::string text(Control control) const override;
    void setText(Control control, const std::string& text) override;
    int checkValue(Control control) const override { return state(control).check; }
    void setCheckValue(Control control, int value) override;
    void setFocus(Control control) override;
    void refreshList(Control list) override;
    int listCount(Control list) const override { return static_cast<int>(state(list).entries.size()); }
    std::string listEntry(Control list, int index) const override;
    int listIndex(Control list) const override;
    void setMenuVisible(Menu entry, bool visible) override;
    bool menuVisible(Menu entry) const override { return book_[entry].visible; }
    void setMenuEnabled(Menu entry, bool enabled) override;
    bool menuEnabled(Menu entry) const override { return book_[entry].enabled; }
    void setMenuChecked(Menu entry, bool checked) override;
    bool menuChecked(Menu entry) const override { return book_[entry].checked; }
    std::optional<std::string> readTextFile(const std::string& name) override { return workdir_.readText(name); }
    bool writeTextFile(const std::string& name, const std::string& content) override {
        return workdir_.writeText(name, content);
    }
    void randomize(double seed) override { random_.seed(seed); }
    double random() override { return random_.next(); }
    double timeOfDay() const override;

private:
    friend class qt::EventRelay;

    // What the game set on each control and menu entry. A control's text is, for a text box, the
    // bytes the program last set; a list's selection is read from its widget instead.
    using ControlState = ControlBook::ControlState;

    template <typename E>
    static std::size_t index(E e) {
        return static_cast<std::size_t>(e);
    }
    ControlState& state(Control c) { return book_[c]; }
    const ControlState& state(Control c) const { return book_[c]; }

    void buildWindow();
    void buildMenus();
    void buildControls();
    // A text box that reports its text changes and keys to the game; `width` in pixels.
    QWidget* makeTextBox(Control control, const QString& caption, int width);
    void post(const Event& event);
    void postControl(EventKind kind, Control control, int key = 0, int shift = 0);
    // Shows on the actions exactly the check marks the game set.
    void showChecks(Menu entry);
    void repaint(const QRect& area);
    // Grows the canvas to cover the client area at the present ratio.
    void ensureCanvas();
    // Takes up the device pixel ratio of the screen the window is on, when it changed: the
    // pictures are made anew at the new density and what is drawn is resampled to it; all that is
    // drawn from then on is at full density.
    void followRatio();
    // A window unit's edge in device pixels.
    int device(int units) const;
    // The largest part of a picture the window could ever show, from its top-left corner.
    QSize shownArea() const;
    // Processes events until `done` holds or `timeoutMs` passed.
    void waitUntil(const std::function<bool()>& done, int timeoutMs);
    qt::FileListWidget* list(Control control) const;
    // Shows the empty-folder note while a picture list is shown and both lists are empty.
    void followEmptyLists();
    QLineEdit* textBox(Control control) const;

    WorkDir workdir_;
    EventSink* sink_ = nullptr;
    bool ended_ = false;
    std::deque<Event> queue_;
    RandomSource random_;
    std::string caption_;
    ControlBook book_;
    std::array<QWidget*, controlCount> widgets_{};  // none for the form and the window itself
    std::array<QAction*, menuCount> actions_{};
    std::array<QMenu*, menuCount> submenus_{};
    qt::GameTimers timers_;

    // The pictures as loaded or built in, and the same at the canvas's density in its format.
    QImage windowPictureOriginal_;
    QImage windowPicture_;
    std::optional<std::filesystem::path> windowFile_;  // where the background picture came from; none: built in
    QImage animationPictureOriginal_;
    QImage animationPicture_;
    double ratio_ = 1;  // device pixels per window unit that the canvas and its pictures hold
    Canvas canvas_;

    std::unique_ptr<QMainWindow> window_;
    qt::CanvasWidget* canvasWidget_ = nullptr;
    qt::EventRelay* relay_ = nullptr;
    qt::EmptyFolderNote* emptyNote_ = nullptr;
    std::function<void()> onResize_;  // set while `maximize` waits
    QSize maximizedSize_;             // client size the last maximize reached
};

}  // namespace pelorix
