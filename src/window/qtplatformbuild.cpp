// SPDX-License-Identifier: MIT
// Building the Qt window from the design tables: menu tree, controls, timers, and showing it.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "platform/design.h"
#include "window/dropimport.h"
#include "window/emptynote.h"
#include "window/qtplatform.h"
#include "window/focuskeeper.h"
#include "window/menukeys.h"
#include "window/qtsupport.h"
#include "window/widgets.h"

namespace pelorix {

namespace qt {

// Watches the window for closing and the text boxes for keys; only queues events.
class EventRelay final : public QObject {
public:
    EventRelay(QtPlatform& platform, QObject* parent) : QObject(parent), platform_(platform) {}

    std::vector<std::pair<QObject*, Control>> textBoxes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Close && watched == platform_.window_.get()) {
            // The game decides: it ends the program from its Unload handler.
            event->ignore();
            platform_.postControl(EventKind::Unload, Control::Form);
            return true;
        }
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            for (const auto& [object, control] : textBoxes) {
                if (object != watched) continue;
                const auto* key = static_cast<QKeyEvent*>(event);
                // A held key repeats its KeyDown only: one KeyUp ends the press, as a typist expects.
                if (type == QEvent::KeyRelease && key->isAutoRepeat()) break;
                platform_.postControl(type == QEvent::KeyPress ? EventKind::KeyDown : EventKind::KeyUp, control,
                                      virtualKey(*key), shiftState(key->modifiers()));
                break;
            }
        }
        return false;
    }

private:
    QtPlatform& platform_;
};

}  // namespace qt

namespace {

using qt::qstr;
using qt::toColor;
using qt::pixels;

// Labels are drawn over the picture: their design colour on an opaque black ground.
constexpr QRgb labelGround = qRgb(0, 0, 0);
constexpr int controlFontPixels = 12;
constexpr int smallestFontPixels = 8;

// The control font at `px` pixels, narrowed by `stretch` (100 = normal width).
QFont controlFont(int px, int stretch = 100) {
    QFont font = QApplication::font();
    font.setPixelSize(px);
    font.setStretch(stretch);
    return font;
}

// The control font, narrowed and then made smaller (down to a floor) until `text` fits `width`
// pixels: the design sizes the labels for a small font.
QFont fittedFont(const QString& text, int width) {
    for (int px = controlFontPixels; px > smallestFontPixels; --px) {
        for (int stretch : {100, int{QFont::SemiCondensed}, int{QFont::Condensed}}) {
            const QFont font = controlFont(px, stretch);
            if (QFontMetrics(font).horizontalAdvance(text) <= width) return font;
        }
    }
    return controlFont(smallestFontPixels, QFont::Condensed);
}

// The widest text a small box must show whole: three digits, such as a stored time of 100.
const QString boxSample = QStringLiteral("000");
// The line edit's own margin on each side of its text, inside the frame.
constexpr int lineEditMargin = 2;
constexpr int caretWidth = 1;

// The font of a text box: the control font, made narrower or smaller until three digits and the
// caret fit inside the frame and margins, so a box as small as 25 pixels still reads "100".
QFont boxFont(const QLineEdit& box, int width) {
    const int frame = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
    const int inner = width - 2 * frame - 2 * lineEditMargin - caretWidth;
    const QFont wanted = controlFont(controlFontPixels, QFont::SemiCondensed);
    if (QFontMetrics(wanted).horizontalAdvance(boxSample) <= inner) return wanted;
    return fittedFont(boxSample, inner);
}

// A label over the picture: its design colour (white when it has none) on the label ground, in a
// font that fits `width` pixels.
QLabel* makeLabel(const QString& caption, const ControlDesign& d, int width, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, QColor(labelGround));
    pal.setColor(QPalette::WindowText, d.colour ? toColor(*d.colour) : QColor(Qt::white));
    label->setPalette(pal);
    label->setFont(fittedFont(caption, width - 2));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(1);
    return label;
}

// A check box on white, its caption in its design colour and in a font that fits beside the box.
QCheckBox* makeCheckBox(const QString& caption, const ControlDesign& d, int width, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setAutoFillBackground(true);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, QColor(Qt::white));
    if (d.colour) pal.setColor(QPalette::WindowText, toColor(*d.colour));
    box->setPalette(pal);
    box->setFont(fittedFont(caption, width - 20));
    return box;
}

// A framed box showing `picture` from its top-left corner.
QLabel* makePictureBox(const QImage& picture, QWidget* parent) {
    auto* box = new QLabel(parent);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(QPixmap::fromImage(picture));
    return box;
}

}  // namespace

// --- construction of the window ---

