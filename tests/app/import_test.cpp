// Importing a picture into a folder: the names it takes, what it refuses, and that nothing is replaced.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/qt/pictureimport.h"
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

TEST_F(Import, CopiesAPictureUnderItsNewName) {
    const QByteArray bytes = pngBytes(1);
    const ImportResult r = importPicture(source("Ferien am Meer ü.jpg", bytes), into);
    ASSERT_EQ(r.outcome, Outcome::Added) << r.message.toStdString();
    EXPECT_EQ(r.name, QStringLiteral("Ferien am Meer ü.regular_picture"));
    EXPECT_EQ(readBytes(into / "Ferien am Meer ü.regular_picture"), bytes);
    EXPECT_EQ(namesIn(into), (std::set<std::string>{"Ferien am Meer ü.regular_picture"}));  // no temporary left
    EXPECT_EQ(readBytes(from / "Ferien am Meer ü.jpg"), bytes);  // the original stays
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
    EXPECT_EQ(readBytes(into / "beach 4.regular_picture"), pngBytes(2));
}

TEST_F(Import, RefusesWhatIsNotAPictureAndWritesNothing) {
    mkfifo((from / "pipe.png").c_str(), 0600);  // would block a reader: refused before opening
    fs::create_directories(from / "folder.png");
    const struct {
        const char* what;
        QString path;
        Outcome outcome;
    } cases[] = {
        {"text", source("notes.png", "just some words"), Outcome::NotPicture},
        {"a truncated PNG", source("cut.png", pngBytes().left(40)), Outcome::NotPicture},
        {"an empty file", source("empty.jpg", QByteArray()), Outcome::NotPicture},
        {"a missing file", qpath(from / "missing.png"), Outcome::Unreadable},
        {"a folder", qpath(from / "folder.png"), Outcome::Unreadable},
        {"a pipe", qpath(from / "pipe.png"), Outcome::Unreadable},
        {"a file whose reading fails", QStringLiteral("/proc/self/mem"), Outcome::Unreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportResult r = importPicture(c.path, into);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_TRUE(r.message.contains(QStringLiteral("nothing added"))) << r.message.toStdString();
    }
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
