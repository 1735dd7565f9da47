// SPDX-License-Identifier: MIT
// `pelorix --add FILE...`: the picture import run from the command line.
#pragma once

#include <QStringList>
#include <QTextStream>
#include <filesystem>

namespace pelorix::app {

// Adds each of `files` to `folder` as a regular picture prepared for the 754 × 385 board of the
// window as it opens. Writes one line per file: to `out` for a file added (or already there), to
// `err` for a file refused. Returns the exit status: 0 when every file was added or already
// there, 1 when any was refused.
int addPictures(const QStringList& files, const std::filesystem::path& folder, QTextStream& out, QTextStream& err);

}  // namespace pelorix::app
