// SPDX-License-Identifier: MIT
// A spliced, small-read view of a picture file, and the PNG header that makes its decoder stop early.
#include "pictures/decoderinput.h"

#include <algorithm>

namespace pelorix {

namespace {

quint32 crc32(const char* data, qsizetype size) {
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBigEndian(QByteArray& bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}

}  // namespace

SplicedDevice::SplicedDevice(QIODevice& inner, QByteArray head, qint64 resumeAt, qint64 largestRead)
    : inner_(inner), head_(std::move(head)), resumeAt_(resumeAt), largestRead_(std::max<qint64>(largestRead, 1)) {
    // Unbuffered, so that each read of the decoder is one read here, no larger than allowed.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 SplicedDevice::size() const { return head_.size() + std::max<qint64>(inner_.size() - resumeAt_, 0); }

qint64 SplicedDevice::readData(char* data, qint64 max) {
    const qint64 at = pos();
    max = std::min(max, largestRead_);
    if (at < head_.size()) {
        const qint64 count = std::min<qint64>(max, head_.size() - at);
        std::copy_n(head_.constData() + at, count, data);
        return count;
    }
    if (!inner_.seek(at - head_.size() + resumeAt_)) return -1;
    return inner_.read(data, max);
}

QByteArray pngHeaderWithRows(QIODevice& device, int rows) {
    const qint64 was = device.pos();
    if (!device.seek(0)) return {};
    const QByteArray header = device.read(pngHeaderBytes);
    device.seek(was);
    if (header.size() != pngHeaderBytes || !header.startsWith("\x89PNG\r\n\x1a\n") || header.mid(12, 4) != "IHDR")
        return {};
    if (header[28] != 0) return {};  // interlaced rows are spread over the whole file
    QByteArray patched = header;
    putBigEndian(patched, 20, static_cast<quint32>(rows));
    putBigEndian(patched, 29, crc32(patched.constData() + 12, 17));
    return patched;
}

}  // namespace pelorix
