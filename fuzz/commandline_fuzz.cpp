// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a command line (arguments split at zero bytes), and as a window id and a grid.
#include <QCoreApplication>
#include <QDir>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/commandline.h"
#include "app/saveroptions.h"

namespace {

using pelorix::app::CommandLine;

// What every result must hold, whatever the arguments.
bool sound(const CommandLine& line) {
    if (line.exitStatus != 0 && line.exitStatus != 2) return false;
    switch (line.action) {
        case CommandLine::Action::Print: return !line.message.isEmpty();
        case CommandLine::Action::Add:
            if (line.files.isEmpty()) return false;
            for (const QString& file : line.files)
                if (!QDir::isAbsolutePath(file)) return false;
            return line.exitStatus == 0;
        case CommandLine::Action::Saver: {
            const auto& s = line.saver;
            const bool grid = s.gridWidth >= 2 && s.gridWidth <= 20 && s.gridHeight >= 2 && s.gridHeight <= 20;
            return line.exitStatus == 0 && grid && (s.root || s.window != 0);
        }
        case CommandLine::Action::Play:
            return line.exitStatus == 0 && (line.userFolder || QDir::isAbsolutePath(line.folder));
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto id = pelorix::app::parseWindowId(text); id && *id == 0) std::abort();
    if (const auto grid = pelorix::app::parseGrid(text)) {
        if (grid->first < 2 || grid->first > 20 || grid->second < 2 || grid->second > 20) std::abort();
    }
    // The last piece stands for XSCREENSAVER_WINDOW, the others for the arguments.
    QStringList arguments{QStringLiteral("pelorix")};
    for (const QByteArray& piece : QByteArray(text.data(), static_cast<qsizetype>(size)).split('\0'))
        arguments << QString::fromLocal8Bit(piece);
    const QString saverWindow = arguments.size() > 1 ? arguments.takeLast() : QString();
    // A folder that does not exist: relative names never name a real folder, nothing is written.
    if (!sound(pelorix::app::parseCommandLine(arguments, QStringLiteral("/nonexistent/pelorix-fuzz"), QStringLiteral("1.0"),
                                              saverWindow)))
        std::abort();
    return 0;
}
