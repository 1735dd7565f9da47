// SPDX-License-Identifier: MIT
// Text files, saved and loaded pictures of the Qt window in its working directory.
#include <QBuffer>
#include <QFile>
#include <QImage>

#include "pictures/pictures.h"
#include "qtfixture.h"

namespace pelorix::testing {
namespace {

using QtFiles = QtWindowTest;

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}
unsigned le16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

void expectBmp8(const std::string& bytes, std::uint32_t width, std::uint32_t height) {
    ASSERT_GE(bytes.size(), 54u + 1024u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(le32(bytes, 2), bytes.size());
    EXPECT_EQ(le32(bytes, 10), 54u + 1024u);
    EXPECT_EQ(le32(bytes, 14), 40u);
    EXPECT_EQ(le32(bytes, 18), width);
    EXPECT_EQ(le32(bytes, 22), height);
    EXPECT_EQ(le16(bytes, 26), 1u);
    EXPECT_EQ(le16(bytes, 28), 8u);   // bits per pixel
    EXPECT_EQ(le32(bytes, 30), 0u);   // uncompressed
    EXPECT_EQ(bytes.size(), 54u + 1024u + ((width + 3) & ~3u) * height);
}

TEST_F(QtFiles, TextFilesIgnoreCase) {
    EXPECT_FALSE(platform->readTextFile("animation.Time").has_value());
    ASSERT_TRUE(platform->writeTextFile("animation.time", " 1 \r\n"));
    const auto read = platform->readTextFile("animation.Time");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, "1 \r\n");  // leading blanks are passed over
    ASSERT_TRUE(platform->writeTextFile("ANIMATION.TIME", " 0 \r\n"));
    EXPECT_EQ(filesInWork(), std::vector<std::string>{"animation.time"});
    EXPECT_EQ(readFile("animation.time"), " 0 \r\n");
    EXPECT_FALSE(platform->writeTextFile("../outside.Time", "1"));
    // A NUL would end the name early, so the write would land on another file.
    EXPECT_FALSE(platform->writeTextFile(std::string("animation.time\0.x", 17), "1"));
    EXPECT_EQ(readFile("animation.time"), " 0 \r\n");
}

TEST_F(QtFiles, SavePictureWritesEightBitBmps) {
    ASSERT_TRUE(platform->savePicture(PictureId::Window, "title1.bmp"));
    ASSERT_TRUE(platform->savePicture(PictureId::Picture1, "title2.bmp"));
    expectBmp8(readFile("title1.bmp"), 800, 600);
    expectBmp8(readFile("title2.bmp"), 267, 236);
    // The file reads back as the built-in picture.
    const auto back = loadPictureFile(work() / "title2.bmp", QSize(1280, 800));
    ASSERT_TRUE(back.has_value());
    const QImage builtin = builtinAnimationPicture();
    EXPECT_EQ(back->pixel(10, 10), builtin.pixel(10, 10));
    EXPECT_EQ(back->pixel(266, 235), builtin.pixel(266, 235));
    // One encoder writes the shipped pictures and the game's copies: the bytes are the same.
    for (const char* name : {"title1.bmp", "title2.bmp"}) {
        QFile shipped(QStringLiteral(":/assets/") + QLatin1String(name));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(shipped.readAll().toStdString() == readFile(name)) << name << " differs from the shipped picture";
    }
}

TEST_F(QtFiles, SavePictureReplacesAFileWhoseNameDiffersInCase) {
    writeFile("TITLE1.BMP", "old");
    ASSERT_TRUE(platform->savePicture(PictureId::Window, "title1.bmp"));
    EXPECT_EQ(filesInWork(), std::vector<std::string>{"TITLE1.BMP"});
    expectBmp8(readFile("TITLE1.BMP"), 800, 600);
    EXPECT_FALSE(platform->savePicture(PictureId::Window, "sub/dir.bmp"));
}

TEST_F(QtFiles, LoadPictureShowsItAndCopiesFromIt) {
    QImage picture(50, 40, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    picture.setPixel(49, 39, qRgb(1, 2, 3));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    // Named as the game names them: the format comes from the content.
    writeFile("Green.regular_picture", png.toStdString());
    ASSERT_TRUE(platform->loadPicture("green.REGULAR_PICTURE"));
    EXPECT_EQ(platform->canvas().pixel(0, 0), 0x0AC81Eu);
    EXPECT_EQ(platform->canvas().pixel(49, 39), 0x010203u);
    EXPECT_EQ(platform->windowPicture().size(), QSize(50, 40));
    ASSERT_TRUE(platform->copyPicture(PictureId::Window, 300, 300, 10, 10, 45, 35));
    EXPECT_EQ(platform->canvas().pixel(304, 304), 0x010203u);
    // The loaded picture is what savePicture writes now.
    ASSERT_TRUE(platform->savePicture(PictureId::Window, "again.bmp"));
    expectBmp8(readFile("again.bmp"), 50, 40);
}

TEST_F(QtFiles, EachSpellingInTheListLoadsItsOwnFile) {
    // Two files whose names differ only in case: the list shows both, and each entry is its own picture.
    for (const auto& [name, width] : {std::pair{"Sea.regular_picture", 40}, std::pair{"sea.regular_picture", 60}}) {
        QImage picture(width, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        writeFile(name, encodeBmp8(picture).toStdString());
    }
    platform->refreshList(Control::File1);
    ASSERT_EQ(platform->listCount(Control::File1), 2);
    for (int i = 0; i < 2; ++i) {
        const std::string entry = platform->listEntry(Control::File1, i);
        ASSERT_TRUE(platform->loadPicture(entry)) << entry;
        EXPECT_EQ(platform->windowPicture().width(), entry == "Sea.regular_picture" ? 40 : 60) << entry;
    }
}

TEST_F(QtFiles, LoadPictureFailuresKeepTheCanvas) {
    const QImage before = platform->canvas().image();
    const QImage pictureBefore = platform->windowPicture();
    ASSERT_TRUE(platform->savePicture(PictureId::Window, "title1.bmp"));
    const std::string good = readFile("title1.bmp");
    writeFile("empty.regular_picture", "");
    writeFile("truncated.regular_picture", good.substr(0, 100));
    writeFile("text.regular_picture", "this is not a picture\n");
    for (const char* name : {"missing.regular_picture", "empty.regular_picture", "truncated.regular_picture",
                             "text.regular_picture", "", "../title1.bmp"}) {
        EXPECT_FALSE(platform->loadPicture(name)) << name;
        EXPECT_EQ(platform->canvas().image(), before) << name;
        EXPECT_EQ(platform->windowPicture(), pictureBefore) << name;
    }
    EXPECT_TRUE(platform->loadPicture("TITLE1.bmp"));
}

}  // namespace
}  // namespace pelorix::testing
