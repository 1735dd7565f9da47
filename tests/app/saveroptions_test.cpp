// SPDX-License-Identifier: MIT
// The choice of run mode from the saver options and XSCREENSAVER_WINDOW, as one table.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/saveroptions.h"

namespace pelorix::app {
namespace {

struct Row {
    const char* what;
    SaverArgs args;
    RunMode mode;
    bool root;
    std::uint32_t window;
    int gw, gh;
};

using O = std::optional<std::string>;

TEST(RunMode, FromOptionsAndEnvironment) {
    const Row rows[] = {
        {"nothing: the window game", {}, RunMode::Window, false, 0, 4, 4},
        {"--grid alone does not make a saver", {O{}, false, O{"5x5"}, O{}}, RunMode::Window, false, 0, 4, 4},
        {"environment alone: the window game", {O{}, false, O{}, O{"0x1a00003"}}, RunMode::Window, false, 0, 4, 4},
        {"environment and a grid alone: the window game", {O{}, false, O{"5x5"}, O{"0x1a00003"}}, RunMode::Window, false, 0, 4, 4},
        {"environment with --root, hexadecimal", {O{}, true, O{}, O{"0x1a00003"}}, RunMode::Saver, false, 0x1a00003, 4, 4},
        {"environment with --root, upper-case hexadecimal", {O{}, true, O{}, O{"0X1A00003"}}, RunMode::Saver, false, 0x1a00003, 4, 4},
        {"environment with --root, decimal", {O{}, true, O{}, O{"27262979"}}, RunMode::Saver, false, 27262979, 4, 4},
        {"--window-id, decimal", {O{"4194307"}, false, O{}, O{}}, RunMode::Saver, false, 4194307, 4, 4},
        {"--window-id, hexadecimal", {O{"0x400003"}, false, O{}, O{}}, RunMode::Saver, false, 0x400003, 4, 4},
        {"--window-id wins over the environment", {O{"0x400003"}, false, O{}, O{"0x500005"}}, RunMode::Saver, false, 0x400003, 4, 4},
        {"--root alone", {O{}, true, O{}, O{}}, RunMode::Saver, true, 0, 4, 4},
        {"largest id", {O{"0xFFFFFFFF"}, false, O{}, O{}}, RunMode::Saver, false, 0xFFFFFFFF, 4, 4},
        {"largest id, decimal", {O{"4294967295"}, false, O{}, O{}}, RunMode::Saver, false, 0xFFFFFFFF, 4, 4},
        {"grid", {O{}, true, O{"7x3"}, O{}}, RunMode::Saver, true, 0, 7, 3},
        {"grid with capital X", {O{}, true, O{"12X9"}, O{}}, RunMode::Saver, true, 0, 12, 9},
        {"grid of one number is square", {O{}, true, O{"6"}, O{}}, RunMode::Saver, true, 0, 6, 6},
        {"grid bounded below", {O{}, true, O{"1x0"}, O{}}, RunMode::Saver, true, 0, 2, 2},
        {"grid bounded above", {O{}, true, O{"21x999"}, O{}}, RunMode::Saver, true, 0, 20, 20},
        {"bad environment id alone is not looked at", {O{}, false, O{}, O{"window"}}, RunMode::Window, false, 0, 4, 4},
        {"bad environment id beside a good --window-id", {O{"0x400003"}, false, O{}, O{"window"}}, RunMode::Saver, false, 0x400003, 4, 4},
        {"bad environment id even with --root", {O{}, true, O{}, O{"0xZZ"}}, RunMode::Error, false, 0, 4, 4},
        {"id 0", {O{"0"}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"id past 32 bits", {O{"0x100000000"}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"decimal past 32 bits", {O{"4294967296"}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"negative id", {O{"-5"}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"id with trailing text", {O{"12ab"}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"bare 0x", {O{"0x"}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"empty --window-id", {O{""}, false, O{}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"grid without height", {O{}, true, O{"5x"}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"grid of words", {O{}, true, O{"big"}, O{}}, RunMode::Error, false, 0, 4, 4},
        {"grid with a negative side", {O{}, true, O{"-3x4"}, O{}}, RunMode::Error, false, 0, 4, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const RunChoice choice = chooseRunMode(row.args);
        EXPECT_EQ(choice.mode, row.mode);
        if (row.mode == RunMode::Error) {
            EXPECT_FALSE(choice.error.empty());
            EXPECT_EQ(choice.error.find('\n'), std::string::npos);
            continue;
        }
        EXPECT_EQ(choice.root, row.root);
        EXPECT_EQ(choice.window, row.window);
        EXPECT_EQ(choice.gridWidth, row.gw);
        EXPECT_EQ(choice.gridHeight, row.gh);
    }
}

TEST(RunMode, TheParserReadsTheSaverOptions) {
    QCommandLineParser parser;
    addSaverOptions(parser);
    ASSERT_TRUE(parser.parse({"pelorix", "--window-id", "0x2c", "--grid", "3x5", "--root", "pictures"}));
    const SaverArgs args = saverArgs(parser, "");
    EXPECT_EQ(args.windowId, O{"0x2c"});
    EXPECT_TRUE(args.root);
    EXPECT_EQ(args.grid, O{"3x5"});
    EXPECT_FALSE(args.envWindow);
    EXPECT_EQ(saverArgs(parser, "0x99").envWindow, O{"0x99"});
}

}  // namespace
}  // namespace pelorix::app
