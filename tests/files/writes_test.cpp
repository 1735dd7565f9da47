// SPDX-License-Identifier: MIT
// Writes that never lose or leak: faults keep the old file whole, links and folders are left alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pictures/pictureimport.h"
#include "files/tempfiles.h"
#include "files/workdir.h"

namespace pelorix {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::string> entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
}

class Writes : public ::testing::Test {
protected:
    QTemporaryDir work, outside;
    fs::path dir() const { return work.path().toStdString(); }
    fs::path away() const { return outside.path().toStdString(); }
    const std::string old = "old content, whole\r\n";
    const std::string fresh = std::string(20000, 'n');
};

TEST_F(Writes, FaultsLeaveTheOldFileWholeAndNoTemporaryBehind) {
    struct Fault {
        const char* what;
        std::function<void(FileCalls&)> inject;
        bool fails = true;         // a settings write and a new file both fail, leaving nothing
        bool newFileFails = true;  // a new file (an import's, say) fails too
    };
    const std::vector<Fault> faults{
        {"disk full midway", [](FileCalls& c) {
             long budget = 4096;
             c.write = [budget](int fd, const void* data, size_t size) mutable -> ssize_t {
                 if (budget <= 0) {
                     errno = ENOSPC;
                     return -1;
                 }
                 const auto n = static_cast<size_t>(std::min<long>(budget, static_cast<long>(size)));
                 budget -= static_cast<long>(n);
                 return ::write(fd, data, n);
             };
         }},
        {"nothing written at all", [](FileCalls& c) {
             c.write = [](int, const void*, size_t) -> ssize_t {
                 errno = ENOSPC;
                 return -1;
             };
         }},
        {"sync fails", [](FileCalls& c) {
             c.fsync = [](int) {
                 errno = EIO;
                 return -1;
             };
         }},
        {"folder refuses new files", [](FileCalls& c) {
             c.open = [](const char*, int, mode_t) {
                 errno = EACCES;
                 return -1;
             };
         }},
        {"rename fails", [](FileCalls& c) {
             c.rename = [](const char*, const char*) {
                 errno = EXDEV;
                 return -1;
             };
         }, true, false},  // a new file is linked into place, never renamed
        {"every other write interrupted by a signal", [](FileCalls& c) {
             c.write = [interrupt = true](int fd, const void* data, size_t size) mutable -> ssize_t {
                 interrupt = !interrupt;
                 if (!interrupt) return ::write(fd, data, std::min<size_t>(size, 7));
                 errno = EINTR;
                 return -1;
             };
         }, false, false},
        {"the first temporary names taken", [](FileCalls& c) {
             c.open = [taken = 2](const char* path, int flags, mode_t mode) mutable {
                 if (taken-- > 0) {
                     errno = EEXIST;
                     return -1;
                 }
                 return ::open(path, flags, mode);
             };
         }, false, false},
    };
    for (const Fault& f : faults) {
        fs::remove_all(dir());
        fs::create_directory(dir());
        put(dir() / "title1.bmp", old);
        FileCalls calls = FileCalls::posix();
        f.inject(calls);
        const WorkDir faulty(dir(), calls);
        EXPECT_EQ(faulty.writeText("title1.bmp", fresh), !f.fails) << f.what;
        EXPECT_EQ(slurp(dir() / "title1.bmp"), f.fails ? old : fresh) << f.what;
        EXPECT_EQ(entries(dir()), std::vector<std::string>{"title1.bmp"}) << f.what;
        // A new file that fails is not left behind half written either.
        EXPECT_EQ(faulty.writeText("title2.bmp", fresh), !f.fails) << f.what;
        EXPECT_EQ(createNewFile(dir(), "new.regular_picture", QByteArray::fromStdString(fresh), calls), !f.newFileFails)
            << f.what;
        std::vector<std::string> made{"title1.bmp"};
        if (!f.fails) made.push_back("title2.bmp");
        if (!f.newFileFails) made.insert(made.begin(), "new.regular_picture");
        EXPECT_EQ(entries(dir()), made) << f.what;
        if (!f.newFileFails) {
            EXPECT_EQ(slurp(dir() / "new.regular_picture"), fresh) << f.what;
        }
    }
}

