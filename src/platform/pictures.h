// Picture files: loading by content with a size cap, the built-in pictures, and 8-bit BMP writing.
#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace pelorix {

// Largest picture, in pixels, that a file may hold; larger ones are refused before decoding.
inline constexpr long long maxPicturePixels = 64LL * 1024 * 1024;

// Loads a picture file, deciding the format by its content, not its name. Empty result: the file
// is missing, unreadable, not a picture, or larger than `maxPicturePixels`.
std::optional<QImage> loadPictureFile(const QString& path);
// The same for a picture held in memory.
std::optional<QImage> loadPictureData(const QByteArray& data);

// The built-in pictures compiled into the program: the 800 × 600 window picture and the
// 267 × 236 moving picture, both 256-colour.
QImage builtinWindowPicture();
QImage builtinAnimationPicture();

// Writes `picture` as an uncompressed 8-bit BMP with a 256-entry palette (pictures with more
// colours are reduced first). Returns false if the file cannot be written.
bool saveBmp8(const QImage& picture, const QString& path);
// The bytes such a file holds; empty for a null picture.
QByteArray encodeBmp8(const QImage& picture);

}  // namespace pelorix
