// SPDX-License-Identifier: MIT
// Picture loading bounded by the screen: hostile files refused or loaded, shown pixels unchanged.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "hostile.h"
#include "pictures/density.h"
#include "pictures/jpegframe.h"
#include "pictures/pictures.h"

namespace pelorix::testing {
namespace {

const QSize screen(1280, 800);

// A plain decode of the whole file, turned upright as Qt turns it, with no clip and no budget, for
// comparison.
QImage wholeDecode(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(0);
    reader.setAutoTransform(true);
    return reader.read();
}

// Every block the heap hands out is filled with a pattern while this lives, so a value a decoder
// leaves uninitialised is as wild as on a long-used heap, not the zero of fresh memory.
struct PerturbedHeap {
    PerturbedHeap() { mallopt(M_PERTURB, 190); }
    ~PerturbedHeap() { mallopt(M_PERTURB, 0); }
    PerturbedHeap(const PerturbedHeap&) = delete;
    PerturbedHeap& operator=(const PerturbedHeap&) = delete;
};

TEST(HostilePictures, EachIsLoadedOrRefusedAndNoneTakesMoreThanTheScreen) {
    const PerturbedHeap perturbed;
    const std::vector<HostileFile> set = hostileSet(false);
    for (const HostileFile& f : set) {
        PictureFault fault = PictureFault::none;
        const auto picture = loadPictureData(f.bytes, screen, &fault);
        if (f.outcome != HostileFile::Outcome::either) {
            EXPECT_EQ(picture.has_value(), f.outcome == HostileFile::Outcome::loads) << f.name;
        }
        if (f.outcome == HostileFile::Outcome::damaged) {
            EXPECT_EQ(fault, PictureFault::damaged) << f.name;
        }
        if (!picture) continue;
        EXPECT_LE(picture->width(), screen.width()) << f.name;
        EXPECT_LE(picture->height(), screen.height()) << f.name;
        // A bomb (at the cap, or of 16 bits a channel, which a whole decode could not afford) is
        // read only as far as the screen reaches: it fills it, all zero.
        if (f.name.starts_with("bomb")) {
            EXPECT_EQ(picture->size(), screen) << f.name;
            EXPECT_EQ(picture->pixel(1279, 799) & 0xFFFFFF, 0u) << f.name;
        }
    }
    // Logging rules that silence everything do not change what is refused: the JPEG decoder's
    // reports of damage are counted all the same.
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    for (const HostileFile& f : set) {
        if (f.outcome == HostileFile::Outcome::damaged && f.name.ends_with(".jpg")) {
            EXPECT_FALSE(loadPictureData(f.bytes, screen)) << f.name << " with every log category off";
        }
    }
    QLoggingCategory::setFilterRules(QString());
}

TEST(HostilePictures, LyingHeadersAndBombsPastTheBudgetAreRefused) {
    // A small JPEG whose frame claims 8000 × 8000 is damaged (its data ends long before), and a
    // progressive one, larger than a photo, is priced past the budget before anything is decoded;
    // so is a file whose scans each make the decoder pass over the picture once more, and a TIFF
    // (read by Qt's plugin) of 45 megapixels that fits the budget as stored but not once it is
    // also turned upright, a second picture as large.
    const std::pair<QByteArray, PictureFault> refused[] = {{jpegClaiming(8000, 8000), PictureFault::damaged},
                                                           {jpegClaiming(8000, 8000, true), PictureFault::tooCostly},
                                                           {jpegRepeatingScans(countedScans + 1), PictureFault::tooCostly},
                                                           {zeroTiff(7000, 6400, 3, 6), PictureFault::tooCostly},
                                                           {QByteArray("not a picture"), PictureFault::notPicture}};
    for (const auto& [bytes, why] : refused) {
        PictureFault fault = PictureFault::none;
        EXPECT_FALSE(loadPictureData(bytes, screen, &fault));
        EXPECT_EQ(fault, why) << static_cast<int>(why);
    }
    // A 12-megapixel progressive photo holds 36 MB of coefficients whatever is shown of it: more
    // than six screens of 640 × 400, less than the largest photo, so it loads there.
    const auto progressive = loadPictureData(encoded(patterned(4000, 3000), "JPEG", 90, true), QSize(640, 400));
    ASSERT_TRUE(progressive);
    EXPECT_EQ(progressive->size(), QSize(640, 400));
    // A grey TIFF of 51 megapixels, which its decoder holds in 32-bit colour, four times what it
    // reports: priced as reported it fits a 1920 × 1200 screen, so it is the reader's allocation
    // limit that stops the decode, and that is told as too costly, not as damage.
    PictureFault widened = PictureFault::none;
    EXPECT_FALSE(loadPictureData(zeroTiff(7000, 7300, 1, 1), QSize(1920, 1200), &widened));
    EXPECT_EQ(widened, PictureFault::tooCostly);
    // At the count the file is decoded, and found damaged (a repeated scan is out of sequence).
    PictureFault atCount = PictureFault::none;
    EXPECT_FALSE(loadPictureData(jpegRepeatingScans(countedScans), screen, &atCount));
    EXPECT_EQ(atCount, PictureFault::damaged);
}

TEST(HostilePictures, PicturesLargerThanTheScreenShowExactlyTheirTopLeftPart) {
    // Each way of reading less than the whole: JPEG clipped, PNG rows cut (8 and 16 bits, grey,
    // colour and alpha), formats read whole and then cut; JPEGs tagged to be turned upright show
    // the top-left of the upright picture.
    struct Case {
        std::string what;
        QByteArray bytes;
    };
    const QImage source = patterned(900, 700);
    std::vector<Case> cases{
        {"jpeg", encoded(source, "JPG", 85)},
        {"jpeg progressive", encoded(source, "JPG", 85, true)},
        {"jpeg grey", encoded(source.convertToFormat(QImage::Format_Grayscale8), "JPG", 85)},
        {"png rgb", encoded(source, "PNG")},
        {"png 16-bit", encoded(source.convertToFormat(QImage::Format_RGBX64), "PNG")},
        {"png 16-bit alpha", encoded(source.convertToFormat(QImage::Format_RGBA64), "PNG")},
        {"png grey", encoded(source.convertToFormat(QImage::Format_Grayscale8), "PNG")},
        {"png palette", encoded(source.convertToFormat(QImage::Format_Indexed8), "PNG")},
        {"bmp", encoded(source, "BMP")},
    };
    for (int tag = 1; tag <= 8; ++tag)
        cases.push_back({"jpeg tagged " + std::to_string(tag), withOrientation(encoded(source, "JPG", 85), tag)});
    cases.push_back({"jpeg progressive tagged 6", withOrientation(encoded(source, "JPG", 85, true), 6)});
    for (const QSize shown : {QSize(300, 200), QSize(1280, 200), QSize(300, 800)}) {
        for (const Case& c : cases) {
            const QImage whole = wholeDecode(c.bytes);
            ASSERT_FALSE(whole.isNull()) << c.what;
            const auto part = loadPictureData(c.bytes, shown);
            ASSERT_TRUE(part) << c.what;
            const QSize kept = whole.size().boundedTo(shown);
            EXPECT_EQ(part->size(), kept) << c.what;
            EXPECT_EQ(part->convertToFormat(QImage::Format_RGB32),
                      whole.copy(QRect(QPoint(0, 0), kept)).convertToFormat(QImage::Format_RGB32))
                << c.what << " at " << shown.width() << "x" << shown.height();
        }
    }
}

TEST(HostilePictures, PicturesThatFitLoadWholeAndUnchanged) {
    const QImage source = patterned(640, 480);
    for (const char* format : {"PNG", "BMP", "JPG"}) {
        const QByteArray bytes = encoded(source, format, 90);
        const auto picture = loadPictureData(bytes, screen);
        ASSERT_TRUE(picture) << format;
        EXPECT_EQ(*picture, wholeDecode(bytes)) << format;
    }
}

TEST(HostilePictures, AFileIsOpenedByItsRawNameAndMustBeAFile) {
    QTemporaryDir temp;
    const std::filesystem::path dir = temp.path().toStdString();
    const std::filesystem::path name = dir / "caf\xE9.regular_picture";
    const QByteArray bytes = encoded(patterned(64, 48), "PNG");
    std::ofstream(name, std::ios::binary).write(bytes.constData(), bytes.size());
    const auto picture = loadPictureFile(name, screen);
    std::filesystem::remove(name);  // QTemporaryDir cannot remove a name that is not UTF-8
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(64, 48));
    std::filesystem::create_directory(dir / "folder.png");
    EXPECT_FALSE(loadPictureFile(dir / "folder.png", screen));
    EXPECT_FALSE(loadPictureFile(dir / "missing.png", screen));
}

TEST(JpegPrice, EachPartOfTheDecodersAllocationAtItsEdges) {
    using C = JpegFrame::Component;
    struct Case {
        const char* what;
        JpegFrame frame;
        QSize kept;
        int scale;
        long long bytes;
    };
    // Bands: scaled width × components × (3 block rows at the largest vertical sampling, 8 / scale
    // rows each, + 2); whole-picture buffers: 128 bytes a block, block counts rounded up per
    // sampling; metadata three times over; the picture kept at 1 or 4 bytes a pixel.
    const Case cases[] = {
        {"grey, one pass", {64, 64, {C{}}}, {64, 64}, 1, 64 * 26 + 64 * 64},
        {"grey, its metadata", {64, 64, {C{}}, false, 1000}, {64, 64}, 1, 3000 + 64 * 26 + 64 * 64},
        {"grey, progressive", {64, 64, {C{}}, true, 0, 500}, {64, 64}, 1, 8 * 8 * 128 + 500 + 64 * 26 + 64 * 64},
        {"4:2:0 progressive at odd sizes, halved", {33, 17, {C{2, 2}, C{}, C{}}, true}, {10, 10}, 2,
         (6 * 4 + 3 * 2 + 3 * 2) * 128 + 17 * 3 * 26 + 10 * 10 * 4},
        {"4:2:0 in one pass, an eighth", {33, 17, {C{2, 2}, C{}, C{}}}, {10, 10}, 8, 5 * 3 * 8 + 10 * 10 * 4},
        {"nothing kept", {33, 17, {C{2, 2}, C{}, C{}}}, {0, 10}, 8, 5 * 3 * 8},
        {"a scale past 8 counts as 8", {33, 17, {C{2, 2}, C{}, C{}}}, {0, 0}, 16, 5 * 3 * 8},
    };
    for (const Case& c : cases) EXPECT_EQ(jpegDecodeBytes(c.frame, c.kept, c.scale), c.bytes) << c.what;
    // The budget: six screens of 64-bit pixels, never less than 32 MiB.
    EXPECT_EQ(pictureDecodeBudget(QSize(100, 100)), 32LL << 20);
    EXPECT_EQ(pictureDecodeBudget(QSize()), 32LL << 20);
    EXPECT_EQ(pictureDecodeBudget(QSize(1920, 1080)), 48LL * 1920 * 1080);
}

// `jpeg` with its first scan cut down to its first component, as a file whose scans each carry
// one component begins; the data after the header stays as it was.
QByteArray firstScanOfOneComponent(QByteArray jpeg) {
    const qsizetype sos = jpeg.indexOf("\xFF\xDA");
    const int length = (static_cast<uchar>(jpeg[sos + 2]) << 8) | static_cast<uchar>(jpeg[sos + 3]);
    QByteArray header("\xFF\xDA\x00\x08\x01", 5);
    header += jpeg.mid(sos + 5, 2) + jpeg.mid(sos + 2 + length - 3, 3);  // component 1, then Ss Se AhAl
    return jpeg.replace(sos, 2 + length, header);
}

// `jpeg` (progressive) marked as coded with arithmetic codes instead: its frame header's marker
// changed, which is all the walk reads of it.
QByteArray arithmetic(QByteArray jpeg) {
    const qsizetype frame = jpeg.indexOf("\xFF\xC2");
    if (frame >= 0) jpeg[frame + 1] = static_cast<char>(0xCA);
    return jpeg;
}

TEST(JpegPrice, WhatTheMarkersSayOfTheDecodersWork) {
    const QImage photo = patterned(64, 48);
    const QByteArray plain = encoded(photo, "JPEG", 90);
    struct Case {
        const char* what;
        QByteArray jpeg;
        bool wholePicture;
        bool metadata;
        bool manyScans;
    };
    const Case cases[] = {
        {"sequential, all components in its one scan", plain, false, false, false},
        {"progressive", encoded(photo, "JPEG", 90, true), true, false, true},
        {"a first scan of fewer components than the frame", firstScanOfOneComponent(plain), true, false, false},
        {"an orientation tag", withOrientation(plain, 6), false, true, false},
        {"progressive with arithmetic codes", arithmetic(encoded(photo, "JPEG", 90, true)), true, false, true},
    };
    for (const Case& c : cases) {
        QBuffer device;
        device.setData(c.jpeg);
        ASSERT_TRUE(device.open(QIODevice::ReadOnly));
        const std::optional<JpegFrame> frame = readJpegFrame(device);
        ASSERT_TRUE(frame) << c.what;
        EXPECT_EQ(QSize(frame->width, frame->height), photo.size()) << c.what;
        EXPECT_EQ(frame->components.size(), 3u) << c.what;
        EXPECT_EQ(frame->wholePictureBuffers, c.wholePicture) << c.what;
        EXPECT_EQ(frame->metadataBytes > 0, c.metadata) << c.what;
        EXPECT_EQ(frame->scans > 1, c.manyScans) << c.what;
        EXPECT_TRUE(frame->ended) << c.what;
        EXPECT_EQ(device.pos(), 0) << c.what;  // put back where it stood
    }
}

// The walk through the coded data passes over each of the eight restart markers that cameras
// write, and skips a segment between two scans that begins at the end of one of its 64 KiB reads
// and ends in the next: it counts the scans and finds the end marker.
TEST(JpegPrice, TheWalkPassesRestartMarkersAndSegmentsAcrossItsReads) {
    const QByteArray plain = encoded(patterned(64, 48), "JPEG", 90);
    const qsizetype sos = plain.indexOf("\xFF\xDA");
    ASSERT_GT(sos, 0);
    const int length = (static_cast<uchar>(plain[sos + 2]) << 8) | static_cast<uchar>(plain[sos + 3]);
    const QByteArray header = plain.left(sos + 2 + length), scanHeader = plain.mid(sos, 2 + length);
    const QByteArray end("\xFF\xD9", 2);
    auto walked = [](const QByteArray& bytes) {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        return readJpegFrame(device);
    };
    for (int code = 0xD0; code <= 0xD7; ++code) {
        const QByteArray data = QByteArray("\x12\x34\xFF", 3) + static_cast<char>(code) + QByteArray("\x56\x78\x9A", 3);
        const auto frame = walked(header + data + end);
        ASSERT_TRUE(frame) << code;
        EXPECT_EQ(frame->scans, 1) << code;
        EXPECT_TRUE(frame->ended) << code;
    }
    // The walk reads from three bytes before the first scan header's end.
    const qsizetype walkStart = header.size() - 3;
    QByteArray crossing = header + QByteArray(walkStart + 65536 - 6 - header.size(), 'x');
    crossing += QByteArray("\xFF\xFE\x01\x00", 4) + QByteArray(254, 'c');  // a comment of 256 bytes
    crossing += scanHeader + QByteArray("\x12\x34", 2) + end;
    const auto frame = walked(crossing);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->scans, 2);
    EXPECT_TRUE(frame->ended);
}