TEST_F(Writes, LinksAndFoldersInTheFilesPlaceAreLeftAlone) {
    put(away() / "users-file", old);
    fs::create_directory(away() / "users-folder");
    fs::create_symlink(away() / "users-file", dir() / "title1.bmp");
    fs::create_symlink(away() / "not-there", dir() / "title2.bmp");
    fs::create_symlink(away() / "users-folder", dir() / "colour.dcolour");
    fs::create_directory(dir() / "movepiece.Time");
    const WorkDir wd(dir());
    for (const char* name : {"title1.bmp", "title2.bmp", "colour.dcolour", "movepiece.Time", "TITLE2.BMP"})
        EXPECT_FALSE(wd.writeText(name, fresh)) << name;
    EXPECT_EQ(slurp(away() / "users-file"), old);
    EXPECT_EQ(entries(away()), (std::vector<std::string>{"users-file", "users-folder"}));
    EXPECT_TRUE(fs::is_empty(away() / "users-folder"));
    EXPECT_EQ(fs::read_symlink(dir() / "title1.bmp"), away() / "users-file");
    EXPECT_EQ(fs::read_symlink(dir() / "title2.bmp"), away() / "not-there");
    EXPECT_TRUE(fs::is_directory(dir() / "movepiece.Time"));
    EXPECT_EQ(entries(dir()), (std::vector<std::string>{"colour.dcolour", "movepiece.Time", "title1.bmp", "title2.bmp"}));
}

