// The Qt window: menus, controls, timers and canvas built from the design tables; events queued by
// Qt's handlers and handed to the game one at a time inside `yield`.
#include "platform/qt/qtplatform.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/design.h"
#include "platform/pictures.h"
#include "platform/qt/widgets.h"

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
                // A held key repeats its KeyDown only, as the keyboard of the original window did.
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

constexpr unsigned windowBackground = 0xF0F0F0;
// Labels are drawn over the picture: their design colour on an opaque black ground.
constexpr QRgb labelGround = qRgb(0, 0, 0);
constexpr int controlFontPixels = 12;
constexpr int smallestFontPixels = 8;

QString qstr(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString toQPath(const std::filesystem::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.string())); }

QColor toColor(const Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

QRect pixels(const ControlDesign& d) {
    return {d.left / twipsPerPixel, d.top / twipsPerPixel, d.width / twipsPerPixel, d.height / twipsPerPixel};
}

// The control font at `px` pixels, narrowed by `stretch` (100 = normal width).
QFont controlFont(int px, int stretch = 100) {
    QFont font = QApplication::font();
    font.setPixelSize(px);
    font.setStretch(stretch);
    return font;
}

// The control font, narrowed and then made smaller (down to a floor) until `text` fits `width`
// pixels: the labels are sized for a small 8-point font of the original window.
QFont fittedFont(const QString& text, int width) {
    for (int px = controlFontPixels; px > smallestFontPixels; --px) {
        for (int stretch : {100, int{QFont::SemiCondensed}, int{QFont::Condensed}}) {
            const QFont font = controlFont(px, stretch);
            if (QFontMetrics(font).horizontalAdvance(text) <= width) return font;
        }
    }
    return controlFont(smallestFontPixels, QFont::Condensed);
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

// The radio groups of the menu tree: each handler checks its own entry and unchecks the others.
const std::vector<std::vector<Menu>>& radioGroups() {
    static const std::vector<std::vector<Menu>> groups{
        {Menu::prandom, Menu::pnrandom},
        {Menu::tslow, Menu::tfast},
        {Menu::usolve, Menu::csolve, Menu::csolves},
    };
    return groups;
}

const std::vector<Menu>* groupOf(Menu entry) {
    for (const auto& group : radioGroups())
        if (std::find(group.begin(), group.end(), entry) != group.end()) return &group;
    return nullptr;
}

}  // namespace

QtPlatform::QtPlatform(std::filesystem::path workdir)
    : workdir_(std::move(workdir)),
      caption_(launchCaption),
      windowPictureOriginal_(builtinWindowPicture()),
      windowPicture_(toCanvasFormat(windowPictureOriginal_)),
      animationPictureOriginal_(builtinAnimationPicture()),
      animationPicture_(toCanvasFormat(animationPictureOriginal_)),
      canvas_(launchClientWidth, launchClientHeight, windowBackground) {
    canvas_.showPicture(windowPicture_);
    buildWindow();
}

QtPlatform::~QtPlatform() {
    ended_ = true;
    for (Timer& t : timers_)
        if (t.qtimer) t.qtimer->stop();
    if (canvasWidget_) {
        canvasWidget_->post = nullptr;
        canvasWidget_->resized = nullptr;
    }
    window_.reset();
}

// --- construction of the window ---

void QtPlatform::buildWindow() {
    window_ = std::make_unique<QMainWindow>();
    window_->setWindowTitle(qstr(caption_));
    relay_ = new qt::EventRelay(*this, window_.get());
    window_->installEventFilter(relay_);

    canvasWidget_ = new qt::CanvasWidget(canvas_, window_.get());
    canvasWidget_->post = [this](const Event& e) { post(e); };
    canvasWidget_->resized = [this] {
        if (onResize_) onResize_();
    };
    window_->setCentralWidget(canvasWidget_);

    buildMenus();
    buildControls();
    buildTimers();

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
        QString caption = qstr(d.caption);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));

        QAction* action = nullptr;
        if (hasChildren) {
            QMenu* menu = d.parent ? submenus_[index(*d.parent)]->addMenu(caption) : bar->addMenu(caption);
            submenus_[index(entry)] = menu;
            action = menu->menuAction();
        } else {
            action = d.parent ? submenus_[index(*d.parent)]->addAction(caption) : bar->addAction(caption);
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
        menus_[index(entry)] = {d.visible, d.enabled, d.checked};
        action->setVisible(d.visible);
        action->setEnabled(d.enabled);
        if (d.checked || groupOf(entry)) {
            action->setCheckable(true);
            action->setChecked(d.checked);
        }
    }
    for (const auto& group : radioGroups()) {
        auto* actionGroup = new QActionGroup(window_.get());
        actionGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        for (Menu entry : group) actionGroup->addAction(actions_[index(entry)]);
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
            case ControlKind::Label: {
                auto* label = new QLabel(caption, canvasWidget_);
                label->setAutoFillBackground(true);
                QPalette pal = label->palette();
                pal.setColor(QPalette::Window, QColor(labelGround));
                pal.setColor(QPalette::WindowText, d.colour ? toColor(*d.colour) : QColor(Qt::white));
                label->setPalette(pal);
                label->setFont(fittedFont(caption, area.width() - 2));
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                label->setIndent(1);
                widget = label;
                break;
            }
            case ControlKind::TextBox: {
                auto* box = new QLineEdit(caption, canvasWidget_);
                const int limit = d.maxLength;
                if (limit > 0) box->setMaxLength(limit);
                if (control == Control::Text3) box->setReadOnly(true);
                box->setFont(controlFont(controlFontPixels, QFont::SemiCondensed));
                box->setTextMargins(0, 0, 0, 0);
                QObject::connect(box, &QLineEdit::textChanged, window_.get(), [this, control, box, limit](const QString& now) {
                    // A longer text set by the program lifts the limit until the text is short again.
                    if (limit > 0 && now.size() <= limit && box->maxLength() != limit) box->setMaxLength(limit);
                    postControl(EventKind::TextChange, control);
                });
                box->installEventFilter(relay_);
                relay_->textBoxes.emplace_back(box, control);
                widget = box;
                break;
            }
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
                auto* box = new QCheckBox(caption, canvasWidget_);
                box->setAutoFillBackground(true);
                QPalette pal = box->palette();
                pal.setColor(QPalette::Window, QColor(Qt::white));
                if (d.colour) pal.setColor(QPalette::WindowText, toColor(*d.colour));
                box->setPalette(pal);
                box->setFont(fittedFont(caption, area.width() - 20));
                QObject::connect(box, &QCheckBox::clicked, window_.get(), [this, control, box] {
                    state(control).check = box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::Unchecked ? 0 : 2;
                    postControl(EventKind::Click, control);
                });
                widget = box;
                break;
            }
            case ControlKind::PictureBox: {
                auto* picture = new QLabel(canvasWidget_);
                picture->setFrameStyle(QFrame::Box | QFrame::Plain);
                picture->setLineWidth(1);
                picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                picture->setPixmap(QPixmap::fromImage(animationPicture_));
                widget = picture;
                break;
            }
            case ControlKind::Window: break;
        }
        if (!widget) continue;
        widget->setGeometry(area);
        widget->hide();
        ControlState& s = state(control);
        s.widget = widget;
        s.left = d.left;
    }
    state(Control::Form).left = design(Control::Form).left;

    const auto& order = tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(widget(order[i - 1]), widget(order[i]));

    for (Control c : {Control::File1, Control::File2}) refreshList(c);
}

