// SPDX-License-Identifier: MIT
// Makes hostile and large picture files in memory: lying headers, bombs, damaged and valid pictures.
#include "hostile.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cstdint>

namespace pelorix::testing {

namespace {

// Bits packed from the lowest bit of each byte up, as deflate stores them.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bit((value >> i) & 1u);
    }
    // A Huffman code is stored from its highest bit down.
    void code(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) bit((value >> i) & 1u);
    }
    QByteArray finish() {
        if (used_ > 0) out_.append(static_cast<char>(current_));
        return out_;
    }

private:
    void bit(std::uint32_t b) {
        current_ |= static_cast<std::uint8_t>(b << used_);
        if (++used_ == 8) {
            out_.append(static_cast<char>(current_));
            current_ = 0;
            used_ = 0;
        }
    }
    QByteArray out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// A zlib stream of `count` zero bytes: one literal, then matches of 258 at distance 1.
QByteArray zlibZeros(long long count) {
    BitWriter w;
    w.bits(1, 1);  // last block
    w.bits(1, 2);  // fixed Huffman codes
    long long left = count;
    auto literalZero = [&] { w.code(0x30, 8); };
    if (left > 0) {
        literalZero();
        --left;
    }
    while (left >= 258) {
        w.code(0xC5, 8);  // length code 285: 258 bytes
        w.code(0, 5);     // distance code 0: distance 1
        left -= 258;
    }
    while (left-- > 0) literalZero();
    w.code(0, 7);  // end of block
    QByteArray stream("\x78\x01", 2);
    stream += w.finish();
    const std::uint32_t adler = (static_cast<std::uint32_t>(count % 65521) << 16) | 1u;
    for (int shift = 24; shift >= 0; shift -= 8) stream.append(static_cast<char>((adler >> shift) & 0xFF));
    return stream;
}

std::uint32_t crc32(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32be(QByteArray& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((v >> shift) & 0xFF));
}
void put16le(QByteArray& out, std::uint32_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}
void put32le(QByteArray& out, std::uint32_t v) {
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}

void chunk(QByteArray& png, const char* type, const QByteArray& data) {
    put32be(png, static_cast<std::uint32_t>(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    png += typed;
    put32be(png, crc32(typed));
}

// Where the first segment with `marker` starts in a JPEG's header (walked segment by segment up
// to the first scan); -1 when there is none.
qsizetype jpegSegment(const QByteArray& jpeg, int marker) {
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[at]) == 0xFF) {
        const int found = static_cast<std::uint8_t>(jpeg[at + 1]);
        if (found == marker) return at;
        if (found == 0xDA) break;
        at += 2 + (static_cast<std::uint8_t>(jpeg[at + 2]) << 8 | static_cast<std::uint8_t>(jpeg[at + 3]));
    }
    return -1;
}

}  // namespace

QImage patterned(int width, int height, QImage::Format format) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = qRgb((x * 7 + y) & 0xFF, (y * 5 + x / 3) & 0xFF, (x ^ y) & 0xFF);
    }
    return format == QImage::Format_RGB32 ? picture : picture.convertToFormat(format);
}

QByteArray encoded(const QImage& picture, const char* format, int quality, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(picture);
    return bytes;
}

QByteArray withOrientation(const QByteArray& jpeg, int tag) {
    // "Exif", then a big-endian TIFF header and one directory of one entry: the orientation, a
    // 16-bit number, held in the entry itself.
    QByteArray exif("Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += QByteArray::fromRawData("\0", 1) + static_cast<char>(tag) + QByteArray(2 + 4, '\0');
    QByteArray segment("\xFF\xE1", 2);
    segment += static_cast<char>((exif.size() + 2) >> 8);
    segment += static_cast<char>((exif.size() + 2) & 0xFF);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);  // right after the start-of-image marker
}

