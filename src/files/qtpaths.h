// SPDX-License-Identifier: MIT
// File system paths as Qt names them and back, byte for byte.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <filesystem>

namespace pelorix::qt {

// A file system path as Qt names it, and back: the bytes are decoded and encoded as the file
// system's own, so names that are not valid UTF-8 survive the round trip.
inline QString toQPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}
inline std::filesystem::path fromQPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace pelorix::qt
