// SPDX-License-Identifier: MIT
// Adding pictures to a working folder: safe new-file copies and the import of a picture file.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <filesystem>

#include "files/safefiles.h"
#include "platform/design.h"

namespace pelorix {

// Largest file, in bytes, that an import reads; bigger files are refused before reading.
inline constexpr long long maxImportBytes = 256LL * 1024 * 1024;
// The quality of the JPEG an import stores: close to the photo, at a fraction of its size.
inline constexpr int preparedJpegQuality = 90;

// True when `folder` holds an entry named `name`, compared without regard to case (the game
// matches picture names that way); a symbolic link counts even when it points nowhere.
bool nameTakenIgnoringCase(const std::filesystem::path& folder, const std::string& name);

struct ImportResult {
    enum class Outcome {
        Added,         // prepared and written as `name`
        AlreadyThere,  // the file is already one of the folder's regular pictures
        NotPicture,    // the file is not a picture, is damaged, or is too large to prepare (the message says which)
        Unreadable,    // missing, not a plain file, unreadable or larger than `maxImportBytes`
        WriteFailed,   // the folder refused the new file, or the prepared picture did not encode
    };
    Outcome outcome = Outcome::Unreadable;
    QString name;     // the new file's name (Added) or the existing one (AlreadyThere)
    QString message;  // one line for the user, e.g. "added beach.regular_picture"
};

// The file name an import of `source` would take first: the source's name less its last suffix,
// plus ".regular_picture" ("beach.jpg" gives "beach.regular_picture"). Leading dots are dropped
// so the copy is never hidden; control characters become "_"; an empty stem becomes "picture".
QString importName(const QString& sourceFileName);

// The name with a number added, for the n-th try (n >= 2): "beach 2.regular_picture".
QString numberedName(const QString& name, int n);

// Adds the picture file `source` to `folder` as a new regular picture prepared for a board of
// `area` window units (`source` is the file's name byte for byte): turned upright by its orientation tag, scaled keeping its proportions just
// to cover the area and cut to exactly the area around its centre, at `preparedDensity` pixels
// per unit where the original has them, else at the finest density it has (down to 1, below which
// it is scaled up); stored as a JPEG of `preparedJpegQuality`, or as a PNG when it has transparent
// pixels, recording its density (`recordDensity`). The
// source must load as a picture first (decoded once, at a cost budgeted for a screen of
// `shownArea`); the source file is only read. A taken name gets a number; nothing in the folder is
// ever overwritten; the new file is written through `calls` (`createNewFile`). With `shownArea`
// given, it may run on any thread; left empty, it is the largest screen's area, which only the GUI
// thread may ask for.
ImportResult importPicture(const std::filesystem::path& source, const std::filesystem::path& folder,
                           QSize area = QSize(launchClientWidth, launchClientHeight), QSize shownArea = {},
                           const FileCalls& calls = FileCalls::posix());
// The same for a file named as Qt names it.
ImportResult importPicture(const QString& source, const std::filesystem::path& folder,
                           QSize area = QSize(launchClientWidth, launchClientHeight), QSize shownArea = {},
                           const FileCalls& calls = FileCalls::posix());
// The area `importPicture` budgets for when none is given: the largest screen's, or a common
// screen's where there is none. GUI thread only.
QSize importBudgetArea();

}  // namespace pelorix
