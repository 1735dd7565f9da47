// SPDX-License-Identifier: MIT
// The Qt widgets behind the window: the drawing surface widget, the text box and the file list.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "pictures/canvas.h"
#include "platform/ids.h"
#include "window/keymap.h"

class QKeyEvent;

namespace pelorix::qt {

// Mouse button code: 1 left, 2 right, 4 middle; 0 for other buttons.
int buttonCode(Qt::MouseButton button);

// The window's client area: paints the persistent canvas and reports presses and keys on the
// board. Presses on child controls and keys typed into a focused child control are not the
// board's and are not reported.
//
// Drawing on the canvas is put on screen at the display's pace: changed areas gather until the
// next refresh and are then painted together, so a game drawing a thousand frames a second costs
// the screen only sixty paints.
class CanvasWidget final : public QWidget {
public:
    // Microseconds on the clock the display's pace is kept on: the platform's timer clock, so that
    // a test that sets that clock sets this pace too.
    using Clock = std::function<std::int64_t()>;
    CanvasWidget(Canvas& canvas, QWidget* parent, Clock clock);

    // Tells that the canvas was drawn on in `area`; what changed is painted at the next refresh.
    void changed(const QRect& area);
    // Paints what changed since the last paint at the next turn of the event loop. While the game
    // shows its frames this way (one came within the last two refreshes), the display's pace holds
    // back, so that frames are not painted twice or half-drawn.
    void showFrame();
    // Milliseconds between two refreshes of the screen the widget is on.
    int refreshMs() const;
    // Device pixels per window unit that the canvas holds: the canvas covers the widget with
    // `ratio` times as many pixels each way, and is painted pixel for pixel onto a screen of that
    // ratio. Everything is painted anew.
    void setRatio(double ratio);
    double ratio() const { return ratio_; }
    // The canvas's size for a widget of the present size: its size in units times the ratio,
    // rounded up.
    QSize deviceSize() const;

    std::function<void(const Event&)> post;  // receives MouseDown and KeyDown events
    std::function<void()> resized;           // after the widget (and canvas) changed size
    // Tab (next) or Shift+Tab among the controls; false leaves the key to the board.
    std::function<bool(bool next)> cycleFocus;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void press(QMouseEvent* event);
    void paceTick();
    // How long after the last paint the display's pace paints again.
    qint64 holdMs() const;
    void paint(const QRegion& changed);
    bool childHasFocus() const;

    Canvas& canvas_;
    double ratio_ = 1;
    bool gameShowsFrames_ = false;  // showFrame came since the display's pace last painted
    // Milliseconds since changes were last asked to be painted.
    qint64 sinceShownMs() const { return (clock_() - shownAt_) / 1000; }

    Clock clock_;
    QTimer pace_;             // fires at the next refresh while something waits
    std::int64_t shownAt_;    // when changes were last asked to be painted, on `clock_`
};

// A text box whose whole text is selected when it receives the keys (from the program, by Tab or
// Shift+Tab, or by a first click), so that typing replaces its value; a click into the box that
// already has the keys places the caret. When the keys come back from a menu or another window,
// the selection and caret are as they were; a box left for another control shows its start again.
class TextBoxWidget final : public QLineEdit {
public:
    TextBoxWidget(const QString& text, QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Selects the whole text with the caret at its start, so a long text shows its beginning.
    void selectWhole();

    bool clickedIn_ = false;  // the keys came with a mouse press that is not yet released
};

// A file list: a click on an entry (or a keyboard move of the selection) reports a click; a
// refresh done by the program does not.
class FileListWidget final : public QListWidget {
public:
    explicit FileListWidget(QWidget* parent);

    std::function<void()> clicked;
    // Replaces the entries and clears the selection without reporting a click.
    void setEntries(const QStringList& names);
    // The selected row, or -1.
    int selectedRow() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool pressing_ = false;
    bool refreshing_ = false;
};

}  // namespace pelorix::qt
