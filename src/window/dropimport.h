// SPDX-License-Identifier: MIT
// Pictures dropped on the window from a file manager are copied into the working folder.
#pragma once

#include <QObject>
#include <QList>
#include <QTimer>

#include "pictures/pictureimport.h"

class QDropEvent;
class QLabel;
class QWidget;

namespace pelorix {

class QtPlatform;

namespace qt {

// Watches the board and the controls on it for drags of local files. A drop adds each file that
// loads as a picture to the working folder, prepared for the window's client area as it is at the
// drop (`importPicture`, off the window's thread, under a busy cursor, the window answering and
// input made meanwhile dropped), then re-reads the file lists so an
// open list shows the new names at once, and shows the import's message for each file in a note
// at the drop point for `noteMs`. Nothing reaches the game: the puzzle in play, the caption and the
// controls are untouched. The drag source hears "copy" only when a file was added.
class DropImport final : public QObject {
public:
    static constexpr int noteMs = 2000;
    // A drop of more files notes the first ones and how many more there were.
    static constexpr int mostNoteLines = 6;

    // Watches `board` and its child widgets; owned by `board`.
    DropImport(QtPlatform& platform, QWidget* board);

    // How long a note stays, in milliseconds (`noteMs` unless set): for tests that need not wait.
    void setNoteTime(int milliseconds) { noteTime_.setInterval(milliseconds); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drop(QDropEvent& event, QWidget* target);
    // Imports `files` for a board of `board` pixels on a thread of its own, this one answering the
    // window system meanwhile under a busy cursor; the results in the order of the files.
    QList<ImportResult> importOffThread(const QStringList& files, QSize board);
    // Shows `lines` with the note's top-left corner at `at` on the board, moved in so it fits.
    void showNote(QPoint at, const QStringList& lines);

    QtPlatform& platform_;
    QWidget* board_;
    QLabel* note_;
    QTimer noteTime_;
    bool busy_ = false;  // a drop is being imported
};

}  // namespace qt
}  // namespace pelorix
