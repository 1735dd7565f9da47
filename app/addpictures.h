// SPDX-License-Identifier: MIT
// `pelorix --add FILE...`: the picture import run from the command line.
#pragma once

#include <QStringList>
#include <QTextStream>
#include <filesystem>
#include <vector>

namespace pelorix::app {

// Adds each of `files` (file system names, byte for byte) to `folder` as a regular picture prepared
// for the 754 × 385 board of the window as it opens. Writes one line per file: to `out` for a file
// added (or already there), to `err` for a file refused. Returns the exit status: 0 when every file
// was added or already there, 1 when any was refused.
int addPictures(const std::vector<std::filesystem::path>& files, const std::filesystem::path& folder, QTextStream& out,
                QTextStream& err);

// The file names `given` (command-line arguments as decoded, in their order) as the bytes the
// program was given in `argv`, made absolute from the current folder: a name that is not valid in
// the locale's encoding still names its file. A name not found among the arguments is encoded.
std::vector<std::filesystem::path> rawFileArguments(const QStringList& given, int argc, char** argv);

}  // namespace pelorix::app
