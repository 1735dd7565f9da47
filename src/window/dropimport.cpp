// SPDX-License-Identifier: MIT
// Pictures dropped on the window: the drag is accepted for local files, the drop imports them and
// says how it went in a short note.
#include "window/dropimport.h"

#include <QDragMoveEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "platform/design.h"
#include "pictures/pictureimport.h"
#include "window/qtplatform.h"

namespace pelorix {

namespace qt {

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

}  // namespace

DropImport::DropImport(QtPlatform& platform, QWidget* board)
    : QObject(board), platform_(platform), board_(board), note_(new QLabel(board)) {
    setObjectName(QStringLiteral("dropimport"));
    board->setAcceptDrops(true);
    board->installEventFilter(this);
    // Text boxes take drops of text themselves; a dropped file must never end up typed into one.
    for (QLineEdit* box : board->findChildren<QLineEdit*>()) box->installEventFilter(this);

    // Looks like a tooltip; file names are shown as they are, never read as markup; clicks go
    // through it to the board, so the note never stands in the player's way.
    note_->setObjectName(QStringLiteral("dropnote"));
    note_->setTextFormat(Qt::PlainText);
    note_->setFrameShape(QFrame::Box);
    note_->setMargin(4);
    note_->setAutoFillBackground(true);
    note_->setBackgroundRole(QPalette::ToolTipBase);
    note_->setForegroundRole(QPalette::ToolTipText);
    note_->setAttribute(Qt::WA_TransparentForMouseEvents);
    note_->hide();
    noteTime_.setSingleShot(true);
    noteTime_.setInterval(noteMs);
    connect(&noteTime_, &QTimer::timeout, note_, &QWidget::hide);
}

bool DropImport::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (busy_) {
                drag->ignore();  // one drop at a time
                return true;
            }
            if (localFiles(drag->mimeData()).isEmpty()) return false;
            // Always a copy: the file manager must keep the user's original.
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* dropped = static_cast<QDropEvent*>(event);
            if (busy_) {
                dropped->ignore();
                return true;
            }
            if (localFiles(dropped->mimeData()).isEmpty()) return false;
            drop(*dropped, static_cast<QWidget*>(watched));
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

namespace {

// Swallows the user's input to every window while it lives: what is clicked or typed under the
// busy cursor is dropped, never delivered later, when it would act on a board the user no longer
// saw (a toolkit's own "exclude user input" only holds such events back).
class InputHold final : public QObject {
public:
    InputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHold() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::Wheel:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::ContextMenu:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

QList<ImportResult> DropImport::importOffThread(const QStringList& files, QSize board) {
    // The pictures are prepared on a thread of their own while this one goes on painting and
    // answering the window system; input made meanwhile is dropped, so nothing the user does
    // can reach the game, or start another drop, in the middle of it or after it.
    QList<ImportResult> results;
    const std::filesystem::path folder = platform_.workFolder();
    const QSize shownArea = importBudgetArea();
    const FileCalls calls = platform_.fileCalls();
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (const QString& file : files) results << importPicture(file, folder, board, shownArea, calls);
    }));
    QEventLoop wait;
    connect(worker.get(), &QThread::finished, &wait, &QEventLoop::quit);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    {
        const InputHold hold;
        worker->start();
        wait.exec();
        worker->wait();
    }
    QGuiApplication::restoreOverrideCursor();
    return results;
}

void DropImport::drop(QDropEvent& event, QWidget* target) {
    // Files that are not pictures are refused one by one; the note tells of each file.
    bool added = false;
    QStringList lines;
    const QStringList files = localFiles(event.mimeData());
    // Each picture is prepared for the board the user dropped it on, as large as it is now.
    QSize board(platform_.clientWidth(), platform_.clientHeight());
    if (board.isEmpty()) board = QSize(launchClientWidth, launchClientHeight);
    busy_ = true;
    for (const ImportResult& result : importOffThread(files, board)) {
        added = added || result.outcome == ImportResult::Outcome::Added;
        if (lines.size() < mostNoteLines) lines << result.message;
    }
    busy_ = false;
    if (files.size() > lines.size()) lines << QStringLiteral("and %1 more").arg(files.size() - lines.size());
    // The source learns whether the drop did anything: "copy" when the folder got a file, and a
    // drop not taken when every file was refused.
    event.setDropAction(added ? Qt::CopyAction : Qt::IgnoreAction);
    event.setAccepted(added);
    if (added) platform_.rereadFileLists();
    showNote(target->mapTo(board_, event.position().toPoint()), lines);
}

void DropImport::showNote(QPoint at, const QStringList& lines) {
    note_->setText(lines.join(QLatin1Char('\n')));
    note_->adjustSize();
    at.setX(std::max(0, std::min(at.x(), board_->width() - note_->width())));
    at.setY(std::max(0, std::min(at.y(), board_->height() - note_->height())));
    note_->move(at);
    note_->show();
    note_->raise();
    noteTime_.start();
}

}  // namespace qt
}  // namespace pelorix
