// SPDX-License-Identifier: MIT
// Telling a damaged picture file: the structure of BMP and GIF files, and what the JPEG decoder reports.
#pragma once

#include <QByteArray>

class QIODevice;

namespace pelorix {

// False when the file held by `device`, in the format `format` (as the image reader names it),
// ends before the data its own header promises: a BMP whose uncompressed rows run past the end, a
// GIF that ends before its trailer. Other formats, and what cannot be judged from the structure,
// count as whole. Puts the device back where it stood.
bool wholeByStructure(QIODevice& device, const QByteArray& format);

// Counts, while it lives, the JPEG decoder's warnings on this thread, taking them from the log
// rather than printing them. The decoder warns only for data it could not decode and made up
// instead (grey rows, an end it supplied itself), never for a file that is whole, so one warning
// means the picture is damaged. The count does not depend on the user's logging rules: the
// decoder's warnings are always produced, and outside a count they are printed only where those
// rules would have printed them.
class DecoderReports {
public:
    DecoderReports();
    ~DecoderReports();
    DecoderReports(const DecoderReports&) = delete;
    DecoderReports& operator=(const DecoderReports&) = delete;

    int damage = 0;

private:
    DecoderReports* outer_;  // an enclosing one on this thread, restored when this ends
};

}  // namespace pelorix
