// SPDX-License-Identifier: MIT
// Keeps the window's picture lists in step with the working folder while the game runs.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace pelorix {

class QtPlatform;

namespace qt {

// Watches the working folder. When entries appear, leave or are renamed there (from a terminal, a
// file manager or a drop), both file lists are re-read a moment later (`QtPlatform::rereadFileLists`),
// keeping each list's selection; nothing reaches the game. Changes that come in a burst are taken
// in one re-read, at most `settleMs` after the first of them.
class FolderWatch final : public QObject {
public:
    static constexpr int settleMs = 250;

    // Watches `platform`'s working folder; owned by `parent`. A folder that cannot be watched (the
    // system's limit on watches reached) leaves the lists as the game reads them.
    FolderWatch(QtPlatform& platform, QObject* parent);

private:
    QtPlatform& platform_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace qt
}  // namespace pelorix