void QtPlatform::buildTimers() {
    const std::array<int, 2> launch{timer1LaunchInterval, timer2LaunchInterval};
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        Timer& t = timers_[i];
        t.qtimer = new QTimer(window_.get());
        t.qtimer->setTimerType(Qt::PreciseTimer);
        t.qtimer->setSingleShot(false);
        t.interval = launch[i];
        t.qtimer->setInterval(std::max(t.interval, 1));
        const auto id = static_cast<TimerId>(i);
        QObject::connect(t.qtimer, &QTimer::timeout, window_.get(), [this, id] { timerFired(id); });
    }
}

void QtPlatform::showWindow(int timeoutMs) {
    window_->show();
    window_->raise();
    window_->activateWindow();
    waitUntil([this] { return window_->windowHandle() && window_->windowHandle()->isExposed(); }, timeoutMs);
    canvasWidget_->setFocus(Qt::ActiveWindowFocusReason);
    QCoreApplication::processEvents();
}

QWidget* QtPlatform::canvasWidget() const { return canvasWidget_; }

QWidget* QtPlatform::widget(Control control) const {
    return control == Control::Form ? canvasWidget_ : state(control).widget;
}

qt::FileListWidget* QtPlatform::list(Control control) const {
    return design(control).kind == ControlKind::FileList ? static_cast<qt::FileListWidget*>(state(control).widget)
                                                         : nullptr;
}

