// SPDX-License-Identifier: MIT
// Keeps the keyboard with an open option panel: Tab order, board clicks, menus, Enter on buttons.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QMenu;
class QWidget;

namespace pelorix::qt {

// A panel is open while any control that takes the keyboard is shown; the keeper reads that from
// the widgets themselves, not from the game. While one is open the keyboard stays with the shown
// controls: a click on the board does not take it, Tab and Shift+Tab cycle through them in tab
// order, and it comes back to the control that had it when a menu closes. With no panel open the
// board has the keys.
class FocusKeeper final : public QObject {
public:
    // `board`: the drawing surface, parent of the controls; `order`: the window's controls in tab
    // order (those that never take the keyboard are skipped).
    FocusKeeper(QWidget* board, const std::vector<QWidget*>& order, QObject* parent);

    // True while a control that takes the keyboard is shown.
    bool panelOpen() const;
    // Moves the focus to the next (or previous) shown control, wrapping around; false when no
    // panel is open, which leaves Tab to the board.
    bool cycle(bool next);
    // Gives the focus back after `menu` (a menu of the menu bar) closes.
    void watchMenu(QMenu* menu);

protected:
    // Follows the controls being shown and hidden; Enter and keypad Enter press a focused button,
    // as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool takesKeys(const QWidget* w) const;
    std::vector<QWidget*> shown() const;
    // Where the keys belong now: the control that last had them if it still can, else the first
    // shown control, else the board.
    QWidget* home() const;
    // After a control was shown or hidden: a click on the board takes the focus only while no
    // panel is open, and keys left on the board go to the open panel.
    void controlsChanged();
    void focusChanged(QWidget* now);
    void menuClosed();

    QWidget* board_;
    std::vector<QWidget*> order_;
    QPointer<QWidget> last_;
};

}  // namespace pelorix::qt
