// SPDX-License-Identifier: MIT
// The note that shows the way to pictures while the picture lists are shown and both are empty.
#pragma once

#include <QLabel>

namespace pelorix::qt {

// A note in the manner of the drop note, on the board below `under` (the Begin button's place):
// that pictures come by dropping picture files onto the window, and that the Pelorix folder holds
// samples. Presses pass through it to the board. Owned by `board`.
class EmptyFolderNote final : public QLabel {
public:
    EmptyFolderNote(QWidget* board, const QRect& under);

    // Shows the note while a picture list is shown and neither list has an entry; hides it else.
    void follow(bool listsShown, bool listsEmpty);
};

}  // namespace pelorix::qt
