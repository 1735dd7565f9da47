// Hostile and large picture files made on the spot for tests and benchmarks: nothing of them is stored.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

namespace pelorix::testing {

// A picture whose every pixel differs from its neighbours, so that any shift or cut shows.
QImage patterned(int width, int height, QImage::Format format = QImage::Format_RGB32);
// `picture` encoded as `format` ("PNG", "JPG", "BMP", ...).
QByteArray encoded(const QImage& picture, const char* format, int quality = -1);

// A PNG of width × height pixels that are all zero, written without ever holding them: the
// deflate stream repeats one long match, so a 64-megapixel picture takes a few hundred KB.
// `colourType` 0 grey, 2 RGB, 6 RGBA; `bitDepth` 8 or 16.
QByteArray zeroPng(int width, int height, int colourType = 0, int bitDepth = 8);
// A small real JPEG whose frame header was changed to claim width × height.
QByteArray jpegClaiming(int width, int height);
// An 8-bit run-length BMP claiming width × height, with about `bodyBytes` of runs.
QByteArray rleBmpClaiming(int width, int height, int bodyBytes);

struct HostileFile {
    std::string name;
    QByteArray bytes;
    bool mustLoad;  // a valid picture: it must load; the others may load or be refused
};
// Truncated, bit-flipped, lying headers, PNG bombs at and past the pixel cap, a 16-bit PNG and
// large valid pictures. `large` adds the biggest files (tens of megapixels).
std::vector<HostileFile> hostileSet(bool large);

}  // namespace pelorix::testing
