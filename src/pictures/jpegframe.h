// SPDX-License-Identifier: MIT
// JPEG headers read without the decoder: what a file claims, and what decoding it would cost.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QtGlobal>
#include <optional>
#include <vector>

class QIODevice;

namespace pelorix {

// What a JPEG's markers say, as far as its first scan header.
struct JpegFrame {
    struct Component {
        int h = 1;  // horizontal and vertical sampling factors, 1-4
        int v = 1;
    };
    int width = 0;  // 1-65500 pixels each
    int height = 0;
    std::vector<Component> components;  // 1 (grey), 3 or 4
    // The decoder holds every coefficient of the whole picture until the last scan: progressive
    // files, and sequential ones whose first scan does not carry every component.
    bool wholePictureBuffers = false;
    // Bytes of the comment, Exif and colour profile segments before the first scan, which the
    // decoder keeps whole and then copies.
    long long metadataBytes = 0;
    // Bytes of the file after the first scan header. A decoder that takes in every scan before its
    // first row also keeps the metadata segments between scans, which these bound.
    long long laterBytes = 0;
    // The scans in the whole file, each a pass of the decoder over the picture (at most
    // `countedScans + 1`: counting stops there), and whether the image's end marker follows the
    // last of them, as it does in a file that is whole.
    int scans = 0;
    bool ended = false;
    // Where the first scan header ends in the file, and how many stray bytes (not part of any
    // segment) lie before it, which the decoder passes over with a warning.
    qint64 headerEnd = 0;
    long long strayBytes = 0;
    // Pixels per window unit, as a comment of a prepared picture records it before the first
    // scan ("Pelorix-Density: 4"); 1 for any other file.
    double density = 1;
};

// Scans past which counting stops: well above what any encoder writes (ten or so for progressive
// files), far below what a file built to waste the decoder's time holds.
inline constexpr int countedScans = 100;

// Reads the markers of the JPEG held by `device` from its start up to the first scan header, then
// walks the rest of the file for its scans and end marker, and puts the device back where it
// stood. Empty when the decoder could not read the file: a segment
// runs past the end or is malformed, no frame header precedes the first scan, the coding is one the
// decoder lacks (lossless, hierarchical, other than 8-bit) or a value is out of range (a size of 0
// or above 65500, 2 or more than 4 components, a sampling factor outside 1-4, a scan of unknown
// components).
std::optional<JpegFrame> readJpegFrame(QIODevice& device);

// The header of the JPEG held by `device`, read as `frame`, from its start to the end of the
// first scan header, less its stray bytes: what the decoder reads the same without a warning.
// Empty when it does not read as it did. Puts the device back where it stood.
QByteArray jpegHeaderWithoutStrays(QIODevice& device, const JpegFrame& frame);

// Bytes the decoder allocates to produce the top-left `kept` part of `frame` (in output pixels)
// after scaling it down by 1/`scale` in the transform (1, 2, 4 or 8): the whole-picture coefficient
// buffers and the segments between scans, which neither a clip nor a scale makes smaller, the
// metadata and its copies, the band buffers of the whole scaled width, and the picture kept
// (1 byte a pixel for grey, 4 for colour).
long long jpegDecodeBytes(const JpegFrame& frame, QSize kept, int scale = 1);

}  // namespace pelorix
