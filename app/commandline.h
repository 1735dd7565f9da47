// SPDX-License-Identifier: MIT
// The program's command line: what to do, where, and what to print before exiting.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "app/saveroptions.h"

class QCommandLineParser;

namespace pelorix::app {

// What a command line asks for; `parseCommandLine` fills it without side effects.
struct CommandLine {
    enum class Action {
        Play,   // open the window in `folder`
        Add,    // copy `files` into `folder` as pictures, then exit
        Print,  // print `message` and exit with `exitStatus` (help, version, errors)
        Saver,  // run as a screen-saver module as `saver` says, with the pictures of `folder`
    };
    Action action = Action::Play;
    QString folder;           // the working folder (absolute); empty when `userFolder` decides it
    bool userFolder = false;  // play in (or add to) the user's Pelorix folder
    QStringList files;        // the pictures to add
    QStringList givenFiles;   // the same as the command line gave them (relative names relative)
    int exitStatus = 0;       // 0 success, 2 a usage error
    QString message;          // Print: for standard output when `exitStatus` is 0, else standard error
    RunChoice saver;          // Saver: the window to draw into and the grid
};

// The options of the program; further run modes add theirs to the same parser.
void addPlayOptions(QCommandLineParser& parser);

// True when this process may enter and list the existing folder `path` (absolute).
using FolderCheck = std::function<bool(const QString& path)>;
// The system's answer for the user the program runs as.
bool canEnterFolder(const QString& path);

// Reads `arguments` (the program name first, as in argv). `currentFolder` is the folder relative
// names start from; `saverWindow` is the value of XSCREENSAVER_WINDOW (empty when unset), which
// only a screen-saver start with --root reads. A named folder must exist and be enterable, as
// `canEnter` tells. Usage errors give Print with exit status 2 and one line naming the fault. In
// saver mode without a named folder, `folder` is empty: the user's Pelorix folder is meant, and
// nothing is made there.
CommandLine parseCommandLine(const QStringList& arguments, const QString& currentFolder, const QString& version,
                             const QString& saverWindow = {}, const FolderCheck& canEnter = canEnterFolder);

}  // namespace pelorix::app
