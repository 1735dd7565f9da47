// Reduction of true-colour pictures to 256 colours and writing them as 8-bit BMP files.
#pragma once

#include <QImage>
#include <QString>

namespace pics {

// Builds a 256-colour palette for the picture (median cut refined by k-means) and maps
// every pixel onto it with Floyd-Steinberg error diffusion. The result is Format_Indexed8
// with exactly 256 colour-table entries.
QImage quantize256(const QImage& picture);

// Writes an indexed picture as an uncompressed BMP file: 8 bits per pixel, BI_RGB,
// a full 256-entry palette and bottom-up rows padded to four bytes.
bool writeBmp8(const QImage& indexed, const QString& path);

}  // namespace pics