TEST_F(Writes, ReplacesKeepingTheSpellingAndThePermissions) {
    put(dir() / "TITLE1.BMP", old);
    ::chmod((dir() / "TITLE1.BMP").c_str(), 0640);
    const WorkDir wd(dir());
    ASSERT_TRUE(wd.writeText("title1.bmp", fresh));
    EXPECT_EQ(entries(dir()), std::vector<std::string>{"TITLE1.BMP"});
    EXPECT_EQ(slurp(dir() / "TITLE1.BMP"), fresh);
    struct stat st {};
    ASSERT_EQ(::stat((dir() / "TITLE1.BMP").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(Writes, SeveralSpellingsMeanTheFirstInByteOrderForReadersAndWriters) {
    put(dir() / "animation.time", " 0 \r\n");
    put(dir() / "animation.Time", " 0 \r\n");
    put(dir() / "ANIMATION.TIME", " 0 \r\n");
    const WorkDir wd(dir());
    ASSERT_TRUE(wd.writeText("animation.Time", " 1 \r\n"));
    EXPECT_EQ(slurp(dir() / "ANIMATION.TIME"), " 1 \r\n");
    for (const char* asked : {"animation.time", "animation.Time", "Animation.TIME"})
        EXPECT_EQ(wd.readText(asked), "1 \r\n") << asked;
    EXPECT_EQ(chosenSpelling({"b", "a.Time", "a.time", "A.TIME"}), "A.TIME");
}

TEST_F(Writes, LeadingBlanksOfAnyLengthArePassedOverOnRead) {
    put(dir() / "movepiece.Time", std::string(200000, ' ') + "\r\n 25 \r\n");
    EXPECT_EQ(WorkDir(dir()).readText("movepiece.Time"), "25 \r\n");
}

TEST_F(Writes, NamesThatAreNotUtf8AreListedReadAndWritten) {
    const std::string name = "caf\xE9.regular_picture";
    put(dir() / name, "bytes");
    const WorkDir wd(dir());
    EXPECT_EQ(wd.list("*.regular_picture"), std::vector<std::string>{name});
    EXPECT_EQ(wd.find(name), dir() / name);
    EXPECT_TRUE(wd.writeText(name, "more"));
    EXPECT_EQ(slurp(dir() / name), "more");
    fs::remove(dir() / name);  // QTemporaryDir cannot remove a name that is not UTF-8
}

TEST_F(Writes, TemporariesOfKilledWritesGoAndNothingElseIsTouched) {
    const std::string dead = "2147483647";  // above every kernel's largest process id
    const std::string live = std::to_string(::getppid());
    const std::string self = std::to_string(::getpid());
    enum Kind { File, Link, Fresh };
    struct Entry {
        std::string name;
        bool removed;
        Kind kind = File;
    };
    const std::vector<Entry> table{
        {".movepiece.Time." + dead + ".3.tmp", true},
        {".title1.bmp." + dead + ".12.tmp", true},
        {".beach.regular_pic.colour." + self + ".1.tmp", true},  // an earlier process had this id
        {".pelorix-" + dead + ".7.part", true},
        {".pelorix-3735928559.part", true},  // an import's name of one number only, no process id in it
        {".movepiece.Time." + live + ".3.tmp", false},  // the test's parent is running
        {".movepiece.Time." + self + ".99.tmp", false},  // in use by this process, below
        {".movepiece.Time." + dead + ".4.tmp", false, Fresh},
        {".users-link." + dead + ".1.tmp", false, Link},
        // Neighbours that only look like temporaries.
        {"movepiece.Time." + dead + ".3.tmp", false},
        {".movepiece.Time." + dead + ".3.tmp~", false},
        {".movepiece.Time." + dead + ".3.TMP", false},
        {".movepiece.Time." + dead + ".tmp", false},
        {"." + dead + ".3.tmp", false},
        {"..5.3.tmp", false},
        {".movepiece.Time.0.3.tmp", false},
        {".movepiece.Time.0123.3.tmp", false},
        {".movepiece.Time." + dead + ".x.tmp", false},
        {".pelorix-.part", false},
        {".pelorix-" + dead + ".7.8.part", false},
        {".pelorix-" + dead + ".07.part", false},
        {".pelorix-4294967296.part", false},
        {".Pelorix-" + dead + ".7.part", false},
        {"pelorix-" + dead + ".7.part", false},
        {"title1.bmp", false},
    };
    put(away() / "users-file", old);
    const TemporaryInUse writing(".movepiece.Time." + self + ".99.tmp");
    std::vector<std::string> kept;
    for (const Entry& e : table) {
        if (e.kind == Link)
            fs::create_symlink(away() / "users-file", dir() / e.name);
        else
            put(dir() / e.name, old);
        const timespec hourAgo[2]{{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        if (e.kind != Fresh) ::utimensat(AT_FDCWD, (dir() / e.name).c_str(), hourAgo, AT_SYMLINK_NOFOLLOW);
        if (!e.removed) kept.push_back(e.name);
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(removeStaleTemporaries(dir()), 5);
    EXPECT_EQ(entries(dir()), kept);
    EXPECT_EQ(slurp(away() / "users-file"), old);
}

TEST_F(Writes, AFullSmallDiskKeepsTheOldFile) {
    // A real full disk: a tiny tmpfs, where this sandbox lets us mount one.
    const fs::path mnt = dir() / "small";
    fs::create_directory(mnt);
    if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << "); the fault layer covers a full disk";
    put(mnt / "title1.bmp", old);
    const WorkDir wd(mnt);
    EXPECT_FALSE(wd.writeText("title1.bmp", std::string(200 * 1024, 'x')));
    EXPECT_EQ(slurp(mnt / "title1.bmp"), old);
    EXPECT_EQ(entries(mnt), std::vector<std::string>{"title1.bmp"});
    EXPECT_TRUE(wd.writeText("title1.bmp", "fits"));
    EXPECT_EQ(slurp(mnt / "title1.bmp"), "fits");
    ::umount(mnt.c_str());
}

TEST_F(Writes, AnUnwritableFolderRefusesAndKeepsTheOldFile) {
    put(dir() / "title1.bmp", old);
    FileCalls calls = FileCalls::posix();
    if (::geteuid() == 0) {
        // The superuser writes into any folder: the folder's refusal comes through the fault layer,
        // as a folder without write permission gives it (its files stay writable in place).
        auto posixOpen = calls.open;
        calls.open = [posixOpen](const char* path, int flags, mode_t mode) {
            if ((flags & O_CREAT) != 0) {
                errno = EACCES;
                return -1;
            }
            return posixOpen(path, flags, mode);
        };
        calls.rename = [](const char*, const char*) {
            errno = EACCES;
            return -1;
        };
    } else {
        ::chmod(dir().c_str(), 0555);
    }
    const WorkDir wd(dir(), calls);
    EXPECT_FALSE(wd.writeText("title1.bmp", fresh));
    EXPECT_FALSE(wd.writeText("title2.bmp", fresh));
    ::chmod(dir().c_str(), 0755);
    EXPECT_EQ(slurp(dir() / "title1.bmp"), old);
    EXPECT_EQ(entries(dir()), std::vector<std::string>{"title1.bmp"});
}

}  // namespace
}  // namespace pelorix
