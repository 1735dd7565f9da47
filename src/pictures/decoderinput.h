// SPDX-License-Identifier: MIT
// What a decoder is given to read: a picture file with its header replaced, handed over a little at
// a time where that makes the decoder check more.
#pragma once

#include <QByteArray>
#include <QIODevice>

namespace pelorix {

// Presents `head`, then the bytes of `inner` from `resumeAt` on, as one read-only file, never more
// than `largestRead` bytes a read. The inner device must outlive it.
class SplicedDevice final : public QIODevice {
public:
    SplicedDevice(QIODevice& inner, QByteArray head, qint64 resumeAt, qint64 largestRead);
    qint64 size() const override;

protected:
    qint64 readData(char* data, qint64 max) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& inner_;
    QByteArray head_;
    qint64 resumeAt_;
    qint64 largestRead_;
};

// Bytes in the header of a PNG file: its signature, then the IHDR chunk.
inline constexpr qint64 pngHeaderBytes = 33;

// The header of the non-interlaced PNG held by `device` with its height cut to `rows`, which makes
// its decoder inflate and keep only the top rows, exactly as in a whole decode; empty when
// `device` holds no such PNG. The device is put back where it stood.
QByteArray pngHeaderWithRows(QIODevice& device, int rows);

// Reads a JPEG's coded data no more than this at a time. Given more, the JPEG decoder takes a fast
// way through the data that passes over codes it cannot read without a word; given less, it reads
// every code carefully and reports each one that is bad.
inline constexpr qint64 carefulJpegRead = 500;

}  // namespace pelorix
