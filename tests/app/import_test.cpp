// SPDX-License-Identifier: MIT
// Importing a picture into a folder: the names it takes, what it refuses, and that nothing is replaced.
#include <gtest/gtest.h>

#include <QPainter>
#include <fstream>
#include <QTemporaryDir>
#include <QTransform>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hostile.h"
#include "pictures/pictureimport.h"
#include "testfiles.h"

namespace pelorix::testing {
namespace {

namespace fs = std::filesystem;
using Outcome = ImportResult::Outcome;

class Import : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        from = fs::path(temp.path().toStdString()) / "from";
        into = fs::path(temp.path().toStdString()) / "into";
        fs::create_directories(from);
        fs::create_directories(into);
    }
    QString source(const std::string& name, const QByteArray& bytes) {
        writeBytes(from / name, bytes);
        return qpath(from / name);
    }

    QTemporaryDir temp;
    fs::path from, into;
};

TEST(ImportName, Table) {
    const struct {
        QString in, out;
    } cases[] = {
        {"beach.jpg", "beach.regular_picture"},
        {"beach", "beach.regular_picture"},
        {"beach.regular_picture", "beach.regular_picture"},
        {"holiday.2024.png", "holiday.2024.regular_picture"},
        {"Ferien am Meer – Zürich.jpeg", "Ferien am Meer – Zürich.regular_picture"},
        {".hidden.png", "hidden.regular_picture"},
        {"...", "picture.regular_picture"},
        {" .png", "picture.regular_picture"},
        {"tab\there\nnow.png", "tab_here_now.regular_picture"},
    };
    for (const auto& c : cases) EXPECT_EQ(importName(c.in), c.out) << c.in.toStdString();
    // Long names are cut to fit a file name, never in the middle of a character.
    const QString longName = QString(300, QChar(0x00E9)) + QStringLiteral(".png");
    const QString cut = importName(longName);
    EXPECT_LE(QFile::encodeName(cut).size(), 255);
    EXPECT_EQ(cut, QString(100, QChar(0x00E9)) + QStringLiteral(".regular_picture"));
    EXPECT_EQ(numberedName(QStringLiteral("beach.regular_picture"), 2), QStringLiteral("beach 2.regular_picture"));
}

TEST_F(Import, PreparesAPictureUnderItsNewName) {
    const QByteArray bytes = pngBytes(1);
    const ImportResult r = importPicture(source("Ferien am Meer ü.jpg", bytes), into);
    ASSERT_EQ(r.outcome, Outcome::Added) << r.message.toStdString();
    EXPECT_EQ(r.name, QStringLiteral("Ferien am Meer ü.regular_picture"));
    EXPECT_EQ(pictureSize(into / "Ferien am Meer ü.regular_picture"), QSize(754, 385));
    EXPECT_EQ(QImageReader(qpath(into / "Ferien am Meer ü.regular_picture")).format(), "jpeg");
    // Stored at quality 90: its quantization tables are those of a JPEG written at 90.
    const auto quantTables = [](const QByteArray& jpeg) {
        QByteArray tables;
        for (qsizetype at = jpeg.indexOf("\xFF\xDB"); at >= 0 && at + 4 <= jpeg.size(); at = jpeg.indexOf("\xFF\xDB", at + 2))
            tables += jpeg.mid(at, ((static_cast<uchar>(jpeg[at + 2]) << 8) | static_cast<uchar>(jpeg[at + 3])) + 2);
        return tables;
    };
    const QByteArray stored = readBytes(into / "Ferien am Meer ü.regular_picture");
    QImage sample(16, 16, QImage::Format_RGB32);
    sample.fill(Qt::gray);
    EXPECT_EQ(quantTables(stored), quantTables(encoded(sample, "JPEG", 90)));
    EXPECT_NE(quantTables(stored), quantTables(encoded(sample, "JPEG", 89)));
    EXPECT_EQ(namesIn(into), (std::set<std::string>{"Ferien am Meer ü.regular_picture"}));  // no temporary left
    EXPECT_EQ(readBytes(from / "Ferien am Meer ü.jpg"), bytes);  // the original stays
    // A picture with transparent pixels keeps them, in a PNG.
    QImage clear(40, 30, QImage::Format_ARGB32);
    clear.fill(qRgba(10, 200, 30, 100));
    ASSERT_EQ(importPicture(source("glass.png", encoded(clear, "PNG")), into, QSize(80, 60)).outcome, Outcome::Added);
    const QImage glass(qpath(into / "glass.regular_picture"));
    EXPECT_EQ(glass.size(), QSize(80, 60));
    EXPECT_EQ(qAlpha(glass.pixel(40, 30)), 100);
}

