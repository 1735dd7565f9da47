// SPDX-License-Identifier: MIT
// The program's command line, read with QCommandLineParser into a plain result.
#include "app/commandline.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace pelorix::app {

namespace {

constexpr int usageError = 2;

const QString userFolderOption = QStringLiteral("user-folder");
const QString addOption = QStringLiteral("add");

CommandLine fail(const QString& why) {
    CommandLine result;
    result.action = CommandLine::Action::Print;
    result.exitStatus = usageError;
    result.message = QStringLiteral("pelorix: %1 (try 'pelorix --help')").arg(why);
    return result;
}

}  // namespace

void addPlayOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Pelorix, the sliding-block picture puzzle.\n"
        "Plays in FOLDER, or in the current folder when none is given: the pictures there\n"
        "(*.regular_picture, *.animation_picture) are the puzzles, and settings are kept there."));
    parser.addOption(QCommandLineOption({QStringLiteral("u"), userFolderOption},
                                        QStringLiteral("Play in your Pelorix folder (Pictures/Pelorix), made and filled "
                                                       "with sample pictures on first use.")));
    parser.addOption(QCommandLineOption({QStringLiteral("a"), addOption},
                                        QStringLiteral("Add the picture files FILE... to the folder as "
                                                       "NAME.regular_picture, upright and cut to the 754 x 385 "
                                                       "board, print what was added, and exit.")));
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder to play in."), QStringLiteral("[FOLDER]"));
}

bool canEnterFolder(const QString& path) {
    const QFileInfo folder(path);
    return folder.isExecutable() && folder.isReadable();
}

CommandLine parseCommandLine(const QStringList& arguments, const QString& currentFolder, const QString& version,
                             const QString& saverWindow, const FolderCheck& canEnter) {
    QCommandLineParser parser;
    // Screen-saver daemons traditionally pass "-root" and "-window-id" with one dash.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(versionOption);
    addPlayOptions(parser);
    addSaverOptions(parser);

    if (!parser.parse(arguments)) {
        QString why = parser.errorText();
        if (why.endsWith(QLatin1Char('.'))) why.chop(1);
        return fail(why);
    }

    if (parser.isSet(help)) {
        CommandLine result;
        result.action = CommandLine::Action::Print;
        // The usage line names the program as users type it, whatever path started it.
        QString text = parser.helpText();
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        text.replace(0, end, QStringLiteral("Usage: pelorix [options] [FOLDER]\n"
                                                    "       pelorix [options] --add FILE...\n"
                                                    "       pelorix --root | --window-id ID [--grid WxH] [FOLDER]"));
        result.message = text;
        return result;
    }
    if (parser.isSet(versionOption)) {
        CommandLine result;
        result.action = CommandLine::Action::Print;
        result.message = QStringLiteral("pelorix %1\n"
                                        "Copyright (c) 2026 The Pelorix developers\n"
                                        "MIT License: free to use, copy, change and share; no warranty.\n")
                             .arg(version);
        return result;
    }

    CommandLine result;
    result.userFolder = parser.isSet(userFolderOption);
    QStringList positional = parser.positionalArguments();
    result.saver = chooseRunMode(saverArgs(parser, saverWindow.toStdString()));
    if (result.saver.mode == RunMode::Error) return fail(QString::fromStdString(result.saver.error));
    if (result.saver.mode == RunMode::Saver) {
        if (parser.isSet(addOption)) return fail(QStringLiteral("--add does not go with screen-saver mode"));
        result.action = CommandLine::Action::Saver;
    }
    if (parser.isSet(addOption)) {
        // With --add the names are pictures; the folder is the current one or the Pelorix folder.
        if (positional.isEmpty()) return fail(QStringLiteral("--add needs at least one picture file"));
        result.action = CommandLine::Action::Add;
        for (const QString& file : positional) result.files << QDir(currentFolder).absoluteFilePath(file);
        result.givenFiles = positional;
        if (!result.userFolder) result.folder = QDir::cleanPath(currentFolder);
        return result;
    }
    if (positional.size() > 1) return fail(QStringLiteral("give at most one folder, not %1").arg(positional.size()));
    if (!positional.isEmpty() && result.userFolder)
        return fail(QStringLiteral("give either a folder or --user-folder, not both"));
    if (result.userFolder) return result;
    // A screen saver with no folder named plays the Pelorix folder, without making it.
    if (result.action == CommandLine::Action::Saver && positional.isEmpty()) return result;

    const QString named = positional.isEmpty() ? currentFolder : positional.first();
    const QFileInfo folder(QDir(currentFolder).absoluteFilePath(named));
    if (!folder.exists()) return fail(QStringLiteral("no such folder: %1").arg(named));
    if (!folder.isDir()) return fail(QStringLiteral("not a folder: %1").arg(named));
    if (!canEnter(folder.absoluteFilePath())) return fail(QStringLiteral("cannot enter the folder: %1").arg(named));
    result.folder = QDir::cleanPath(folder.absoluteFilePath());
    return result;
}

}  // namespace pelorix::app
