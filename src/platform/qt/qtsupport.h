// SPDX-License-Identifier: MIT
// Helpers shared by the Qt window's files: text and path conversion, design geometry.
#pragma once

#include <QColor>
#include <QFile>
#include <QRect>
#include <QString>
#include <filesystem>
#include <string_view>

#include "platform/design.h"

namespace pelorix::qt {

inline QString qstr(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A file system path as Qt names it, and back: the bytes are decoded and encoded as the file
// system's own, so names that are not valid UTF-8 survive the round trip.
inline QString toQPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}
inline std::filesystem::path fromQPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

inline QColor toColor(const Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// A control's design rectangle in pixels.
inline QRect pixels(const ControlDesign& d) {
    return {d.left / twipsPerPixel, d.top / twipsPerPixel, d.width / twipsPerPixel, d.height / twipsPerPixel};
}

}  // namespace pelorix::qt
