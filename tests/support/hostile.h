// SPDX-License-Identifier: MIT
// Hostile and large picture files made on the spot for tests and benchmarks: nothing of them is stored.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

namespace pelorix::testing {

// A picture whose every pixel differs from its neighbours, so that any shift or cut shows.
QImage patterned(int width, int height, QImage::Format format = QImage::Format_RGB32);
// `picture` encoded as `format` ("PNG", "JPG", "BMP", ...); `progressive` for JPEG.
QByteArray encoded(const QImage& picture, const char* format, int quality = -1, bool progressive = false);
// `jpeg` with an Exif segment whose orientation tag is `tag` (1-8), as a camera writes it.
QByteArray withOrientation(const QByteArray& jpeg, int tag);

// A PNG of width × height pixels that are all zero, written without ever holding them: the
// deflate stream repeats one long match, so a 64-megapixel picture takes a few hundred KB.
// `colourType` 0 grey, 2 RGB, 6 RGBA; `bitDepth` 8 or 16.
QByteArray zeroPng(int width, int height, int colourType = 0, int bitDepth = 8);
// A real JPEG of about 4 KB, baseline or progressive, whose frame header was changed to claim
// width × height.
QByteArray jpegClaiming(int width, int height, bool progressive = false);
// A real JPEG whose frame header reads but whose Huffman table that follows it is bogus, so the
// decoder's own header read fails: the kind of file fuzzing finds.
QByteArray jpegWithBogusHuffmanTable();
// An 8-bit run-length BMP claiming width × height, with about `bodyBytes` of runs.
QByteArray rleBmpClaiming(int width, int height, int bodyBytes);

// A progressive JPEG whose smallest scan is repeated until the file holds `scans` of them: each a
// pass of the decoder over the picture, so a small file costs much time.
QByteArray jpegRepeatingScans(int scans);
// A small GIF of one image, written here since Qt reads GIF but cannot write it.
QByteArray smallGif();
// A TIFF of width × height black pixels, RGB (`samples` 3) or grey (1), with the orientation tag
// `orientation` (6: to be turned a quarter right to show, as a camera stores it), its rows packed
// by PackBits without ever holding the pixels: 45 megapixels take a few MB. Only read where Qt's
// TIFF plugin is installed.
QByteArray zeroTiff(int width, int height, int samples, int orientation);

struct HostileFile {
    enum class Outcome {
        either,   // damaged data that may decode as a picture (a bit flipped in a pixel)
        loads,    // a valid picture
        refused,  // a header that cannot be read, or a decode past the budget of a 1280 × 800 screen
        damaged,  // refused as damaged: cut short, or data the decoder could not decode
    };
    std::string name;
    QByteArray bytes;
    Outcome outcome;
};
// Truncated (JPEGs down to their first two bytes), bit-flipped (JPEGs in their headers too),
// lying headers, decoder-failing JPEG headers, PNG bombs at and past the pixel cap, a 16-bit PNG and
// large valid pictures. `large` adds the biggest files (tens of megapixels).
std::vector<HostileFile> hostileSet(bool large);

}  // namespace pelorix::testing
