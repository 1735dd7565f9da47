// SPDX-License-Identifier: MIT
// Pelorix: reads the command line, then plays in the chosen folder, adds pictures to it, or runs as a screen saver.
#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/addpictures.h"
#include "app/commandline.h"
#include "app/desktop.h"
#include "app/saver.h"
#include "game/puzzlemaker2.h"
#include "window/qtplatform.h"
#include "files/qtpaths.h"
#include "files/tempfiles.h"
#include "app/userfolder.h"

namespace {

// The folder the command line chose; for the Pelorix folder, made and seeded first. Temporary
// files that killed writes left there are removed. Empty (after a line on standard error) when the
// folder cannot be made.
std::optional<std::filesystem::path> workingFolder(const pelorix::app::CommandLine& command, QTextStream& err) {
    std::filesystem::path folder = pelorix::qt::fromQPath(command.folder);
    if (command.userFolder) {
        folder = pelorix::app::pelorixFolderPath();
        const auto seeded = pelorix::app::preparePelorixFolder(folder, pelorix::app::samplesFolder());
        if (!seeded.ok) {
            err << "pelorix: " << seeded.message << '\n';
            return std::nullopt;
        }
        // Said once, when it is made: where your pictures go from now on.
        if (seeded.created)
            err << "pelorix: made your Pelorix folder " << pelorix::qt::toQPath(folder) << " with "
                << seeded.copied.size() << " sample pictures\n";
    }
    pelorix::removeStaleTemporaries(folder);
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    using pelorix::app::CommandLine;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = pelorix::app::parseCommandLine(arguments, QDir::currentPath(), QStringLiteral(PELORIX_VERSION),
                                                               qEnvironmentVariable("XSCREENSAVER_WINDOW"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    // Help, version and usage errors need no window and write no file.
    if (command.action == CommandLine::Action::Print) {
        (command.exitStatus == 0 ? out : err) << command.message;
        if (!command.message.endsWith(QLatin1Char('\n'))) (command.exitStatus == 0 ? out : err) << '\n';
        return command.exitStatus;
    }

    if (command.action == CommandLine::Action::Add) {
        QCoreApplication app(argc, argv);  // finds the samples beside the program
        const auto folder = workingFolder(command, err);
        return folder ? pelorix::app::addPictures(pelorix::app::rawFileArguments(command.givenFiles, argc, argv), *folder,
                                                  out, err)
                      : 1;
    }

    if (command.action == CommandLine::Action::Saver) {
        // A screen saver draws into a window that is not its own, so it needs no Qt window system:
        // a core application with its event loop is enough. It reads the folder and makes nothing.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Pelorix"));
        const std::filesystem::path folder = command.folder.isEmpty() ? pelorix::app::pelorixFolderPath() : pelorix::qt::fromQPath(command.folder);
        return pelorix::app::runSaver(command.saver, folder);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorix"));
    QApplication::setApplicationVersion(QStringLiteral(PELORIX_VERSION));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(pelorix::app::appId);
    QGuiApplication::setWindowIcon(pelorix::app::windowIcon());
    const auto folder = workingFolder(command, err);
    if (!folder) return 1;
    // Started from a terminal in a folder of no pictures: the way to some.
    if (isatty(STDERR_FILENO) && !pelorix::app::holdsPictures(*folder)) {
        err << "pelorix: no pictures in " << pelorix::qt::toQPath(*folder)
            << "; drop picture files onto the window to add them, or start 'pelorix --user-folder' for the samples\n";
        err.flush();
    }
    pelorix::QtPlatform platform(*folder);
    pelorix::puzzlemaker2 game(platform);
    // The game starts when its window is first on screen.
    platform.showWindow();
    game.Form_Activate();  // returns once the window was closed or Quit chosen
    return 0;
}
