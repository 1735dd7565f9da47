// SPDX-License-Identifier: MIT
// What the desktop knows the program by: its application id and its window icon.
#pragma once

#include <QIcon>
#include <QString>

namespace pelorix::app {

// The id the desktop entry, the AppStream metadata and the icon theme's files are named after.
inline const QString appId = QStringLiteral("io.github.pelorix.Pelorix");

// The icon of the installed theme, else the copy built into the program at each of the theme's
// sizes, so that task bars and window lists show it even when no launcher or theme names the
// program. Needs a GUI application.
QIcon windowIcon();

}  // namespace pelorix::app
