// Helpers shared by the Qt window's files: text and path conversion, design geometry, radio groups.
#pragma once

#include <QColor>
#include <QFile>
#include <QRect>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/design.h"

namespace pelorix::qt {

// Shown where nothing has been drawn.
inline constexpr unsigned windowBackground = 0xF0F0F0;

inline QString qstr(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

inline QString toQPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

inline QColor toColor(const Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// A control's design rectangle in pixels.
inline QRect pixels(const ControlDesign& d) {
    return {d.left / twipsPerPixel, d.top / twipsPerPixel, d.width / twipsPerPixel, d.height / twipsPerPixel};
}

// The radio groups of the menu tree: each handler checks its own entry and unchecks the others.
inline const std::vector<std::vector<Menu>>& radioGroups() {
    static const std::vector<std::vector<Menu>> groups{
        {Menu::prandom, Menu::pnrandom},
        {Menu::tslow, Menu::tfast},
        {Menu::usolve, Menu::csolve, Menu::csolves},
    };
    return groups;
}

// The radio group an entry belongs to; null for an entry in none.
inline const std::vector<Menu>* groupOf(Menu entry) {
    for (const auto& group : radioGroups())
        if (std::find(group.begin(), group.end(), entry) != group.end()) return &group;
    return nullptr;
}

}  // namespace pelorix::qt