QLineEdit* QtPlatform::textBox(Control control) const {
    return design(control).kind == ControlKind::TextBox ? static_cast<QLineEdit*>(state(control).widget) : nullptr;
}

// --- events ---

void QtPlatform::post(const Event& event) {
    if (!ended_) queue_.push_back(event);
}

void QtPlatform::postControl(EventKind kind, Control control, int key, int shift) {
    Event e;
    e.kind = kind;
    e.control = control;
    e.key = key;
    e.shift = shift;
    post(e);
}

void QtPlatform::yield(bool mayWait) {
    if (ended_) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (mayWait && queue_.empty() && !ended_)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // Events that handlers queue while these run wait for the next yield.
    for (std::size_t n = queue_.size(); n > 0 && !queue_.empty() && !ended_; --n) {
        const Event event = queue_.front();
        queue_.pop_front();
        if (event.kind == EventKind::TimerTick) {
            Timer& t = timers_[index(event.timer)];
            t.pending = false;
            if (!t.enabled) continue;
        }
        if (sink_) sink_->dispatch(event);
    }
    if (afterYield) afterYield();
    if (!ended_ && stopWhen && stopWhen()) end();
}

void QtPlatform::end() {
    ended_ = true;
    queue_.clear();
    for (Timer& t : timers_) {
        t.pending = false;
        if (t.qtimer) t.qtimer->stop();
    }
}

// --- timers ---

void QtPlatform::timerFired(TimerId id) {
    Timer& t = timers_[index(id)];
    if (ended_ || !t.enabled || t.pending) return;  // at most one tick waits per timer
    t.pending = true;
    Event e;
    e.kind = EventKind::TimerTick;
    e.timer = id;
    post(e);
}

void QtPlatform::startCountdown(TimerId id) {
    Timer& t = timers_[index(id)];
    if (t.interval > 0 && !ended_)
        t.qtimer->start(t.interval);  // (re)starts the countdown
    else
        t.qtimer->stop();  // interval 0 gives no ticks
}

void QtPlatform::dropTicks(TimerId id) {
    timers_[index(id)].pending = false;
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [id](const Event& e) { return e.kind == EventKind::TimerTick && e.timer == id; }),
                 queue_.end());
}

void QtPlatform::setTimerInterval(TimerId id, int milliseconds) {
    Timer& t = timers_[index(id)];
    // The same interval again leaves a running countdown alone (QTimer::setInterval would restart it).
    if (t.interval == milliseconds) return;
    t.interval = std::max(milliseconds, 0);
    if (t.enabled) startCountdown(id);
}

void QtPlatform::setTimerEnabled(TimerId id, bool enabled) {
    Timer& t = timers_[index(id)];
    if (enabled) {
        if (t.enabled) return;
        t.enabled = true;
        startCountdown(id);
    } else {
        t.enabled = false;
        t.qtimer->stop();
        dropTicks(id);
    }
}

// --- window ---

void QtPlatform::setCaption(const std::string& caption) {
    caption_ = caption;
    window_->setWindowTitle(qstr(caption));
}

int QtPlatform::clientWidth() const { return canvasWidget_->width(); }
int QtPlatform::clientHeight() const { return canvasWidget_->height(); }

void QtPlatform::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done()) return;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Not every awaited change comes with a resize, so look again now and then too.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    onResize_ = [&] {
        if (done()) loop.quit();
    };
    timeout.start(timeoutMs);
    poll.start(10);
    loop.exec();
    onResize_ = nullptr;
}

void QtPlatform::maximize() {
    const QSize before = canvasWidget_->size();
    if (window_->isVisible() && window_->isMaximized() && before == maximizedSize_) return;

    window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    if (!window_->isVisible()) window_->show();
    const auto changed = [&] { return canvasWidget_->size() != before; };
    // A window manager maximizes asynchronously.
    waitUntil(changed, 300);
    if (!changed()) {
        // Nobody acted on the request (no window manager): take the screen's free area ourselves.
        if (QScreen* screen = window_->screen()) {
            const QRect area = screen->availableGeometry();
            const QRect frame = window_->frameGeometry();
            const QRect inner = window_->geometry();
            const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                                   frame.right() - inner.right(), frame.bottom() - inner.bottom());
            window_->setGeometry(area.marginsRemoved(margins));
            waitUntil(changed, 300);
        }
    }
    QCoreApplication::processEvents();
    canvas_.ensureSize(clientWidth(), clientHeight());
    maximizedSize_ = canvasWidget_->size();
}

