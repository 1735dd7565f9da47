// SPDX-License-Identifier: MIT
// The menus from the keyboard: each entry's underlined letter and shortcut, and F10.
#pragma once

#include <QKeySequence>
#include <QString>

#include "platform/ids.h"

class QMainWindow;

namespace pelorix::qt {

// The text of the entry's action: its designed caption with every '&' doubled (so Qt shows it as
// written) and a mnemonic mark before its underlined letter, if it has one. The mark is display
// only: stripped of it, the text is the caption exactly.
QString menuText(Menu entry);

// The entry's shortcut, shown beside it in its menu; empty for most entries. Qt lets a shortcut
// act only while its entry and every menu above it are shown and enabled, as a click could.
QKeySequence menuShortcut(Menu entry);

// Makes F10 open the first shown menu of the window's menu bar, whatever has the keys.
void openMenusOnF10(QMainWindow& window);

}  // namespace pelorix::qt
