// SPDX-License-Identifier: MIT
// Telling a damaged picture file: the structure of BMP and GIF files, and the JPEG decoder's warnings.
#pragma once

#include <QByteArray>

class QIODevice;

namespace pelorix {

// False when the file held by `device`, in the format `format` (as the image reader names it),
// ends before the data its own header promises: a BMP whose uncompressed rows run past the end, a
// GIF that ends before its trailer. Other formats, and what cannot be judged from the structure,
// count as whole. Puts the device back where it stood.
bool wholeByStructure(QIODevice& device, const QByteArray& format);

// Counts, while it lives, the warnings the JPEG decoder gives on this thread. The decoder warns
// only for data it could not decode and made up instead (grey rows, an end it supplied itself),
// never for a file that is whole, so one warning means the picture is damaged. The warnings are
// taken from the log rather than printed.
class JpegWarnings {
public:
    JpegWarnings();
    ~JpegWarnings();
    JpegWarnings(const JpegWarnings&) = delete;
    JpegWarnings& operator=(const JpegWarnings&) = delete;

    int count() const { return count_; }

private:
    int count_ = 0;
    int* outer_;  // the counter of an enclosing one on this thread, restored when this ends
};

}  // namespace pelorix