// Imports `photo` once the address space may grow by no more than 128 MiB: 0 when it was added.
int importUnderLimit(const QString& photo, const fs::path& into) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlimit limit{static_cast<rlim_t>(pages) * 4096 + (128u << 20), RLIM_INFINITY};
    if (setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    return importPicture(photo, into).outcome == Outcome::Added ? 0 : 1;
}

// Reading the file asks for a buffer of the file's size, not of the largest import: under an
// address-space limit of 128 MiB above what the process holds, a small photo is still added.
TEST_F(Import, AnImportReservesOnlyWhatTheFileHolds) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#else
    const QString photo = source("photo.jpg", encoded(patterned(400, 300), "JPG", 90));
    EXPECT_EXIT(std::_Exit(importUnderLimit(photo, into)), ::testing::ExitedWithCode(0), "");
#endif
}

// The prepared picture of photos stored as cameras store them: upright by the orientation tag,
// scaled to cover the area, cut around the centre. The upright content is four coloured quarters
// in a white frame an eighth of each side thick; the cut takes the frame off two opposite sides.
TEST_F(Import, APhotoIsTurnedUprightScaledToCoverAndCutAroundTheCentre) {
    // Each is prepared at the finest density up to 4 pixels a unit that it has the pixels for, in
    // hundredths, and records it; smaller ones at 1, scaled up.
    const struct {
        QSize upright, area;
        bool keepsHeight;  // the whole height is shown and the sides are cut, or the other way round
        const char* density;
        QSize stored;
    } cases[] = {
        {{1600, 500}, {754, 385}, true, "1.29", {973, 497}},  {{800, 1600}, {754, 385}, false, "1.06", {799, 408}},
        {{900, 900}, {754, 385}, false, "1.19", {897, 458}},  {{300, 100}, {754, 385}, true, "1", {754, 385}},
        {{150, 300}, {754, 385}, false, "1", {754, 385}},     {{160, 160}, {754, 385}, false, "1", {754, 385}},
        {{600, 1200}, {754, 385}, false, "1", {754, 385}},    {{900, 900}, {200, 300}, true, "3", {600, 900}},
        {{160, 160}, {200, 300}, true, "1", {200, 300}},      {{4200, 1540}, {754, 385}, true, "4", {3016, 1540}},
    };
    // The turn each tag asks a viewer for, so the camera stored the picture turned back; tag 0
    // stands for a PNG, which the decoder cannot scale while reading.
    const std::pair<int, int> tags[] = {{0, 0}, {1, 0}, {3, 180}, {6, 90}, {8, 270}};
    const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255),
               yellow = qRgb(255, 255, 0);
    auto nearest = [&](QRgb c) {
        QRgb best = white;
        for (QRgb k : {white, red, green, blue, yellow})
            if (std::abs(qRed(c) - qRed(k)) + std::abs(qGreen(c) - qGreen(k)) + std::abs(qBlue(c) - qBlue(k)) <
                std::abs(qRed(c) - qRed(best)) + std::abs(qGreen(c) - qGreen(best)) + std::abs(qBlue(c) - qBlue(best)))
                best = k;
        return best;
    };
    int n = 0;
    for (const auto& c : cases) {
        QImage upright(c.upright, QImage::Format_RGB32);
        upright.fill(white);
        const int w = c.upright.width(), h = c.upright.height(), bw = w / 8, bh = h / 8;
        QPainter paint(&upright);
        paint.fillRect(QRect(QPoint(bw, bh), QPoint(w / 2 - 1, h / 2 - 1)), red);
        paint.fillRect(QRect(QPoint(w / 2, bh), QPoint(w - bw - 1, h / 2 - 1)), green);
        paint.fillRect(QRect(QPoint(bw, h / 2), QPoint(w / 2 - 1, h - bh - 1)), blue);
        paint.fillRect(QRect(QPoint(w / 2, h / 2), QPoint(w - bw - 1, h - bh - 1)), yellow);
        paint.end();
        for (const auto& [tag, turn] : tags) {
            // A photo of many megapixels costs its time in its pixels: it is taken once, as a JPEG
            // turned a quarter; the other turns and PNG are the smaller photos' concern.
            if (w * h > 4000000 && tag != 6) continue;
            SCOPED_TRACE(::testing::Message() << w << "x" << h << " into " << c.area.width() << "x" << c.area.height()
                                            << ", tag " << tag);
            const QImage stored = upright.transformed(QTransform().rotate(-turn));
            const std::string name = "photo" + std::to_string(++n) + ".jpg";
            const QByteArray bytes = tag == 0 ? encoded(stored, "PNG") : withOrientation(encoded(stored, "JPG", 95), tag);
            const ImportResult r = importPicture(source(name, bytes), into, c.area);
            ASSERT_EQ(r.outcome, Outcome::Added) << r.message.toStdString();
            QImageReader reader(qpath(into / r.name.toStdString()));
            EXPECT_EQ(reader.text(QStringLiteral("Pelorix-Density")), QLatin1String(c.density));
            const QImage out = reader.read();
            ASSERT_EQ(out.size(), c.stored);
            const int aw = c.stored.width(), ah = c.stored.height();
            EXPECT_EQ(nearest(out.pixel(aw / 4, ah / 4)), red);
            EXPECT_EQ(nearest(out.pixel(3 * aw / 4, ah / 4)), green);
            EXPECT_EQ(nearest(out.pixel(aw / 4, 3 * ah / 4)), blue);
            EXPECT_EQ(nearest(out.pixel(3 * aw / 4, 3 * ah / 4)), yellow);
            EXPECT_EQ(nearest(out.pixel(aw / 4, 2)), c.keepsHeight ? white : red);
            EXPECT_EQ(nearest(out.pixel(3 * aw / 4, ah - 3)), c.keepsHeight ? white : yellow);
            EXPECT_EQ(nearest(out.pixel(2, ah / 4)), c.keepsHeight ? red : white);
            EXPECT_EQ(nearest(out.pixel(aw - 3, 3 * ah / 4)), c.keepsHeight ? yellow : white);
        }
    }
}

