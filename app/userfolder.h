// SPDX-License-Identifier: MIT
// The user's Pelorix folder: where it is, creating it, and seeding it with the sample pictures.
#pragma once

#include <QStringList>
#include <filesystem>

namespace pelorix::app {

// "Pelorix" inside the user's Pictures folder; where the user has no Pictures folder, "Pelorix"
// inside the application's data folder (~/.local/share/pelorix). Creates nothing.
std::filesystem::path pelorixFolderPath();

// The folder of the sample pictures, found from the program's own folder: installed,
// `<prefix>/share/pelorix/samples` beside `<prefix>/bin`; in the build tree, `share/pelorix/samples`
// inside the program's folder. Empty when neither exists or no QCoreApplication exists yet.
std::filesystem::path samplesFolder();

// True when `folder` holds a picture the game lists: a file named "*.regular_picture" or
// "*.animation_picture", in any case.
bool holdsPictures(const std::filesystem::path& folder);

struct SeedResult {
    bool ok = false;         // the folder exists (made now or before) and is a folder
    bool created = false;    // the folder was made by this call
    QStringList copied;      // sample files copied in by this call
    QString message;         // why `ok` is false
};

// Makes `folder` (and its parents) if it is missing and, only then, copies in each sample file of
// `samples`. A folder that already exists is left as it is: nothing is added, replaced or deleted.
// A name taken meanwhile (compared without regard to case) is not copied over.
SeedResult preparePelorixFolder(const std::filesystem::path& folder, const std::filesystem::path& samples);

}  // namespace pelorix::app