void QtPlatform::buildWindow() {
    window_ = std::make_unique<QMainWindow>();
    window_->setWindowTitle(qstr(caption_));
    relay_ = new qt::EventRelay(*this, window_.get());
    window_->installEventFilter(relay_);

    canvasWidget_ = new qt::CanvasWidget(canvas_, window_.get(), [this] { return timers_.clockMicros(); });
    canvasWidget_->post = [this](const Event& e) { post(e); };
    canvasWidget_->resized = [this] {
        if (onResize_) onResize_();
    };
    window_->setCentralWidget(canvasWidget_);

    buildMenus();
    qt::openMenusOnF10(*window_);
    buildControls();
    new qt::DropImport(*this, canvasWidget_);  // pictures dropped on the window join the folder

    // The keyboard stays with an open panel; the keeper is owned by the window and follows the
    // controls and the menus by itself.
    std::vector<QWidget*> order;
    for (Control c : tabOrder()) order.push_back(widget(c));
    auto* keeper = new qt::FocusKeeper(canvasWidget_, order, window_.get());
    canvasWidget_->cycleFocus = [keeper](bool next) { return keeper->cycle(next); };
    for (int i = 0; i < menuCount; ++i)
        if (!design(static_cast<Menu>(i)).parent && submenus_[static_cast<std::size_t>(i)])
            keeper->watchMenu(submenus_[static_cast<std::size_t>(i)]);

    // Size the window so that its client area (the canvas widget) has the design size.
    const QSize client(launchClientWidth, launchClientHeight);
    window_->resize(client.width(), client.height() + window_->menuBar()->sizeHint().height());
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (QLayout* layout = window_->layout()) layout->activate();
        const QSize off = client - canvasWidget_->size();
        if (off.isNull()) break;
        window_->resize(window_->size() + off);
    }
    canvasWidget_->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::buildMenus() {
    QMenuBar* bar = window_->menuBar();
    for (int i = 0; i < menuCount; ++i) {
        const Menu entry = static_cast<Menu>(i);
        const MenuDesign& d = design(entry);
        bool hasChildren = false;
        for (int j = 0; j < menuCount; ++j)
            if (design(static_cast<Menu>(j)).parent == entry) hasChildren = true;
        const QString caption = qt::menuText(entry);

        QAction* action = nullptr;
        if (hasChildren) {
            QMenu* menu = d.parent ? submenus_[index(*d.parent)]->addMenu(caption) : bar->addMenu(caption);
            submenus_[index(entry)] = menu;
            action = menu->menuAction();
        } else {
            action = d.parent ? submenus_[index(*d.parent)]->addAction(caption) : bar->addAction(caption);
            // The shortcut triggers the action, so it runs exactly what a click runs.
            action->setShortcut(qt::menuShortcut(entry));
            QObject::connect(action, &QAction::triggered, window_.get(), [this, entry] {
                // Qt may have toggled the mark already; the game sets the marks itself.
                showChecks(entry);
                Event e;
                e.kind = EventKind::MenuClick;
                e.menu = entry;
                post(e);
            });
        }
        actions_[index(entry)] = action;
        action->setVisible(d.visible);
        action->setEnabled(d.enabled);
        // Plain checkable actions, in no exclusive group, so the style draws check marks; the game
        // keeps one mark per group itself. An entry is checkable only while it is marked.
        if (d.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
}

void QtPlatform::buildControls() {
    for (int i = 1; i < controlCount; ++i) {
        const Control control = static_cast<Control>(i);
        const ControlDesign& d = design(control);
        const QRect area = pixels(d);
        const QString caption = qstr(d.caption);
        QWidget* widget = nullptr;

        switch (d.kind) {
            case ControlKind::Label: widget = makeLabel(caption, d, area.width(), canvasWidget_); break;
            case ControlKind::TextBox: widget = makeTextBox(control, caption, area.width()); break;
            case ControlKind::FileList: {
                auto* list = new qt::FileListWidget(canvasWidget_);
                QPalette pal = list->palette();
                if (d.colour) pal.setColor(QPalette::Text, toColor(*d.colour));
                list->setPalette(pal);
                list->setFont(controlFont(controlFontPixels - 1, QFont::SemiCondensed));
                list->clicked = [this, control] { postControl(EventKind::Click, control); };
                widget = list;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(caption, canvasWidget_);
                QObject::connect(button, &QPushButton::clicked, window_.get(),
                        [this, control] { postControl(EventKind::Click, control); });
                widget = button;
                break;
            }
            case ControlKind::CheckBox: {
                auto* box = makeCheckBox(caption, d, area.width(), canvasWidget_);
                QObject::connect(box, &QCheckBox::clicked, window_.get(), [this, control, box] {
                    state(control).check = box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::Unchecked ? 0 : 2;
                    postControl(EventKind::Click, control);
                });
                widget = box;
                break;
            }
            case ControlKind::PictureBox: widget = makePictureBox(animationPicture_, canvasWidget_); break;
            case ControlKind::Window: break;
        }
        if (!widget) continue;
        widget->setGeometry(area);
        widget->hide();
        widgets_[index(control)] = widget;
    }

    emptyNote_ = new qt::EmptyFolderNote(canvasWidget_, pixels(design(Control::Command1)));

    const auto& order = tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(widget(order[i - 1]), widget(order[i]));

    for (Control c : {Control::File1, Control::File2}) refreshList(c);
}

QWidget* QtPlatform::makeTextBox(Control control, const QString& caption, int width) {
    auto* box = new qt::TextBoxWidget(caption, canvasWidget_);
    const int limit = design(control).maxLength;
    if (limit > 0) box->setMaxLength(limit);
    const bool readOnly = control == Control::Text3;
    if (readOnly) box->setReadOnly(true);
    box->setFont(boxFont(*box, width));
    box->setTextMargins(0, 0, 0, 0);
    QObject::connect(box, &QLineEdit::textChanged, window_.get(), [this, control, box, limit, readOnly](const QString& now) {
        // A longer text set by the program lifts the limit until the text is short again.
        if (limit > 0 && now.size() <= limit && box->maxLength() != limit) box->setMaxLength(limit);
        // The chosen file's name is often longer than the box; the tooltip shows it whole.
        if (readOnly) box->setToolTip(now);
        postControl(EventKind::TextChange, control);
    });
    box->installEventFilter(relay_);
    relay_->textBoxes.emplace_back(box, control);
    return box;
}

void QtPlatform::showWindow(int timeoutMs) {
    window_->show();
    window_->raise();
    window_->activateWindow();
    waitUntil([this] { return window_->windowHandle() && window_->windowHandle()->isExposed(); }, timeoutMs);
    canvasWidget_->setFocus(Qt::ActiveWindowFocusReason);
    QCoreApplication::processEvents();
}

}  // namespace pelorix
