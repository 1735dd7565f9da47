// SPDX-License-Identifier: MIT
// The Qt window's controls and menu entries as the game sees them: visibility, texts, lists, marks.
#include <QAction>
#include <QFile>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QWidget>

#include "platform/design.h"
#include "window/qtplatform.h"
#include "window/emptynote.h"
#include "window/qtsupport.h"
#include "window/widgets.h"

namespace pelorix {

using qt::qstr;

// --- controls ---

void QtPlatform::followEmptyLists() {
    if (!emptyNote_) return;
    const ControlState &pictures = state(Control::File1), &animations = state(Control::File2);
    emptyNote_->follow(pictures.visible || animations.visible, pictures.entries.empty() && animations.entries.empty());
}

QWidget* QtPlatform::emptyNote() const { return emptyNote_; }

void QtPlatform::setVisible(Control control, bool visible) {
    state(control).visible = visible;
    if (control == Control::File1 || control == Control::File2) followEmptyLists();
    QWidget* shown = widgets_[index(control)];
    if (!shown) return;
    if (visible) {
        shown->show();
        shown->raise();
        return;
    }
    const QWidget* focus = window_->focusWidget();
    const bool hadFocus = focus && (focus == shown || shown->isAncestorOf(focus));
    shown->hide();
    if (hadFocus) canvasWidget_->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::setLeft(Control control, int twips) {
    state(control).left = twips;
    if (QWidget* moved = widgets_[index(control)]) moved->move(twips / twipsPerPixel, moved->y());
}

std::string QtPlatform::text(Control control) const {
    if (const QLineEdit* box = textBox(control)) {
        // A file name set by the program comes back as the same bytes, even when they are not
        // valid UTF-8, as long as nobody edited the box since.
        const std::string& set = state(control).text;
        if (box->text() == QString::fromStdString(set)) return set;
        return box->text().toStdString();
    }
    return state(control).text;
}

void QtPlatform::setText(Control control, const std::string& text) {
    if (QLineEdit* box = textBox(control)) {
        state(control).text = text;
        const QString now = QString::fromStdString(text);
        if (box->text() == now) return;
        // The typing limit does not cut text set by the program.
        const int limit = design(control).maxLength;
        if (limit > 0 && now.size() > limit) box->setMaxLength(static_cast<int>(now.size()));
        box->setText(now);  // textChanged queues the TextChange
        box->setCursorPosition(0);
        return;
    }
    ControlState& s = state(control);
    if (s.text == text) return;
    s.text = text;
    const QString caption = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(widgets_[index(control)]); label && control != Control::Picture1)
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(widgets_[index(control)]))
        button->setText(caption);
    postControl(EventKind::TextChange, control);
}

void QtPlatform::setCheckValue(Control control, int value) {
    ControlState& s = state(control);
    s.check = value;
    if (auto* box = qobject_cast<QCheckBox*>(widgets_[index(control)])) {
        if (value != 0 && value != 1) box->setTristate(true);
        box->setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
    }
}

void QtPlatform::setFocus(Control control) {
    if (QWidget* w = widget(control)) w->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::refreshList(Control control) {
    qt::FileListWidget* widget = list(control);
    if (!widget) return;
    ControlState& s = state(control);
    s.entries = workdir_.list(design(control).pattern);
    QStringList names;
    for (const std::string& name : s.entries) names << QFile::decodeName(QByteArray::fromStdString(name));
    widget->setEntries(names);
    followEmptyLists();
}

std::string QtPlatform::listEntry(Control control, int index) const {
    const auto& entries = state(control).entries;
    return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(index)]
                                                                   : std::string();
}

int QtPlatform::listIndex(Control control) const {
    const qt::FileListWidget* widget = list(control);
    return widget ? widget->selectedRow() : -1;
}

// --- menus ---

void QtPlatform::setMenuVisible(Menu entry, bool visible) {
    book_[entry].visible = visible;
    actions_[index(entry)]->setVisible(visible);
}

void QtPlatform::setMenuEnabled(Menu entry, bool enabled) {
    book_[entry].enabled = enabled;
    actions_[index(entry)]->setEnabled(enabled);
}

void QtPlatform::setMenuChecked(Menu entry, bool checked) {
    book_[entry].checked = checked;
    QAction* action = actions_[index(entry)];
    // Checkable only while marked: the style then draws a tick on the marked entry and nothing
    // (no empty box) on the others, whichever entries the game groups.
    action->setCheckable(checked);
    action->setChecked(checked);
}

void QtPlatform::showChecks(Menu entry) {
    // Qt toggles a checkable action when it is chosen; only the game's handler moves the marks.
    QAction* action = actions_[index(entry)];
    const bool checked = book_[entry].checked;
    action->setCheckable(checked);
    action->setChecked(checked);
}

}  // namespace pelorix
