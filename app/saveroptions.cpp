// SPDX-License-Identifier: MIT
// Reading the screen-saver options and the environment, and deciding the run mode.
#include "app/saveroptions.h"

#include <QCoreApplication>
#include <algorithm>
#include <cctype>

#include "puzzle/puzzlestate.h"

namespace pelorix::app {

namespace {
const QString windowIdOption = QStringLiteral("window-id");
const QString rootOption = QStringLiteral("root");
const QString gridOption = QStringLiteral("grid");

// Digits of one base only, nothing around them; empty on overflow past 32 bits.
std::optional<std::uint64_t> digits(std::string_view text, int base) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        int d = -1;
        if (std::isdigit(c)) d = c - '0';
        else if (base == 16 && std::isxdigit(c)) d = std::tolower(c) - 'a' + 10;
        if (d < 0) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    return value;
}
}  // namespace

void addSaverOptions(QCommandLineParser& parser) {
    parser.addOption({windowIdOption,
                      QCoreApplication::translate("pelorix", "Screen saver: draw into the X window ID (decimal or 0x hexadecimal)."),
                      QStringLiteral("ID")});
    parser.addOption({rootOption, QCoreApplication::translate("pelorix", "Screen saver: draw on the whole screen.")});
    parser.addOption({gridOption,
                      QCoreApplication::translate("pelorix", "Screen saver: puzzles of W columns and H rows, %1 to %2 each (default 4x4).")
                              .arg(minGrid)
                              .arg(maxGrid),
                      QStringLiteral("WxH")});
}

SaverArgs saverArgs(const QCommandLineParser& parser, const std::string& envWindow) {
    SaverArgs args;
    if (parser.isSet(windowIdOption)) args.windowId = parser.value(windowIdOption).toStdString();
    args.root = parser.isSet(rootOption);
    if (parser.isSet(gridOption)) args.grid = parser.value(gridOption).toStdString();
    if (!envWindow.empty()) args.envWindow = envWindow;
    return args;
}

std::optional<std::uint32_t> parseWindowId(std::string_view text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const auto value = hex ? digits(text.substr(2), 16) : digits(text, 10);
    if (!value || *value == 0 || *value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

std::optional<std::pair<int, int>> parseGrid(std::string_view text) {
    const std::size_t x = text.find_first_of("xX");
    const std::string_view w = text.substr(0, x);
    const std::string_view h = x == std::string_view::npos ? w : text.substr(x + 1);
    const auto width = digits(w, 10), height = digits(h, 10);
    if (!width || !height) return std::nullopt;
    auto side = [](std::uint64_t v) { return static_cast<int>(std::clamp<std::uint64_t>(v, minGrid, maxGrid)); };
    return std::pair{side(*width), side(*height)};
}

RunChoice chooseRunMode(const SaverArgs& args) {
    RunChoice choice;
    // XSCREENSAVER_WINDOW alone, as a stale or leaked environment can have it, does not make a saver.
    if (!args.windowId && !args.root) return choice;  // the window game

    auto error = [&](std::string line) {
        choice.mode = RunMode::Error;
        choice.error = std::move(line);
        return choice;
    };
    choice.mode = RunMode::Saver;
    // A daemon that starts "--root" may name its own window in the environment.
    const std::optional<std::string>& named = args.windowId ? args.windowId : args.envWindow;
    if (named) {
        const auto id = parseWindowId(*named);
        if (!id)
            return error((args.windowId ? "--window-id" : "XSCREENSAVER_WINDOW") + std::string(" is not a window id: \"") +
                         *named + "\"");
        choice.window = *id;
    } else {
        choice.root = true;
    }
    if (args.grid) {
        const auto grid = parseGrid(*args.grid);
        if (!grid) return error("--grid wants WIDTHxHEIGHT, such as 5x4, not \"" + *args.grid + "\"");
        choice.gridWidth = grid->first;
        choice.gridHeight = grid->second;
    }
    return choice;
}

}  // namespace pelorix::app
