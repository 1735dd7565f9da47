// SPDX-License-Identifier: MIT
// Walks a JPEG's markers to its first scan, checking each value, and prices a decode from them.
#include "pictures/jpegframe.h"

#include <QIODevice>
#include <QString>
#include <algorithm>

#include "pictures/density.h"

namespace pelorix {

namespace {

constexpr int maxDimension = 65500;  // the decoder refuses anything larger
constexpr int startOfImage = 0xD8, endOfImage = 0xD9, startOfScan = 0xDA;
// Frame headers: the codings the decoder has (baseline, extended and progressive, with Huffman or
// arithmetic codes), and among the codes C0-CF three that are no frame header.
constexpr int baseline = 0xC0, extended = 0xC1, progressive = 0xC2, extendedArithmetic = 0xC9,
              progressiveArithmetic = 0xCA;
constexpr int firstFrame = 0xC0, lastFrame = 0xCF, huffmanTables = 0xC4, extension = 0xC8, arithmeticTables = 0xCC;
// Markers without a segment: the restart markers of coded data, and the temporary marker.
constexpr int firstRestart = 0xD0, lastRestart = 0xD7, temporary = 0x01;
// FF 00 in coded data is a data byte FF, not a marker.
constexpr int stuffedByte = 0x00;
constexpr int exif = 0xE1, colourProfile = 0xE2, comment = 0xFE;  // segments the decoder keeps

// Reads a header from where the device stands, byte by byte or a segment at a time.
class MarkerReader {
public:
    explicit MarkerReader(QIODevice& device) : device_(device) {}