TEST(JpegPrice, APhotoIsPricedForTheDearerOfItsTwoShapesBeforeItsTagIsRead) {
    // For a 754 × 385 board: as stored, a 4000 × 1000 photo is read at half size; turned a quarter,
    // it would be read whole and scaled to 3016 × 754, which costs about 36 MB. Both shapes are
    // priced past 32 MiB, whichever the frame says; a 2000 × 500 one costs less either way.
    using C = JpegFrame::Component;
    const auto frame = [](int w, int h) { return JpegFrame{w, h, {C{2, 2}, C{}, C{}}}; };
    const QSize board(754, 385);
    EXPECT_GT(coveringJpegBytes(frame(4000, 1000), board, 1), 32LL << 20);
    EXPECT_GT(coveringJpegBytes(frame(1000, 4000), board, 1), 32LL << 20);
    EXPECT_LT(coveringJpegBytes(frame(2000, 500), board, 1), 32LL << 20);
    // Prepared finer, a photo costs what its finer cut costs.
    EXPECT_GT(coveringJpegBytes(frame(6000, 4000), board, 4), coveringJpegBytes(frame(6000, 4000), board, 1) + (12LL << 20));
}

// The screen saver covers its window from all of a prepared picture's pixels: lines one pixel
// wide every eight, which a picture of one pixel a unit would have averaged to a pale grey, stay
// dark on a 3840 × 2160 screen.
TEST(PreparedPicture, TheSaverCoversALargeWindowFromItsFullPixels) {
    QImage fine(3016, 1540, QImage::Format_RGB32);
    fine.fill(Qt::white);
    for (int y = 0; y < fine.height(); ++y)
        for (int x = 0; x < fine.width(); x += 8) fine.setPixel(x, y, qRgb(0, 0, 0));
    const QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "fine.regular_picture";
    {
        QImageWriter writer(QString::fromStdString(file.string()), "png");
        recordDensity(writer, preparedDensity);
        ASSERT_TRUE(writer.write(fine));
    }
    const auto covered = loadCoveringFile(file, QSize(3840, 2160), commonScreenArea);
    ASSERT_TRUE(covered);
    ASSERT_EQ(covered->size(), QSize(3840, 2160));
    int dark = 0;
    for (int x = 0; x < 3840; ++x) dark += qGray(covered->pixel(x, 1080)) < 100;
    EXPECT_GT(dark, 3840 / 12);  // a line about every eleven pixels
}

}  // namespace
}  // namespace pelorix::testing