QByteArray zeroPng(int width, int height, int colourType, int bitDepth) {
    const int channels = colourType == 2 ? 3 : colourType == 6 ? 4 : 1;
    const long long rowBytes = 1 + static_cast<long long>(width) * channels * (bitDepth / 8);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    put32be(header, static_cast<std::uint32_t>(width));
    put32be(header, static_cast<std::uint32_t>(height));
    header.append(static_cast<char>(bitDepth));
    header.append(static_cast<char>(colourType));
    header.append(3, '\0');  // deflate, adaptive filtering, not interlaced
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlibZeros(rowBytes * height));
    chunk(png, "IEND", {});
    return png;
}

QByteArray zeroTiff(int width, int height, int samples, int orientation) {
    // One row of zero bytes, packed: runs of 128 (the code -127 and the byte), then the rest.
    QByteArray row;
    for (long long left = static_cast<long long>(samples) * width; left > 0; left -= 128) {
        row.append(static_cast<char>(1 - static_cast<int>(std::min<long long>(left, 128))));
        row.append('\0');
    }
    QByteArray tiff("II*\0", 4);
    auto put16 = [&](std::uint32_t v) {
        tiff.append(static_cast<char>(v & 0xFF));
        tiff.append(static_cast<char>((v >> 8) & 0xFF));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const auto count = static_cast<std::uint32_t>(samples);
    const std::uint32_t entries = 11, ifd = 8, bits = ifd + 2 + entries * 12 + 4, strip = bits + 6;
    put32(ifd);
    put16(entries);
    // Tag, type (3 short, 4 long), count, value or where the values are; in the order of the tags.
    const std::uint32_t fields[][4] = {{256, 4, 1, static_cast<std::uint32_t>(width)},
                                       {257, 4, 1, static_cast<std::uint32_t>(height)},
                                       {258, 3, count, samples == 1 ? 8 : bits},  // 8 bits a sample
                                       {259, 3, 1, 32773},                        // PackBits
                                       {262, 3, 1, samples == 1 ? 1u : 2u},       // grey or RGB
                                       {273, 4, 1, strip},
                                       {274, 3, 1, static_cast<std::uint32_t>(orientation)},
                                       {277, 3, 1, count},
                                       {278, 4, 1, static_cast<std::uint32_t>(height)},
                                       {279, 4, 1, static_cast<std::uint32_t>(row.size() * height)},
                                       {284, 3, 1, 1}};
    for (const auto& f : fields) {
        put16(f[0]);
        put16(f[1]);
        put32(f[2]);
        put32(f[3]);  // a short in the lower half, little-endian first
    }
    put32(0);
    for (int i = 0; i < 3; ++i) put16(8);
    tiff.reserve(tiff.size() + row.size() * height);
    for (int y = 0; y < height; ++y) tiff += row;
    return tiff;
}

QByteArray jpegClaiming(int width, int height, bool progressive) {
    QByteArray jpeg = encoded(patterned(128, 128), "JPG", 90, progressive);
    // The frame header: FF C0 (baseline) or FF C2 (progressive), length, precision, then height
    // and width.
    const qsizetype at = jpegSegment(jpeg, progressive ? 0xC2 : 0xC0);
    if (at < 0) return jpeg;
    jpeg[at + 5] = static_cast<char>((height >> 8) & 0xFF);
    jpeg[at + 6] = static_cast<char>(height & 0xFF);
    jpeg[at + 7] = static_cast<char>((width >> 8) & 0xFF);
    jpeg[at + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

QByteArray jpegWithBogusHuffmanTable() {
    QByteArray jpeg = encoded(patterned(96, 96), "JPG", 90);
    // The writer puts the Huffman tables after the frame header. The first table's count of
    // 16-bit codes (FF C4, length, class and id, then 16 counts) is raised past the 256 codes a
    // table may hold.
    const qsizetype at = jpegSegment(jpeg, 0xC4);
    if (at >= 0) jpeg[at + 20] = static_cast<char>(0xFF);
    return jpeg;
}

QByteArray rleBmpClaiming(int width, int height, int bodyBytes) {
    QByteArray body;
    // Runs of 255 pixels of changing colours, each row ended, until the body is full.
    int colour = 0;
    while (body.size() + 4 <= bodyBytes) {
        body.append(static_cast<char>(255));
        body.append(static_cast<char>(colour++ & 0xFF));
        if (colour % 8 == 0) body.append(QByteArray("\x00\x00", 2));
    }
    body.append(QByteArray("\x00\x01", 2));  // end of picture
    QByteArray bmp("BM", 2);
    const std::uint32_t offset = 14 + 40 + 1024;
    put32le(bmp, offset + static_cast<std::uint32_t>(body.size()));
    put32le(bmp, 0);
    put32le(bmp, offset);
    put32le(bmp, 40);
    put32le(bmp, static_cast<std::uint32_t>(width));
    put32le(bmp, static_cast<std::uint32_t>(height));
    put16le(bmp, 1);
    put16le(bmp, 8);
    put32le(bmp, 1);  // run-length, 8 bits
    put32le(bmp, static_cast<std::uint32_t>(body.size()));
    put32le(bmp, 3780);
    put32le(bmp, 3780);
    put32le(bmp, 256);
    put32le(bmp, 0);
    for (int i = 0; i < 256; ++i) put32le(bmp, qRgb(i, 255 - i, (i * 3) & 0xFF) & 0xFFFFFF);
    return bmp + body;
}

QByteArray jpegRepeatingScans(int scans) {
    // A smooth 1024 x 768 picture, progressive: some of its scans take a few dozen bytes, yet each
    // is a pass of the decoder over the whole picture.
    QImage smooth(1024, 768, QImage::Format_RGB32);
    for (int y = 0; y < smooth.height(); ++y)
        for (int x = 0; x < smooth.width(); ++x) smooth.setPixel(x, y, qRgb(x / 4, y / 3, 128));
    QByteArray jpeg = encoded(smooth, "JPG", 90, true);
    // Each scan runs from its header (FF DA) to the next one, the last to the end marker (FF D9).
    const QByteArray header("\xFF\xDA", 2);
    QByteArray smallest;
    int have = 0;
    for (qsizetype at = jpeg.indexOf(header); at >= 0; ++have) {
        const qsizetype next = jpeg.indexOf(header, at + 2);
        const QByteArray scan = jpeg.mid(at, (next < 0 ? jpeg.size() - 2 : next) - at);
        if (smallest.isEmpty() || scan.size() < smallest.size()) smallest = scan;
        at = next;
    }
    jpeg.insert(jpeg.size() - 2, smallest.repeated(std::max(scans - have, 0)));
    return jpeg;
}

QByteArray smallGif() {
    // 2 x 2 pixels, a two-colour table, one image coded with LZW (minimum code size 2).
    static const unsigned char bytes[] = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0,
                                          0xFF, 0, 0, 0, 0, 0xFF, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0,
                                          2, 3, 0x44, 0x34, 0x05, 0, 0x3B};
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::vector<HostileFile> hostileSet(bool large) {
    using enum HostileFile::Outcome;
    std::vector<HostileFile> set;
    const QByteArray png = encoded(patterned(640, 480), "PNG");
    const QByteArray jpg = encoded(patterned(640, 480), "JPG", 90);
    const QByteArray bmp = encoded(patterned(64, 48), "BMP"), gif = smallGif();
    set.push_back({"truncated.png", png.left(png.size() / 2), damaged});
    set.push_back({"truncated.jpg", jpg.left(jpg.size() / 2), damaged});
    const QByteArray progressive = encoded(patterned(640, 480), "JPG", 90, true);
    set.push_back({"truncated-progressive.jpg", progressive.left(progressive.size() * 3 / 4), damaged});
    set.push_back({"truncated.bmp", bmp.left(bmp.size() - 10), damaged});
    set.push_back({"whole.gif", gif, loads});
    set.push_back({"truncated.gif", gif.left(gif.size() - 1), damaged});
    set.push_back({"scans20000.jpg", jpegRepeatingScans(20000), refused});
    // Found by fuzzing: a BMP header whose width times bits a pixel times rows overflows.
    set.push_back({"bmp-overflowing-rows.bmp",
                   QByteArray::fromBase64("Qk02zAAfAABAHwAAAQAI2QAAAAAAyAAAxA4AAMQOAAAAAAAAAAAAAAAAAAD/Bf8G/wcAAP8I/10J/wr/C/8M/w3/"
                                          "Dv8PAK3/rv+vAQD/sP+x/7L/s/8AAAACAAAAAN8AAP/g/+H/4gAB"),
                   either});
    QByteArray flipped = png;
    for (qsizetype i = 40; i < flipped.size(); i += 97) flipped[i] = static_cast<char>(flipped[i] ^ 0x10);
    set.push_back({"bitflipped.png", flipped, either});
    QByteArray flippedJpg = jpg;
    for (qsizetype i = 200; i < flippedJpg.size(); i += 113) flippedJpg[i] = static_cast<char>(flippedJpg[i] ^ 0x04);
    set.push_back({"bitflipped.jpg", flippedJpg, damaged});
    set.push_back({"soi-only.jpg", jpg.left(2), refused});
    set.push_back({"cut-at-200.jpg", jpg.left(200), refused});
    // One bit flipped in each, spread over the header segments: tables, frame and scan header.
    const qsizetype header = std::max<qsizetype>(jpegSegment(jpg, 0xDA) + 14, 3);
    for (int i = 0; i < 8; ++i) {
        QByteArray headerFlip = jpg;
        const qsizetype at = 2 + (i * 149 + 37) % (header - 2);
        headerFlip[at] = static_cast<char>(headerFlip[at] ^ (1 << i));
        set.push_back({"headerflip" + std::to_string(i) + ".jpg", headerFlip, either});
    }
    set.push_back({"bogus-huffman.jpg", jpegWithBogusHuffmanTable(), refused});
    // Sixteen one-bits just after the scan header: a code no table holds, which the decoder's fast
    // way through a file held whole in memory passes over without a word.
    QByteArray badCode = encoded(patterned(320, 240), "JPG", 90);
    badCode.insert(jpegSegment(badCode, 0xDA) + 20, QByteArray("\xFF\x00\xFF\x00\xFF\x00", 6));
    set.push_back({"bad-code.jpg", badCode, damaged});
    // Harmless oddities: stray bytes between two header segments, junk after the end.
    QByteArray strays = jpg;
    strays.insert(jpegSegment(strays, 0xDB), QByteArray("pelorix", 7));
    set.push_back({"header-strays.jpg", strays, loads});
    set.push_back({"junk-after-end.jpg", jpg + QByteArray(3000, 'j'), loads});
    set.push_back({"claims8000.jpg", jpegClaiming(8000, 8000), damaged});
    set.push_back({"claims8000-progressive.jpg", jpegClaiming(8000, 8000, true), refused});
    set.push_back({"rle8000.bmp", rleBmpClaiming(8000, 8000, 50 * 1024), refused});
    set.push_back({"bomb-at-cap.png", zeroPng(8000, 8000, 0, 8), loads});
    set.push_back({"bomb-past-cap.png", zeroPng(8200, 8200, 0, 8), refused});
    set.push_back({"bomb-rgb16.png", zeroPng(6000, 3000, 2, 16), loads});
    set.push_back({"sixteen-bit.png", encoded(patterned(1600, 1000, QImage::Format_RGBX64), "PNG"), loads});
    set.push_back({std::string("caf\xE9-latin1.png"), png, loads});
    if (large) {
        // 64 MB of metadata segments (Exif, which the decoder keeps) before a small picture.
        QByteArray metadata = encoded(patterned(64, 48), "JPG", 90);
        const QByteArray app1 = QByteArray("\xFF\xE1\xFF\xFF", 4) + QByteArray(0xFFFD, 'x');
        metadata.insert(2, app1.repeated(1024));
        set.push_back({"metadata64MB.jpg", metadata, refused});
        set.push_back({"large-6000x4000.jpg", encoded(patterned(6000, 4000), "JPG", 90), loads});
        set.push_back({"large-4000x3000.png", encoded(patterned(4000, 3000), "PNG"), loads});
        set.push_back({"large-6000x6000x16.png", encoded(patterned(6000, 6000, QImage::Format_RGBX64), "PNG"), loads});
    }
    return set;
}

}  // namespace pelorix::testing
