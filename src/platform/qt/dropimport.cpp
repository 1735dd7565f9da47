// Pictures dropped on the window: the drag is accepted for local files, the drop imports them.
#include "platform/qt/dropimport.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "platform/design.h"
#include "platform/qt/pictureimport.h"
#include "platform/qt/qtplatform.h"
#include "platform/qt/widgets.h"

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

DropImport::DropImport(QtPlatform& platform, QWidget* board) : QObject(board), platform_(platform) {
    board->setAcceptDrops(true);
    board->installEventFilter(this);
    // Text boxes take drops of text themselves; a dropped file must never end up typed into one.
    for (QLineEdit* box : board->findChildren<QLineEdit*>()) box->installEventFilter(this);
}

bool DropImport::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (localFiles(drag->mimeData()).isEmpty()) return false;
            // Always a copy: the file manager must keep the user's original.
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* dropped = static_cast<QDropEvent*>(event);
            if (localFiles(dropped->mimeData()).isEmpty()) return false;
            drop(*dropped);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

void DropImport::drop(QDropEvent& event) {
    // Files that are not pictures are refused one by one; the window shows only what was added.
    bool added = false;
    for (const QString& file : localFiles(event.mimeData()))
        added = importPicture(file, platform_.workFolder()).outcome == ImportResult::Outcome::Added || added;
    event.setDropAction(Qt::CopyAction);
    event.accept();
    if (added) platform_.rereadFileLists();
}

}  // namespace qt
}  // namespace pelorix