// --- drawing and pictures ---

void QtPlatform::repaint(const QRect& area) {
    if (!area.isEmpty()) canvasWidget_->update(area);
}

void QtPlatform::fillBox(int x1, int y1, int x2, int y2, int colour) {
    canvas_.ensureSize(clientWidth(), clientHeight());
    repaint(canvas_.fillBox(x1, y1, x2, y2, colour));
}

bool QtPlatform::copyPicture(PictureId picture, int dx, int dy, int w, int h, int sx, int sy) {
    canvas_.ensureSize(clientWidth(), clientHeight());
    const QImage& source = picture == PictureId::Window ? windowPicture_ : animationPicture_;
    const QRect drawn = canvas_.copy(source, dx, dy, w, h, sx, sy);
    repaint(drawn);
    return !drawn.isEmpty();
}

bool QtPlatform::loadPicture(const std::string& file) {
    const auto path = workdir_.find(file);
    if (!path) return false;
    auto picture = loadPictureFile(toQPath(*path));
    if (!picture) return false;
    windowPictureOriginal_ = std::move(*picture);
    windowPicture_ = toCanvasFormat(windowPictureOriginal_);
    canvas_.ensureSize(clientWidth(), clientHeight());
    repaint(canvas_.showPicture(windowPicture_));
    return true;
}

bool QtPlatform::savePicture(PictureId picture, const std::string& file) {
    if (!isPlainName(file)) return false;
    const std::filesystem::path target = workdir_.find(file).value_or(workdir_.path() / file);
    return saveBmp8(picture == PictureId::Window ? windowPictureOriginal_ : animationPictureOriginal_, toQPath(target));
}

int QtPlatform::pictureOuterWidth() const { return design(Control::Picture1).width / twipsPerPixel; }
int QtPlatform::pictureOuterHeight() const { return design(Control::Picture1).height / twipsPerPixel; }

// --- controls ---

void QtPlatform::setVisible(Control control, bool visible) {
    ControlState& s = state(control);
    s.visible = visible;
    if (!s.widget) return;
    if (visible) {
        s.widget->show();
        s.widget->raise();
        return;
    }
    const QWidget* focus = window_->focusWidget();
    const bool hadFocus = focus && (focus == s.widget || s.widget->isAncestorOf(focus));
    s.widget->hide();
    if (hadFocus) canvasWidget_->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::setLeft(Control control, int twips) {
    ControlState& s = state(control);
    s.left = twips;
    if (s.widget) s.widget->move(twips / twipsPerPixel, s.widget->y());
}

std::string QtPlatform::text(Control control) const {
    if (const QLineEdit* box = textBox(control)) return box->text().toStdString();
    return state(control).text;
}

void QtPlatform::setText(Control control, const std::string& text) {
    if (QLineEdit* box = textBox(control)) {
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
    if (auto* label = qobject_cast<QLabel*>(s.widget); label && control != Control::Picture1)
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(s.widget))
        button->setText(caption);
    postControl(EventKind::TextChange, control);
}

void QtPlatform::setCheckValue(Control control, int value) {
    ControlState& s = state(control);
    s.check = value;
    if (auto* box = qobject_cast<QCheckBox*>(s.widget)) {
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
    menus_[index(entry)].visible = visible;
    actions_[index(entry)]->setVisible(visible);
}

void QtPlatform::setMenuEnabled(Menu entry, bool enabled) {
    menus_[index(entry)].enabled = enabled;
    actions_[index(entry)]->setEnabled(enabled);
}

void QtPlatform::setMenuChecked(Menu entry, bool checked) {
    menus_[index(entry)].checked = checked;
    QAction* action = actions_[index(entry)];
    if (checked && !action->isCheckable()) action->setCheckable(true);
    action->setChecked(checked);
}

void QtPlatform::showChecks(Menu entry) {
    const auto* group = groupOf(entry);
    const std::vector<Menu> entries = group ? *group : std::vector<Menu>{entry};
    // Unmarks first, so that an exclusive group ends with the marks the game set.
    for (Menu m : entries)
        if (!menus_[index(m)].checked) actions_[index(m)]->setChecked(false);
    for (Menu m : entries)
        if (menus_[index(m)].checked) actions_[index(m)]->setChecked(true);
}

double QtPlatform::timeOfDay() const { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

}  // namespace pelorix
