// SPDX-License-Identifier: MIT
// Picture files: loading by content with a size cap, the built-in pictures, and 8-bit BMP writing.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>

namespace pelorix {

struct JpegFrame;

// Largest picture, in pixels, that a file may hold; larger ones are refused before decoding.
inline constexpr long long maxPicturePixels = 64LL * 1024 * 1024;

// The largest photo every load takes, however small the screen: what cameras and editors write,
// baseline or progressive. A picture of at most this many pixels may cost what the worst such
// JPEG costs, if that is more than its screen's budget: every pixel in three full-resolution
// components of two-byte coefficients held whole, plus 32 MiB for the rest.
inline constexpr long long largestPhotoPixels = 50'000'000;
inline constexpr long long largestPhotoBudget = largestPhotoPixels * 3 * 2 + (32LL << 20);

// A common desktop screen: the area decodes are budgeted for where no screen can be asked (an
// import from the command line) or where the window is smaller than any screen (a saver preview).
inline constexpr QSize commonScreenArea(1920, 1080);

// The largest free area of this machine's screens: what a window could ever show. Empty when there
// is no screen, or no GUI application to ask.
QSize largestScreenArea();

// Bytes a decode may allocate for a screen of `shown` pixels (six screens of 64-bit pixels, at
// least 32 MiB), or `largestPhotoBudget` for a picture of at most `largestPhotoPixels` if that is
// more; larger decodes are refused.
long long pictureDecodeBudget(QSize shown);

// Why a picture was refused.
enum class PictureFault {
    none,
    unreadable,  // missing, not a regular file, or its reading failed
    notPicture,  // no format reads its header
    damaged,     // the header reads, but the data does not decode whole: cut short or corrupt
    tooCostly,   // past `maxPicturePixels` or the decode budget, or more scans than `countedScans`
};

// A picture is shown upright, as its orientation tag says (a picture without one as stored),
// and only ever seen from its top-left corner through a window no larger than `shown`
// (the largest screen area). Loading decodes only that part where the format allows (JPEG by a
// clipped read, PNG by reading no rows below it) and keeps only that part, so a huge or hostile
// file costs memory and time in proportion to the screen, not to what its header claims. The
// pixels kept are exactly those a whole decode gives there.
//
// Loads a picture file, deciding the format by its content, not its name; `path` is used as raw
// bytes. Empty result: the file is missing, not a regular file, unreadable, not a picture (its
// header does not read), damaged (its data does not decode whole), larger than
// `maxPicturePixels`, or what must be decoded exceeds `pictureDecodeBudget(shown)` (for a JPEG,
// counting what its decoder allocates for the whole picture, however little is kept) or takes
// more passes than a whole file needs. `fault`, when given, tells which.
//
// `shown` is in window units, and the picture comes back at `ratio` device pixels per unit: a
// picture that records its own density (`recordedDensity`) is read at the density it records,
// every other picture at one pixel per unit; either is then scaled once to the ratio (a JPEG
// that is shown whole is decoded already reduced), so drawing it never scales. At ratio 1 a
// picture without the marker comes back exactly as stored.
std::optional<QImage> loadPictureFile(const std::filesystem::path& path, QSize shown, PictureFault* fault = nullptr,
                                      double ratio = 1);
// The same for a picture held in memory.
std::optional<QImage> loadPictureData(const QByteArray& data, QSize shown, PictureFault* fault = nullptr,
                                      double ratio = 1);

// Loads a picture turned upright by its orientation tag, scaled keeping its proportions just to
// cover `area` (smaller pictures are scaled up) and cut to exactly `area` around its centre.
// Decoding stays bounded: a larger JPEG is decoded already reduced by its decoder, never below
// the cover size; other formats are decoded whole. Empty as for `loadPictureFile`, and when the
// area is empty or larger than `maxPicturePixels`, or what must be decoded, scaled and cut
// exceeds `pictureDecodeBudget` of the larger of `area` and `budgetArea`.
std::optional<QImage> loadCoveringFile(const std::filesystem::path& path, QSize area, QSize budgetArea,
                                       PictureFault* fault = nullptr);
std::optional<QImage> loadCoveringData(const QByteArray& data, QSize area, QSize budgetArea,
                                       PictureFault* fault = nullptr);
// The same at the finest density, from 1 to `finest` pixels per unit of `area`, that the picture
// has the pixels for without being enlarged (a smaller picture is taken at 1, scaled up to the
// area as above); `density` tells which, and the picture is `area` times it in size.
std::optional<QImage> loadFineCoveringData(const QByteArray& data, QSize area, QSize budgetArea, double finest,
                                           double& density, PictureFault* fault = nullptr);

// Bytes a decode for `loadFineCoveringData` costs for a JPEG of `frame`, before its orientation
// is known: the dearer of its two shapes, as stored or turned a quarter.
long long coveringJpegBytes(const JpegFrame& frame, QSize area, double finest);

// The built-in pictures compiled into the program: the 800 × 600 window picture and the
// 267 × 236 moving picture, both 256-colour.
QImage builtinWindowPicture();
QImage builtinAnimationPicture();

// The bytes of `picture` as an uncompressed 8-bit BMP with a 256-entry palette (pictures with
// more colours are reduced first); empty for a null picture.
QByteArray encodeBmp8(const QImage& picture);

}  // namespace pelorix
