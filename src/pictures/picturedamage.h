// SPDX-License-Identifier: MIT
// Telling a damaged picture file: the structure of BMP and GIF files, and what the decoders report.
#pragma once

#include <QByteArray>

class QIODevice;

namespace pelorix {

// False when the file held by `device`, in the format `format` (as the image reader names it),
// ends before the data its own header promises: a BMP whose uncompressed rows run past the end, a
// GIF that ends before its trailer. Other formats, and what cannot be judged from the structure,
// count as whole. Puts the device back where it stood.
bool wholeByStructure(QIODevice& device, const QByteArray& format);

// Counts, while it lives, what the decoders report on this thread through the log, taking those
// reports from the log rather than printing them:
// - `damage`: the JPEG decoder's warnings. It warns only for data it could not decode and made up
//   instead (grey rows, an end it supplied itself), never for a file that is whole, so one warning
//   means the picture is damaged;
// - `overLimit`: pictures the image reader refused for its allocation limit, too costly rather
//   than damaged.
class DecoderReports {
public:
    DecoderReports();
    ~DecoderReports();
    DecoderReports(const DecoderReports&) = delete;
    DecoderReports& operator=(const DecoderReports&) = delete;

    int damage = 0;
    int overLimit = 0;

private:
    DecoderReports* outer_;  // an enclosing one on this thread, restored when this ends
};

}  // namespace pelorix
