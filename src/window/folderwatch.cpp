// SPDX-License-Identifier: MIT
// The working folder watched for pictures added or removed by others, and the lists re-read to match.
#include "window/folderwatch.h"

#include <QSignalBlocker>
#include <algorithm>

#include "platform/design.h"
#include "window/qtplatform.h"
#include "files/qtpaths.h"
#include "window/qtsupport.h"
#include "window/widgets.h"

namespace pelorix {

namespace qt {

FolderWatch::FolderWatch(QtPlatform& platform, QObject* parent) : QObject(parent), platform_(platform) {
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { platform_.rereadFileLists(); });
    // Not restarted by later changes, so a folder that keeps changing still updates the lists.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!settle_.isActive()) settle_.start();
    });
    watcher_.addPath(qt::toQPath(platform.workFolder()));
}

}  // namespace qt

void QtPlatform::rereadFileLists() {
    for (Control control : {Control::File1, Control::File2}) {
        qt::FileListWidget* widget = list(control);
        if (!widget) continue;
        // The game's own writes (settings, the built-in pictures) change the folder too: a list
        // whose names stay the same is left as it is, scroll position and all.
        if (workdir_.list(design(control).pattern) == state(control).entries) continue;
        const int row = widget->selectedRow();
        const std::string picked = row >= 0 ? listEntry(control, row) : std::string();
        refreshList(control);
        if (picked.empty()) continue;
        const auto& entries = state(control).entries;
        const auto at = std::find(entries.begin(), entries.end(), picked);
        if (at == entries.end()) continue;
        // Selecting it again is the program's doing, not the user's: no click may be reported.
        const QSignalBlocker quiet(widget);
        widget->setCurrentRow(static_cast<int>(at - entries.begin()));
    }
}

}  // namespace pelorix
