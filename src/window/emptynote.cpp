// SPDX-License-Identifier: MIT
// The empty-folder note of the set-up screen and the picture panels.
#include "window/emptynote.h"

namespace pelorix::qt {

namespace {
// Room between the button above and the note.
constexpr int gapBelow = 12;
}  // namespace

EmptyFolderNote::EmptyFolderNote(QWidget* board, const QRect& under)
    : QLabel(QStringLiteral("No pictures here yet.\n"
                            "Drop picture files (JPEG, PNG, \u2026) onto this window to add them,\n"
                            "or start \u201cpelorix --user-folder\u201d to play the sample pictures."),
             board) {
    setObjectName(QStringLiteral("emptynote"));
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::Box);
    setMargin(4);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    adjustSize();
    move(under.left(), under.bottom() + gapBelow);
    hide();
}

void EmptyFolderNote::follow(bool listsShown, bool listsEmpty) {
    const bool wanted = listsShown && listsEmpty;
    if (wanted == isVisible()) return;
    setVisible(wanted);
    if (wanted) raise();
}

}  // namespace pelorix::qt
