// SPDX-License-Identifier: MIT
// The command line as one table: arguments in; action, folder, exit status and message out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

#include <vector>

#include "app/commandline.h"

namespace pelorix::app {
namespace {

using Action = CommandLine::Action;

struct Case {
    const char* name;
    QStringList args;        // after the program name; "@" stands for the temporary folder
    Action action;
    int status;
    QString folder;          // relative to the temporary folder; "-" for no folder
    QString messageHas;      // a piece of the message; empty: no message
    QString saverWindow = {};  // the value of XSCREENSAVER_WINDOW; empty: unset
};

TEST(CommandLine, Table) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString root = temp.path();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("pics/sub")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("my pictures ü")));
    QFile plain(root + QStringLiteral("/plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    const Case cases[] = {
        {"no arguments: the current folder", {}, Action::Play, 0, ".", ""},
        {"a folder", {"pics"}, Action::Play, 0, "pics", ""},
        {"a nested folder with a slash", {"pics/sub/"}, Action::Play, 0, "pics/sub", ""},
        {"an absolute folder", {"@/pics"}, Action::Play, 0, "pics", ""},
        {"spaces and non-ASCII", {"my pictures ü"}, Action::Play, 0, "my pictures ü", ""},
        {"a name after --", {"--", "pics"}, Action::Play, 0, "pics", ""},
        {"help", {"--help"}, Action::Print, 0, "-", "Usage: pelorix"},
        {"help, short", {"-h"}, Action::Print, 0, "-", "--user-folder"},
        {"help wins over an error in the folder", {"--help", "nowhere"}, Action::Print, 0, "-", "Usage"},
        {"version", {"--version"}, Action::Print, 0, "-", "pelorix 9.8.7\n"},
        {"version, short", {"-v"}, Action::Print, 0, "-", "pelorix 9.8.7"},
        {"version names the licence", {"--version"}, Action::Print, 0, "-", "\nMIT License: "},
        {"unknown option", {"--bogus"}, Action::Print, 2, "-", "pelorix: Unknown option 'bogus'"},
        {"unknown short option", {"-x"}, Action::Print, 2, "-", "Unknown option 'x'"},
        {"two folders", {"pics", "pics/sub"}, Action::Print, 2, "-", "at most one folder"},
        {"a missing folder", {"nowhere"}, Action::Print, 2, "-", "no such folder: nowhere"},
        {"a file, not a folder", {"plain.txt"}, Action::Print, 2, "-", "not a folder: plain.txt"},
        {"the user folder", {"--user-folder"}, Action::Play, 0, "-", ""},
        {"the user folder, short", {"-u"}, Action::Play, 0, "-", ""},
        {"the user folder and a folder", {"-u", "pics"}, Action::Print, 2, "-", "not both"},
        {"add files", {"--add", "a.png", "b c.jpg"}, Action::Add, 0, ".", ""},
        {"add to the user folder", {"-u", "--add", "a.png"}, Action::Add, 0, "-", ""},
        {"add without files", {"--add"}, Action::Print, 2, "-", "--add needs"},
        {"a screen saver on the root window", {"--root"}, Action::Saver, 0, "-", ""},
        {"a screen saver, the daemons' one-dash form", {"-root"}, Action::Saver, 0, "-", ""},
        {"a screen saver in a window", {"--window-id", "0x2c00007"}, Action::Saver, 0, "-", ""},
        {"a window id of ten decimal digits", {"-window-id", "4294967295"}, Action::Saver, 0, "-", ""},
        {"a screen saver with a folder", {"--root", "pics"}, Action::Saver, 0, "pics", ""},
        {"a screen saver with a missing folder", {"--root", "nowhere"}, Action::Print, 2, "-", "no such folder"},
        {"a window id that does not read", {"-window-id", "0xZZ"}, Action::Print, 2, "-", "not a window id"},
        {"a grid that does not read", {"--root", "--grid", "wide"}, Action::Print, 2, "-", "--grid wants"},
        {"a grid outside screen-saver mode is not looked at", {"--grid", "wide"}, Action::Play, 0, ".", ""},
        {"adding in screen-saver mode", {"--root", "--add", "a.png"}, Action::Print, 2, "-", "screen-saver"},
        {"a stale saver window alone is ignored", {}, Action::Play, 0, ".", "", "0x1a00003"},
        {"a stale saver window that does not read is ignored", {"pics"}, Action::Play, 0, "pics", "", "window"},
        {"adding with a stale saver window", {"--add", "a.png"}, Action::Add, 0, ".", "", "0x1a00003"},
        {"the user folder with a stale saver window", {"-u"}, Action::Play, 0, "-", "", "0x1a00003"},
        {"the saver window with --root", {"-root"}, Action::Saver, 0, "-", "", "0x1a00003"},
        {"a saver window that does not read, with --root", {"--root"}, Action::Print, 2, "-", "XSCREENSAVER_WINDOW", "window"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList args{QStringLiteral("/usr/bin/pelorix")};
        for (QString a : c.args) args << a.replace(QStringLiteral("@"), root);
        const CommandLine got = parseCommandLine(args, root, QStringLiteral("9.8.7"), c.saverWindow);
        EXPECT_EQ(got.action, c.action);
        EXPECT_EQ(got.exitStatus, c.status);
        if (c.folder == QStringLiteral("-")) {
            EXPECT_TRUE(got.folder.isEmpty()) << got.folder.toStdString();
        } else {
            EXPECT_EQ(got.folder, QDir::cleanPath(root + QLatin1Char('/') + c.folder));
        }
        if (c.messageHas.isEmpty()) {
            EXPECT_TRUE(got.message.isEmpty()) << got.message.toStdString();
        } else {
            EXPECT_TRUE(got.message.contains(c.messageHas)) << got.message.toStdString();
        }
        // An error is exactly one line.
        if (c.status != 0) {
            EXPECT_EQ(got.message.count(QLatin1Char('\n')), 0);
        }
    }
}

TEST(CommandLine, FlagsAndFilesAreKept) {
    const CommandLine user = parseCommandLine({"pelorix", "-u"}, "/tmp", "1");
    EXPECT_TRUE(user.userFolder);
    const CommandLine add = parseCommandLine({"pelorix", "--add", "x/a.png", "/abs/b.jpg"}, "/work", "1");
    EXPECT_FALSE(add.userFolder);
    EXPECT_EQ(add.files, (QStringList{"/work/x/a.png", "/abs/b.jpg"}));
}

TEST(CommandLine, TheSaverWindowComesFromTheEnvironmentWithRootUnlessAnIdIsGiven) {
    const CommandLine fromEnv = parseCommandLine({"pelorix", "--root"}, "/tmp", "1", "0x1a");
    EXPECT_EQ(fromEnv.action, Action::Saver);
    EXPECT_FALSE(fromEnv.saver.root);
    EXPECT_EQ(fromEnv.saver.window, 0x1au);
    EXPECT_EQ(fromEnv.saver.gridWidth, 4);
    const CommandLine idWins = parseCommandLine({"pelorix", "--window-id", "77", "--grid", "6x3"}, "/tmp", "1", "0x1a");
    EXPECT_EQ(idWins.saver.window, 77u);
    EXPECT_EQ(idWins.saver.gridWidth, 6);
    EXPECT_EQ(idWins.saver.gridHeight, 3);
    const CommandLine badEnv = parseCommandLine({"pelorix", "--root"}, "/tmp", "1", "window");
    EXPECT_EQ(badEnv.exitStatus, 2);
    EXPECT_TRUE(badEnv.message.contains(QStringLiteral("XSCREENSAVER_WINDOW"))) << badEnv.message.toStdString();
}

TEST(CommandLine, AFolderThatCannotBeEnteredIsRefused) {
    QTemporaryDir temp;
    const QString locked = temp.path() + QStringLiteral("/locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    // The system refuses every user but the superuser; the check's seam refuses anyone.
    const bool superuser = geteuid() == 0;
    if (!superuser) {
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner));
    }
    std::vector<FolderCheck> checks{[&](const QString& path) { return path != locked; }};
    if (!superuser) checks.emplace_back(canEnterFolder);
    for (const FolderCheck& check : checks) {
        const CommandLine got = parseCommandLine({"pelorix", "locked"}, temp.path(), "1", {}, check);
        EXPECT_EQ(got.exitStatus, 2);
        EXPECT_TRUE(got.message.contains(QStringLiteral("cannot enter the folder: locked"))) << got.message.toStdString();
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace
}  // namespace pelorix::app
