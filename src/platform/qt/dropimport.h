// Pictures dropped on the window from a file manager are copied into the working folder.
#pragma once

#include <QObject>

class QDropEvent;
class QWidget;

namespace pelorix {

class QtPlatform;

namespace qt {

// Watches the board and the controls on it for drags of local files. A drop copies each file that
// loads as a picture into the working folder (`importPicture`), then re-reads the file lists so an
// open list shows the new names at once. Nothing reaches the game: the puzzle in play is untouched.
class DropImport final : public QObject {
public:
    // Watches `board` and its child widgets; owned by `board`.
    DropImport(QtPlatform& platform, QWidget* board);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drop(QDropEvent& event);

    QtPlatform& platform_;
};

}  // namespace qt
}  // namespace pelorix
