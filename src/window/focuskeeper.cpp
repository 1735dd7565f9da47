// SPDX-License-Identifier: MIT
// The focus keeper: where the keyboard goes while panels are open, after menus, and on Tab.
#include "window/focuskeeper.h"

#include <QPushButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace pelorix::qt {

FocusKeeper::FocusKeeper(QWidget* board, const std::vector<QWidget*>& order, QObject* parent)
    : QObject(parent), board_(board) {
    for (QWidget* w : order) {
        if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
        order_.push_back(w);
        w->installEventFilter(this);
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
    controlsChanged();
}

bool FocusKeeper::takesKeys(const QWidget* w) const { return !w->isHidden() && w->isEnabled(); }

std::vector<QWidget*> FocusKeeper::shown() const {
    std::vector<QWidget*> out;
    for (QWidget* w : order_)
        if (takesKeys(w)) out.push_back(w);
    return out;
}

bool FocusKeeper::panelOpen() const {
    return std::any_of(order_.begin(), order_.end(), [this](const QWidget* w) { return takesKeys(w); });
}

QWidget* FocusKeeper::home() const {
    const std::vector<QWidget*> controls = shown();
    if (controls.empty()) return board_;
    if (last_ && std::find(controls.begin(), controls.end(), last_.data()) != controls.end()) return last_;
    return controls.front();
}

bool FocusKeeper::cycle(bool next) {
    const std::vector<QWidget*> controls = shown();
    if (controls.empty()) return false;
    const QWidget* focus = QApplication::focusWidget();
    const auto at = std::find_if(controls.begin(), controls.end(),
                                 [focus](const QWidget* w) { return w == focus || w->isAncestorOf(focus); });
    const auto n = static_cast<std::ptrdiff_t>(controls.size());
    std::ptrdiff_t i = 0;
    if (at == controls.end()) i = next ? 0 : n - 1;  // from the board: the first (or last) control
    else i = ((at - controls.begin()) + (next ? 1 : n - 1)) % n;
    controls[static_cast<std::size_t>(i)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void FocusKeeper::controlsChanged() {
    const bool open = panelOpen();
    // While a panel is open a press on the board must not move the keyboard away from it; the
    // press itself still reaches the game.
    board_->setFocusPolicy(open ? Qt::NoFocus : Qt::StrongFocus);
    const QWidget* focus = QApplication::focusWidget();
    if (open && focus == board_) home()->setFocus(Qt::OtherFocusReason);
}

void FocusKeeper::focusChanged(QWidget* now) {
    if (!now) return;
    if (now == board_ && panelOpen()) {
        // Qt handed the keys to the board (a hidden control, the window activated again): they
        // belong to the open panel.
        home()->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (now == board_ || std::find(order_.begin(), order_.end(), now) != order_.end()) last_ = now;
}

void FocusKeeper::watchMenu(QMenu* menu) {
    // Closing a menu with Escape leaves the menu bar with the keys (for walking the menus with the
    // arrows); the user expects them back where they were. The check runs once the menu is gone.
    connect(menu, &QMenu::aboutToHide, this, [this] { QTimer::singleShot(0, this, [this] { menuClosed(); }); });
}

void FocusKeeper::menuClosed() {
    if (QApplication::activePopupWidget()) return;  // another menu of the bar is open
    QWidget* target = home();
    if (QApplication::focusWidget() != target) target->setFocus(Qt::PopupFocusReason);
}

bool FocusKeeper::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Sent once a control was shown or hidden (and Qt moved the focus off a hidden one).
    if (type == QEvent::ShowToParent || type == QEvent::HideToParent) controlsChanged();
    if (type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            if (button->isEnabled()) button->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorix::qt