    int byte() {
        char c = 0;
        return device_.getChar(&c) ? static_cast<unsigned char>(c) : -1;
    }
    // The next `count` bytes, or fewer at the end.
    QByteArray bytes(qint64 count) { return device_.read(count); }
    int word() {
        const int high = byte();
        const int low = byte();
        return high < 0 || low < 0 ? -1 : high << 8 | low;
    }
    qint64 left() const { return device_.size() - device_.pos(); }
    // False when fewer than `count` bytes are left.
    bool skip(qint64 count) {
        const qint64 to = device_.pos() + count;
        return to <= device_.size() && device_.seek(to);
    }
    // The next marker's code, or -1 at the end. Like the decoder, it passes over stray bytes
    // before a marker, fill bytes (FF) and stuffed data bytes (FF 00), counting the strays.
    int marker() {
        int b = byte();
        for (;;) {
            while (b >= 0 && b != 0xFF) {
                ++strays_;
                b = byte();
            }
            while (b == 0xFF) b = byte();
            if (b != 0) return b;
            strays_ += 2;
            b = byte();
        }
    }
    long long strays() const { return strays_; }
    qint64 pos() const { return device_.pos(); }

private:
    QIODevice& device_;
    long long strays_ = 0;
};

// The longest comment that can hold a density marker: the key, ": " and a value.
constexpr int longestDensityComment = 32;

// The density a comment records, or 0 when it is not a density marker.
double densityInComment(const QByteArray& text) {
    const QByteArray prefix = QByteArray(densityKey) + ": ";
    return text.startsWith(prefix) ? parseDensity(QString::fromLatin1(text.mid(prefix.size()))) : 0;
}

bool isFrameHeader(int code) {
    return code >= firstFrame && code <= lastFrame && code != huffmanTables && code != extension &&
           code != arithmeticTables;
}

bool standsAlone(int code) { return code == temporary || (code >= firstRestart && code <= lastRestart); }

// The frame header after its marker and length. Only the codings the decoder has: baseline,
// extended and progressive, with Huffman or arithmetic codes, 8 bits a sample.
bool readFrameHeader(MarkerReader& in, int code, int length, JpegFrame& frame, std::vector<int>& ids) {
    if (code != baseline && code != extended && code != progressive && code != extendedArithmetic &&
        code != progressiveArithmetic)
        return false;
    if (in.byte() != 8) return false;
    frame.height = in.word();
    frame.width = in.word();
    const int count = in.byte();
    if (frame.height < 1 || frame.height > maxDimension || frame.width < 1 || frame.width > maxDimension) return false;
    if ((count != 1 && count != 3 && count != 4) || length != 8 + 3 * count) return false;
    for (int i = 0; i < count; ++i) {
        const int id = in.byte();
        const int sampling = in.byte();
        if (id < 0 || in.byte() < 0) return false;  // the third byte names a quantisation table
        const JpegFrame::Component c{sampling >> 4, sampling & 0x0F};
        if (sampling < 0 || c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return false;
        frame.components.push_back(c);
        ids.push_back(id);
    }
    frame.wholePictureBuffers = code == progressive || code == progressiveArithmetic;
    return true;
}

// The first scan header after its marker and length: which components the scan carries.
bool readScanHeader(MarkerReader& in, int length, JpegFrame& frame, const std::vector<int>& ids) {
    const int count = in.byte();
    if (count < 1 || count > 4 || length != 6 + 2 * count) return false;
    for (int i = 0; i < count; ++i) {
        const int id = in.byte();
        if (in.byte() < 0 || std::find(ids.begin(), ids.end(), id) == ids.end()) return false;
    }
    if (count < static_cast<int>(frame.components.size())) frame.wholePictureBuffers = true;
    return true;
}

std::optional<JpegFrame> readMarkers(MarkerReader& in) {
    if (in.byte() != 0xFF || in.byte() != startOfImage) return std::nullopt;
    JpegFrame frame;
    std::vector<int> ids;
    bool framed = false;
    for (;;) {
        const int code = in.marker();
        if (code < 0 || code == startOfImage || code == endOfImage) return std::nullopt;
        if (standsAlone(code)) continue;
        const int length = in.word();
        if (length < 2) return std::nullopt;
        const qint64 segmentEnd = in.pos() + length - 2;
        if (isFrameHeader(code)) {
            if (framed || !readFrameHeader(in, code, length, frame, ids)) return std::nullopt;
            framed = true;
        } else if (code == startOfScan) {
            if (!framed || !readScanHeader(in, length, frame, ids)) return std::nullopt;
            frame.laterBytes = in.left();
            frame.headerEnd = segmentEnd;
            frame.strayBytes = in.strays();
            frame.scans = 1;
            return frame;
        } else if (code == comment && length - 2 <= longestDensityComment) {
            // Short enough to be a density marker: read rather than skipped.
            frame.metadataBytes += length - 2;
            const QByteArray text = in.bytes(length - 2);
            if (text.size() != length - 2) return std::nullopt;
            if (const double density = densityInComment(text); density > 0) frame.density = density;
        } else {
            if (code == comment || code == exif || code == colourProfile) frame.metadataBytes += length - 2;
            if (!in.skip(length - 2)) return std::nullopt;
        }
    }
}

// Walks the rest of the file from just after the first scan header: the coded data, in which a
// marker byte FF is followed by 00 (a stuffed data byte), a restart marker or more fill bytes;
// and the segments between scans. Counts the scans until `countedScans` is passed and notes
// whether the end marker comes. Reads in blocks, so a long file costs one pass of plain reads.
void walkScans(QIODevice& device, JpegFrame& frame) {
    constexpr qint64 block = 64 * 1024;
    QByteArray data;
    qsizetype at = 0;
    auto next = [&]() -> int {
        if (at == data.size()) {
            data = device.read(block);
            at = 0;
            if (data.isEmpty()) return -1;
        }
        return static_cast<unsigned char>(data[at++]);
    };
    auto skip = [&](qint64 count) {
        const qint64 buffered = data.size() - at;
        if (count <= buffered) {
            at += count;  // at most what is buffered, so within a qsizetype
            return true;
        }
        const qint64 to = device.pos() + count - buffered;
        data.clear();
        at = 0;
        return to <= device.size() && device.seek(to);
    };
    for (int b = next(); b >= 0;) {
        if (b != 0xFF) {
            b = next();
            continue;
        }
        int code = next();
        while (code == 0xFF) code = next();
        if (code < 0) return;
        if (code == stuffedByte || standsAlone(code)) {
            b = next();
            continue;
        }
        if (code == endOfImage) {
            frame.ended = true;
            return;
        }
        if (code == startOfScan && ++frame.scans > countedScans) return;
        const int high = next(), low = next();
        if (high < 0 || low < 0 || (high << 8 | low) < 2 || !skip((high << 8 | low) - 2)) return;
        b = next();
    }
}

long long divideUp(long long a, long long b) { return (a + b - 1) / b; }

// The markers and segments from the start of the file to the end of the first scan header, as
// `readMarkers` walks them, less the stray bytes between them.
QByteArray cleanHeader(QIODevice& device, qint64 headerEnd) {
    MarkerReader in(device);
    if (in.byte() != 0xFF || in.byte() != startOfImage) return {};
    QByteArray out("\xFF\xD8", 2);
    while (in.pos() < headerEnd) {
        const int code = in.marker();
        if (code < 0) return {};
        out += static_cast<char>(0xFF);
        out += static_cast<char>(code);
        if (standsAlone(code)) continue;
        const int length = in.word();
        if (length < 2) return {};
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(length & 0xFF);
        const QByteArray segment = in.bytes(length - 2);
        if (segment.size() != length - 2) return {};
        out += segment;
    }
    return in.pos() == headerEnd ? out : QByteArray();
}

}  // namespace

std::optional<JpegFrame> readJpegFrame(QIODevice& device) {
    const qint64 was = device.pos();
    if (!device.seek(0)) return std::nullopt;
    MarkerReader in(device);
    std::optional<JpegFrame> frame = readMarkers(in);
    if (frame) walkScans(device, *frame);
    if (!device.seek(was)) return std::nullopt;
    return frame;
}

QByteArray jpegHeaderWithoutStrays(QIODevice& device, const JpegFrame& frame) {
    const qint64 was = device.pos();
    if (!device.seek(0)) return {};
    QByteArray header = cleanHeader(device, frame.headerEnd);
    if (!device.seek(was)) return {};
    return header;
}

long long jpegDecodeBytes(const JpegFrame& frame, QSize kept, int scale) {
    scale = std::clamp(scale, 1, 8);
    int hmax = 1, vmax = 1;
    for (const JpegFrame::Component& c : frame.components) {
        hmax = std::max(hmax, c.h);
        vmax = std::max(vmax, c.v);
    }
    long long bytes = 0;
    if (frame.wholePictureBuffers) {
        // Blocks of 64 two-byte coefficients, each component's block rows and columns rounded up
        // to its sampling factors.
        for (const JpegFrame::Component& c : frame.components) {
            const long long columns = divideUp(divideUp(static_cast<long long>(frame.width) * c.h, hmax * 8), c.h) * c.h;
            const long long rows = divideUp(divideUp(static_cast<long long>(frame.height) * c.v, vmax * 8), c.v) * c.v;
            bytes += columns * rows * 64 * 2;
        }
        bytes += frame.laterBytes;
    }
    // Kept by the decoder, gathered into one block, and a comment also turned into text.
    bytes += 3 * frame.metadataBytes;
    // Bands of the whole scaled width, never clipped: per component, up to three block rows at the
    // largest sampling (the transform's output and the context rows smooth upsampling needs),
    // and the rows of upsampling and colour conversion.
    const long long components = static_cast<long long>(frame.components.size());
    const long long bandRows = 3LL * vmax * std::max(1, 8 / scale) + 2;
    bytes += divideUp(frame.width, scale) * components * bandRows;
    if (kept.width() > 0 && kept.height() > 0)
        bytes += static_cast<long long>(kept.width()) * kept.height() * (components == 1 ? 1 : 4);
    return bytes;
}

}  // namespace pelorix
