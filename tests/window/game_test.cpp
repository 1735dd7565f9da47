// SPDX-License-Identifier: MIT
// The whole game on the real Qt window: start-up, the first title puzzle, the title click, ending.
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QWindow>

#include "game/puzzlemaker2.h"
#include "qtgame.h"

namespace pelorix::testing {
namespace {

std::string header(const std::string& bytes) { return bytes.substr(0, 54); }
std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

TEST_F(QtGame, StartsAndDrawsTheFirstTitlePuzzle) {
    runUntil([this] { return built(); });
    ASSERT_TRUE(built());
    EXPECT_TRUE(platform->ended());

    // The built-in pictures were written as 8-bit BMPs.
    for (const auto& [name, size] : {std::pair{"title1.bmp", QSize(800, 600)}, std::pair{"title2.bmp", QSize(267, 236)}}) {
        const std::string bytes = readFile(name);
        ASSERT_GE(bytes.size(), 54u) << name;
        const std::string h = header(bytes);
        EXPECT_EQ(h.substr(0, 2), "BM") << name;
        EXPECT_EQ(le32(h, 18), static_cast<std::uint32_t>(size.width())) << name;
        EXPECT_EQ(le32(h, 22), static_cast<std::uint32_t>(size.height())) << name;
        EXPECT_EQ(static_cast<unsigned char>(h[28]), 8u) << name;
        EXPECT_EQ(le32(h, 30), 0u) << name;
    }
    EXPECT_EQ(platform->caption(), "Pelorix - (Click to begin)");
    EXPECT_EQ(platform->window()->windowTitle(), QStringLiteral("Pelorix - (Click to begin)"));

    // The board: 4 × 4 cells framed by grid lines in palette colour 3, the hole top left.
    const PuzzleState& p = game->puzzle;
    EXPECT_EQ(p.puzzlewidth, 4);
    EXPECT_EQ(p.puzzleheight, 4);
    ASSERT_GT(p.piecewidth, 2);
    ASSERT_GT(p.pieceheight, 2);
    EXPECT_EQ(p.colour, 3);
    const int right = p.piecewidth * p.puzzlewidth;
    const int bottom = p.pieceheight * p.puzzleheight;
    for (int y = 0; y <= bottom; y += 7) EXPECT_EQ(colourOnCanvas(0, y), 3) << "x = 0, y = " << y;
    for (int x = 0; x <= right; x += 7) EXPECT_EQ(colourOnCanvas(x, 0), 3) << "y = 0, x = " << x;
    for (int y = 0; y <= bottom; y += 11) EXPECT_EQ(colourOnCanvas(p.piecewidth, y), 3) << "x = piece width, y = " << y;
    if (p.holex == 1 && p.holey == 1) {
        EXPECT_EQ(colourOnCanvas(p.piecewidth / 2, p.pieceheight / 2), 3);
    }
    // What the widget shows is the canvas.
    const QImage shown = platform->canvasWidget()->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 10) & 0xFFFFFFu, 0x008080u);

    // Title puzzles keep the launch window (only constructions outside title mode maximize).
    EXPECT_EQ(platform->clientWidth(), 754);
    EXPECT_EQ(platform->clientHeight(), 385);
    EXPECT_EQ(p.picturefile, p.animated == 1 ? "title2.bmp" : "title1.bmp");
}

TEST_F(QtGame, AClickOnTheTitleOpensTheSetUpScreen) {
    writeFile("meadow.regular_picture", "x");
    bool clicked = false;
    platform->afterYield = [&] {
        if (built() && !clicked) {
            clicked = true;
            QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                              platform->canvasWidget()->mapTo(platform->window(), QPoint(200, 150)));
        }
    };
    runUntil([this] { return platform->visible(Control::Command1); });
    platform->afterYield = nullptr;
    EXPECT_EQ(platform->caption(), "Pelorix");
    EXPECT_EQ(platform->window()->windowTitle(), QStringLiteral("Pelorix"));
    for (Control c : {Control::Label1, Control::Label2, Control::Label5, Control::Label8, Control::File1,
                      Control::File2, Control::Text1, Control::Text2, Control::Text3, Control::Command1})
        EXPECT_FALSE(platform->widget(c)->isHidden()) << static_cast<int>(c);
    EXPECT_EQ(platform->text(Control::Text3), "meadow.regular_picture");
    EXPECT_TRUE(platform->menuVisible(Menu::instructions));
    EXPECT_TRUE(platform->action(Menu::fdgff)->isVisible());
}

TEST_F(QtGame, ClosingTheWindowEndsTheGame) {
    bool closed = false;
    platform->afterYield = [&] {
        if (built() && !closed) {
            closed = true;
            platform->window()->close();
        }
    };
    runUntil([] { return false; });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(platform->ended());
}

TEST_F(QtGame, QuitEndsTheGame) {
    bool quit = false;
    platform->afterYield = [&] {
        if (built() && !quit) {
            quit = true;
            platform->action(Menu::quit)->trigger();
        }
    };
    runUntil([] { return false; });
    EXPECT_TRUE(quit);
    EXPECT_TRUE(platform->ended());
}

}  // namespace
}  // namespace pelorix::testing