TEST_F(Import, ATakenNameGetsANumberAndTheOldFileIsKept) {
    writeBytes(into / "beach.regular_picture", "mine");
    writeBytes(into / "BEACH 2.Regular_Picture", "mine too");  // the game matches names ignoring case
    fs::create_symlink(into / "nowhere", into / "beach 3.regular_picture");  // a dangling link is taken too
    const ImportResult r = importPicture(source("beach.png", pngBytes(2)), into);
    ASSERT_EQ(r.outcome, Outcome::Added);
    EXPECT_EQ(r.name, QStringLiteral("beach 4.regular_picture"));
    EXPECT_EQ(readBytes(into / "beach.regular_picture"), "mine");
    EXPECT_EQ(readBytes(into / "BEACH 2.Regular_Picture"), "mine too");
    EXPECT_TRUE(fs::is_symlink(into / "beach 3.regular_picture"));
    EXPECT_FALSE(fs::exists(into / "nowhere"));  // nothing written through the link
    EXPECT_EQ(pictureSize(into / "beach 4.regular_picture"), QSize(754, 385));  // a small picture, at 1 a unit
}

TEST_F(Import, RefusesWhatIsNotAPictureAndWritesNothing) {
    mkfifo((from / "pipe.png").c_str(), 0600);  // would block a reader: refused before opening
    fs::create_directories(from / "folder.png");
    const struct {
        const char* what;
        QString path;
        Outcome outcome;
        const char* why;
    } cases[] = {
        {"text", source("notes.png", "just some words"), Outcome::NotPicture, ": not a picture;"},
        {"a PNG cut short", source("cut.png", pngBytes().left(40)), Outcome::NotPicture, ": damaged;"},
        {"an empty file", source("empty.jpg", QByteArray()), Outcome::NotPicture, ": not a picture;"},
        {"a JPEG cut in half", source("half.jpg", encoded(patterned(200, 150), "JPG", 90).left(3000)), Outcome::NotPicture,
         ": damaged;"},
        {"a JPEG of too many scans", source("scans.jpg", jpegRepeatingScans(500)), Outcome::NotPicture,
         ": too large to prepare;"},
        {"a missing file", qpath(from / "missing.png"), Outcome::Unreadable, "nothing added"},
        {"a folder", qpath(from / "folder.png"), Outcome::Unreadable, "nothing added"},
        {"a pipe", qpath(from / "pipe.png"), Outcome::Unreadable, "nothing added"},
        {"a file whose reading fails", QStringLiteral("/proc/self/mem"), Outcome::Unreadable, "nothing added"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportResult r = importPicture(c.path, into);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_TRUE(r.message.contains(QLatin1String(c.why))) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QStringLiteral("nothing added"))) << r.message.toStdString();
    }
    // Sixteen bits a channel: 512 MB to decode, more than the largest photo costs.
    const ImportResult bomb =
        importPicture(source("bomb.png", zeroPng(8000, 8000, 2, 16)), into, QSize(754, 385), QSize(1920, 1080));
    EXPECT_TRUE(bomb.message.contains(QStringLiteral(": too large to prepare;"))) << bomb.message.toStdString();
    EXPECT_TRUE(namesIn(into).empty());
}

