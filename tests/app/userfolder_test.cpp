// SPDX-License-Identifier: MIT
// The user's Pelorix folder: where it is, and seeding it with the samples once, when it is made.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "testfiles.h"
#include "app/desktop.h"
#include "app/userfolder.h"

namespace pelorix::testing {
namespace {

namespace fs = std::filesystem;

// Points the desktop's standard folders into a temporary home for one test.
class FakeHome : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        home = fs::path(temp.path().toStdString());
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) saved.emplace_back(name, qgetenv(name));
        qputenv("HOME", QByteArray::fromStdString(home.string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / ".config").string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home / ".local/share").string()));
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    QTemporaryDir temp;
    fs::path home;
    std::vector<std::pair<const char*, QByteArray>> saved;
};

TEST_F(FakeHome, WithoutAPicturesFolderTheDataFolderIsUsedAndNothingIsMade) {
    EXPECT_EQ(app::pelorixFolderPath(), home / ".local/share/pelorix/Pelorix");
    EXPECT_TRUE(namesIn(home).empty());
}

TEST_F(FakeHome, ThePicturesFolderHoldsIt) {
    fs::create_directories(home / "Pictures");
    EXPECT_EQ(app::pelorixFolderPath(), home / "Pictures/Pelorix");
    EXPECT_FALSE(fs::exists(home / "Pictures/Pelorix"));
}

TEST_F(FakeHome, TheUsersOwnPicturesFolderNameIsFollowed) {
    fs::create_directories(home / ".config");
    fs::create_directories(home / "Bilder");
    writeBytes(home / ".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(app::pelorixFolderPath(), home / "Bilder/Pelorix");
}

class Seeding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        const fs::path root(temp.path().toStdString());
        samples = root / "samples";
        folder = root / "Pictures" / "Pelorix";
        fs::create_directories(samples);
        writeBytes(samples / "harbour.regular_picture", pngBytes(1));
        writeBytes(samples / "meadow.regular_picture", pngBytes(2));
        writeBytes(samples / "balloon.animation_picture", pngBytes(3));
    }

    QTemporaryDir temp;
    fs::path samples, folder;
};

TEST_F(Seeding, FirstUseMakesTheFolderWithEverySample) {
    const app::SeedResult r = app::preparePelorixFolder(folder, samples);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.created);
    EXPECT_EQ(r.copied.size(), 3);
    EXPECT_EQ(namesIn(folder),
              (std::set<std::string>{"balloon.animation_picture", "harbour.regular_picture", "meadow.regular_picture"}));
    EXPECT_EQ(readBytes(folder / "meadow.regular_picture"), pngBytes(2));
}

TEST_F(Seeding, LaterStartsAddNothingAndKeepTheUsersFiles) {
    ASSERT_TRUE(app::preparePelorixFolder(folder, samples).ok);
    fs::remove(folder / "meadow.regular_picture");                   // deleted: stays deleted
    writeBytes(folder / "harbour.regular_picture", "edited by me");  // changed: kept
    writeBytes(folder / "mine.regular_picture", pngBytes(9));       // the user's own: kept
    writeBytes(samples / "extra.regular_picture", pngBytes(4));      // a sample of a later version
    const std::set<std::string> before = namesIn(folder);

    const app::SeedResult r = app::preparePelorixFolder(folder, samples);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.created);
    EXPECT_TRUE(r.copied.isEmpty());
    EXPECT_EQ(namesIn(folder), before);
    EXPECT_EQ(readBytes(folder / "harbour.regular_picture"), "edited by me");
    EXPECT_EQ(readBytes(folder / "mine.regular_picture"), pngBytes(9));
}

TEST_F(Seeding, AFileWhereTheFolderShouldBeIsReportedAndKept) {
    fs::create_directories(folder.parent_path());
    writeBytes(folder, "not a folder");
    const app::SeedResult r = app::preparePelorixFolder(folder, samples);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("cannot create"))) << r.message.toStdString();
    EXPECT_EQ(readBytes(folder), "not a folder");
}

TEST_F(Seeding, NoSamplesStillMakesTheFolder) {
    const app::SeedResult r = app::preparePelorixFolder(folder, {});
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(r.copied.isEmpty());
}

TEST(Desktop, TheWindowIconIsTheProgramsOwnWhereTheThemeHasNone) {
    const QTemporaryDir noThemes;
    const QStringList searched = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({noThemes.path()});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    const QIcon icon = app::windowIcon();
    QIcon::setThemeSearchPaths(searched);
    QIcon::setThemeName(theme);
    // Each of the theme's sizes, drawn for it, not one picture scaled.
    QList<QSize> sizes;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) sizes << QSize(side, side);
    EXPECT_EQ(icon.availableSizes(), sizes);
}

}  // namespace
}  // namespace pelorix::testing
