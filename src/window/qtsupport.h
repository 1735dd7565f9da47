// SPDX-License-Identifier: MIT
// Helpers shared by the Qt window's files: text conversion, design colours and geometry.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string_view>

#include "platform/design.h"

namespace pelorix::qt {

inline QString qstr(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

inline QColor toColor(const Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// A control's design rectangle in pixels.
inline QRect pixels(const ControlDesign& d) {
    return {d.left / twipsPerPixel, d.top / twipsPerPixel, d.width / twipsPerPixel, d.height / twipsPerPixel};
}

}  // namespace pelorix::qt