TEST_F(Import, RefusesAFileItCannotRead) {
    // Files the system will not let the program open or read, for any user, the superuser too.
    const QString path = source("locked.png", pngBytes());
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    const int lowest = open("/dev/null", O_RDONLY | O_CLOEXEC);  // the descriptor the next open takes
    ASSERT_GE(lowest, 0);
    close(lowest);
    rlimit noMore = files;
    noMore.rlim_cur = static_cast<rlim_t>(lowest);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &noMore), 0);
    const ImportResult notOpened = importPicture(path, into);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
    EXPECT_EQ(notOpened.outcome, Outcome::Unreadable) << notOpened.message.toStdString();
    // Opens, but every read fails: the process's own memory from address 0.
    EXPECT_EQ(importPicture(QStringLiteral("/proc/self/mem"), into).outcome, Outcome::Unreadable);
    // Without read permission, for every user but the superuser.
    if (geteuid() != 0) {
        ASSERT_EQ(chmod((from / "locked.png").c_str(), 0), 0);
        EXPECT_EQ(importPicture(path, into).outcome, Outcome::Unreadable);
    }
    EXPECT_TRUE(namesIn(into).empty());
}

TEST_F(Import, AFolderThatRefusesWritesReportsIt) {
    const ImportResult r = importPicture(source("beach.png", pngBytes()), into / "missing");
    EXPECT_EQ(r.outcome, Outcome::WriteFailed);
    // A picture of the current folder is not "already there" in a folder that does not exist.
    const fs::path previous = fs::current_path();
    fs::current_path(from);
    const ImportResult again = importPicture(source("dune.regular_picture", pngBytes()), into / "missing");
    fs::current_path(previous);
    EXPECT_EQ(again.outcome, Outcome::WriteFailed);
    // The new file goes through the calls given: a disk that fails to sync refuses it, leaving nothing.
    FileCalls failing = FileCalls::posix();
    failing.fsync = [](int) {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(importPicture(source("beach.png", pngBytes()), into, QSize(754, 385), QSize(1920, 1080), failing).outcome,
              Outcome::WriteFailed);
    EXPECT_TRUE(namesIn(into).empty());
}

TEST_F(Import, APictureAlreadyInTheFolderIsNotCopiedAgain) {
    writeBytes(into / "harbour.regular_picture", pngBytes(3));
    const ImportResult r = importPicture(qpath(into / "harbour.regular_picture"), into);
    EXPECT_EQ(r.outcome, Outcome::AlreadyThere);
    EXPECT_EQ(namesIn(into), (std::set<std::string>{"harbour.regular_picture"}));
}

TEST_F(Import, CreateNewFileNeverReplaces) {
    writeBytes(into / "taken", "old");
    fs::create_symlink(from / "target", into / "link");
    EXPECT_FALSE(createNewFile(into, "taken", "new"));
    EXPECT_FALSE(createNewFile(into, "link", "new"));
    EXPECT_FALSE(createNewFile(into, "../escape", "new"));
    EXPECT_FALSE(createNewFile(into, "..", "new"));
    EXPECT_FALSE(createNewFile(into, "", "new"));
    EXPECT_EQ(readBytes(into / "taken"), "old");
    EXPECT_FALSE(fs::exists(from / "target"));
    EXPECT_FALSE(fs::exists(from / "escape") || fs::exists(temp.path().toStdString() + "/escape"));
    EXPECT_TRUE(createNewFile(into, "fresh", "new"));
    EXPECT_EQ(readBytes(into / "fresh"), "new");
    EXPECT_EQ(namesIn(into), (std::set<std::string>{"fresh", "link", "taken"}));  // no temporary left
}

}  // namespace
}  // namespace pelorix::testing
