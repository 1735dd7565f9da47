// SPDX-License-Identifier: MIT
// Working-directory files and pictures: wildcard lists, case-insensitive names, safe picture loading.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <fstream>

#include "pictures/pictures.h"
#include "files/workdir.h"

namespace pelorix {
namespace {

TEST(Wildcards, MatchIgnoringCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const std::array<Case, 9> cases{{
        {"sea.regular_picture", "*.regular_picture", true},
        {"SEA.REGULAR_PICTURE", "*.regular_picture", true},
        {".regular_picture", "*.regular_picture", true},
        {"sea.regular_picture.bak", "*.regular_picture", false},
        {"sea.animation_picture", "*.regular_picture", false},
        {"a.b.regular_picture", "*.regular_picture", true},
        {"title1.bmp", "title?.bmp", true},
        {"title12.bmp", "title?.bmp", false},
        {"x", "*", true},
    }};
    for (const Case& c : cases) EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(Wildcards, ListsSortAsTheLocaleReads) {
    struct Case {
        const char* locale;
        std::vector<std::string> sorted;
    };
    const std::array<Case, 6> cases{{
        {"en_GB", {"Alpha", "alpha2", "beta", "Beta0", "gamma"}},
        {"en_GB", {"photo 1", "Photo 2", "photo 10", "photo 10b", "photo 100"}},
        {"pl_PL", {"apple", "kiwi", "Lemon", "Łódź café", "mango", "Zebra"}},
        {"sv_SE", {"Apple", "Zebra", "Äpple"}},
        {"de_DE", {"Apple", "Äpple", "Zebra"}},
        // The C locale still reads numbers; equal names (by case, or bytes that are not UTF-8) go in
        // byte order.
        {"C", {"Beta", "beta", "photo 9", "photo 10", "\xfe.regular_picture", "\xff.regular_picture"}},
    }};
    for (const Case& c : cases) {
        std::vector<std::string> names(c.sorted.rbegin(), c.sorted.rend());
        sortIgnoringCase(names, QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(names, c.sorted) << c.locale;
        std::rotate(names.begin(), names.begin() + 1, names.end());
        sortIgnoringCase(names, QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(names, c.sorted) << c.locale << ", from another order";
    }
}

class WorkDirTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    WorkDir dir{temp.path().toStdString()};
    void make(const std::string& name, const std::string& bytes) {
        std::ofstream(dir.path() / name, std::ios::binary) << bytes;
    }
};

TEST_F(WorkDirTest, NamesThatDifferOnlyInCaseAreOneFile) {
    make("animation.time", "5");
    EXPECT_EQ(dir.readText("animation.Time"), "5");
    ASSERT_TRUE(dir.writeText("animation.Time", " 1 \r\n"));
    EXPECT_EQ(dir.list("animation*").size(), 1u);
    EXPECT_EQ(dir.readText("ANIMATION.TIME"), "1 \r\n");  // leading blanks are passed over
}

TEST_F(WorkDirTest, MissingFilesFoldersAndPathsReadNothing) {
    std::filesystem::create_directory(dir.path() / "folder.regular_picture");
    EXPECT_FALSE(dir.readText("missing.Time"));
    EXPECT_FALSE(dir.readText("folder.regular_picture"));
    EXPECT_FALSE(dir.readText("../etc/passwd"));
    EXPECT_FALSE(dir.writeText("sub/evil.Time", "1"));
    EXPECT_TRUE(dir.list("*.regular_picture").empty());
}

TEST_F(WorkDirTest, ListsOnlyMatchingFilesSorted) {
    for (const char* name : {"b.regular_picture", "A.regular_picture", "c.animation_picture", "notes.txt"}) make(name, "x");
    EXPECT_EQ(dir.list("*.regular_picture"), (std::vector<std::string>{"A.regular_picture", "b.regular_picture"}));
    EXPECT_EQ(dir.list("*.animation_picture"), (std::vector<std::string>{"c.animation_picture"}));
}

QByteArray encoded(const char* format) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

const QSize screen(1280, 800);

TEST(Pictures, TheFormatIsDecidedByContentNotName) {
    for (const char* format : {"BMP", "PNG", "JPG"}) {
        const auto picture = loadPictureData(encoded(format), screen);
        ASSERT_TRUE(picture) << format;
        EXPECT_EQ(picture->size(), QSize(64, 48)) << format;
    }
}

TEST(Pictures, BadFilesAreRefused) {
    const QByteArray png = encoded("PNG");
    QByteArray huge = encoded("BMP");
    // A BMP header claiming 40000 × 40000 pixels: more than the cap allows.
    for (int at : {18, 22}) {
        huge[at] = static_cast<char>(0x40);
        huge[at + 1] = static_cast<char>(0x9C);
        huge[at + 2] = 0;
        huge[at + 3] = 0;
    }
    const std::array<QByteArray, 4> bad{QByteArray(), QByteArray("just some text, not a picture"), png.left(png.size() / 3), huge};
    for (const QByteArray& bytes : bad) EXPECT_FALSE(loadPictureData(bytes, screen)) << bytes.size() << " bytes";
}

TEST(Pictures, BuiltInPicturesAreWrittenAsEightBitBmpAndReadBack) {
    struct Case {
        QImage picture;
        QSize size;
    };
    const std::array<Case, 2> cases{{{builtinWindowPicture(), {800, 600}}, {builtinAnimationPicture(), {267, 236}}}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.picture.size(), c.size);
        const QByteArray bytes = encodeBmp8(c.picture);
        EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 8);
        EXPECT_EQ(bytes.size(), 14 + 40 + 1024 + ((c.size.width() + 3) & ~3) * c.size.height());
        const auto back = loadPictureData(bytes, screen);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->convertToFormat(QImage::Format_RGB32), c.picture.convertToFormat(QImage::Format_RGB32));
    }
}

}  // namespace
}  // namespace pelorix
