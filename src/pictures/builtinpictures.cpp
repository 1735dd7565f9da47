// SPDX-License-Identifier: MIT
// The built-in pictures compiled into the program, and an exact 8-bit BMP writer for them.
#include <cstdint>
#include <vector>

#include "pictures/pictures.h"

namespace pelorix {

namespace {
QImage builtin(const char* path, QSize expected) {
    QImage picture(QString::fromLatin1(path));
    if (picture.isNull()) {
        // Only a broken build lacks the resources; a plain grey picture keeps the game usable.
        picture = QImage(expected, QImage::Format_Indexed8);
        picture.setColorCount(256);
        for (int i = 0; i < 256; ++i) picture.setColor(i, qRgb(i, i, i));
        picture.fill(192);
    }
    return picture;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
}  // namespace

QImage builtinWindowPicture() { return builtin(":/assets/title1.bmp", {800, 600}); }
QImage builtinAnimationPicture() { return builtin(":/assets/title2.bmp", {267, 236}); }

QByteArray encodeBmp8(const QImage& picture) {
    if (picture.isNull()) return {};
    QImage indexed = picture.format() == QImage::Format_Indexed8
                         ? picture
                         : picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const auto width = static_cast<std::uint32_t>(indexed.width());
    const auto height = static_cast<std::uint32_t>(indexed.height());
    const std::uint32_t stride = (width + 3) & ~3u;
    constexpr std::uint32_t headerBytes = 14 + 40 + 256 * 4;
    const std::uint32_t dataBytes = stride * height;

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + dataBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + dataBytes);
    put32(out, 0);
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, width);
    put32(out, height);  // positive: rows stored bottom-up
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);  // no compression
    put32(out, dataBytes);
    put32(out, 3780);  // 96 dots per inch
    put32(out, 3780);
    put32(out, 256);
    put32(out, 0);
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        out.push_back(static_cast<std::uint8_t>(qBlue(c)));
        out.push_back(static_cast<std::uint8_t>(qGreen(c)));
        out.push_back(static_cast<std::uint8_t>(qRed(c)));
        out.push_back(0);
    }
    for (std::uint32_t row = height; row-- > 0;) {
        const uchar* line = indexed.constScanLine(static_cast<int>(row));
        out.insert(out.end(), line, line + width);
        out.insert(out.end(), stride - width, 0);
    }

    return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

}  // namespace pelorix
