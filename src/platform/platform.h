// SPDX-License-Identifier: MIT
// The one interface through which the game reaches the world: window, controls, timers, drawing, files, random numbers.
#pragma once

#include <optional>
#include <string>

#include "platform/ids.h"

namespace pelorix {

// Receives the window's events. The platform calls it only from inside `Platform::yield`.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void dispatch(const Event& event) = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Sets who receives events. Must be called before the first yield.
    virtual void setSink(EventSink* sink) = 0;

    // Runs every pending event through the sink, one at a time, then returns. When `mayWait` is
    // true and nothing is pending, first waits until at least one event (input or timer tick)
    // arrives. The caller passes true only when nothing can change without an event.
    virtual void yield(bool mayWait) = 0;
    // Ends the program: no further event is dispatched and `ended` turns true.
    virtual void end() = 0;
    virtual bool ended() const = 0;

    // Timers. Intervals are whole milliseconds (0 or more). A tick is delivered at a yield once per
    // interval while enabled. Disabling and enabling restarts the countdown; setting the interval
    // an enabled timer already has leaves its countdown running.
    virtual void setTimerInterval(TimerId timer, int milliseconds) = 0;
    virtual int timerInterval(TimerId timer) const = 0;
    virtual void setTimerEnabled(TimerId timer, bool enabled) = 0;
    virtual bool timerEnabled(TimerId timer) const = 0;

    // Window.
    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;
    // Maximizes the window; when it returns the client size is the maximized one.
    virtual void maximize() = 0;
    // Client-area size in pixels.
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;

    // Drawing on the window, kept until drawn over. Coordinates in client pixels.
    // A filled box with both corners included, in palette colour 0-15 (other indices draw nothing).
    virtual void fillBox(int x1, int y1, int x2, int y2, int colour) = 0;
    // Copies a w × h region at (sx, sy) of a picture to (dx, dy), unscaled. Only the part of the
    // region that lies inside the picture is drawn. Returns false when nothing could be drawn.
    virtual bool copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) = 0;
    // Drawing reaches the screen at the display's pace (at most once per refresh, only what
    // changed). `showFrame` instead puts everything drawn so far on screen at the next yield: for
    // an animation frame that must be seen, whatever the display's pace would have merged.
    virtual void showFrame() = 0;
    // The display's refresh clock, for frames paced by what the screen can show: refreshes counted
    // from a fixed moment by the time, so a late caller sees the count it would see on time. The
    // frame clock (Timer2) never ticks faster than one refresh, on the same clock.
    virtual long long refreshCount() const = 0;
    // Makes a yield that may wait return by the next refresh at the latest.
    virtual void wakeAtRefresh() = 0;
    // Milliseconds on the clock the timers and the refreshes run on, from a fixed moment: for
    // paces set by time that a timer's single tick cannot keep, such as several moves a refresh.
    virtual double clockMs() const = 0;
    // Loads a picture file (format decided by content) as the window's background picture and
    // shows it from the top-left corner. Only the part a screen can show is decoded and kept;
    // a file that would cost more than the screen's worth is refused. Returns false and keeps the
    // old picture on failure.
    virtual bool loadPicture(const std::string& file) = 0;
    // Writes a picture as an uncompressed 8-bit BMP with a 256-entry palette, replacing the file
    // as `writeTextFile` does.
    virtual bool savePicture(PictureId picture, const std::string& file) = 0;
    // Size of Picture1's picture without its border (inner) and with it (outer), in pixels.
    virtual int pictureInnerWidth() const = 0;
    virtual int pictureInnerHeight() const = 0;
    virtual int pictureOuterWidth() const = 0;
    virtual int pictureOuterHeight() const = 0;

    // Controls.
    virtual void setVisible(Control control, bool visible) = 0;
    virtual bool visible(Control control) const = 0;
    // Moves a control's left edge, in twips.
    virtual void setLeft(Control control, int twips) = 0;
    virtual int left(Control control) const = 0;
    virtual std::string text(Control control) const = 0;
    virtual void setText(Control control, const std::string& text) = 0;
    virtual int checkValue(Control control) const = 0;
    virtual void setCheckValue(Control control, int value) = 0;
    // Gives a control the keyboard focus (Form: the board).
    virtual void setFocus(Control control) = 0;

    // File lists: the working directory's files matching the list's pattern, sorted without regard
    // to case. `listIndex` is -1 when nothing is selected; `refreshList` re-reads and clears it.
    virtual void refreshList(Control list) = 0;
    virtual int listCount(Control list) const = 0;
    // Entry `index` (0-based); empty when out of range.
    virtual std::string listEntry(Control list, int index) const = 0;
    virtual int listIndex(Control list) const = 0;

    // Menu entries.
    virtual void setMenuVisible(Menu entry, bool visible) = 0;
    virtual bool menuVisible(Menu entry) const = 0;
    virtual void setMenuEnabled(Menu entry, bool enabled) = 0;
    virtual bool menuEnabled(Menu entry) const = 0;
    virtual void setMenuChecked(Menu entry, bool checked) = 0;
    virtual bool menuChecked(Menu entry) const = 0;

    // Small text files in the working directory; names compare without regard to case, and of
    // several spellings present the first in byte order is the one read and written.
    // The text from the first byte that is not a blank (space, tab, CR, LF) on, at most 64 KiB of
    // it. Empty result: the file does not exist, is not a regular file or cannot be read.
    virtual std::optional<std::string> readTextFile(const std::string& name) = 0;
    // Creates or replaces the file, keeping an existing file's spelling. A failed write leaves the
    // old file whole; a symbolic link or anything but a regular file in its place is not written.
    virtual bool writeTextFile(const std::string& name, const std::string& content) = 0;

    // Random numbers: uniform in [0, 1) from one generator.
    virtual void randomize(double seed) = 0;
    virtual double random() = 0;
    // Seconds since midnight, local time.
    virtual double timeOfDay() const = 0;
};

}  // namespace pelorix
