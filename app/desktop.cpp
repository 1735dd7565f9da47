// SPDX-License-Identifier: MIT
// The program's window icon: the icon theme's, else the sizes built into the program.
#include "app/desktop.h"

#include <QDir>
#include <QDirIterator>

namespace pelorix::app {

QIcon windowIcon() {
    QIcon builtIn;
    // One file a size, in folders named as the theme's (16x16, ...).
    QDirIterator sizes(QStringLiteral(":/icons"), {appId + QStringLiteral(".png")}, QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext()) builtIn.addFile(sizes.next());
    return QIcon::fromTheme(appId, builtIn);
}

}  // namespace pelorix::app
