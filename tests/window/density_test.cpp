// SPDX-License-Identifier: MIT
// The window at the screen's pixel density: prepared pictures at their own detail, others one
// pixel a unit, boxes without seams; run at scales 1, 1.5 and 2.
#include <QBuffer>
#include <QImageWriter>
#include <QWidget>
#include <cmath>
#include <cstring>

#include "pictures/density.h"
#include "qtfixture.h"

namespace pelorix::testing {
namespace {

using Density = QtWindowTest;

// Six colours far apart, so a pixel mixed mostly from one is still nearest to it.
const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 255),
                        qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255)};

// The colour of unit (u, v) of a picture: each differs from its eight neighbours'.
QRgb unitColour(int u, int v) { return colours[u % 3 + 3 * (v % 2)]; }

// A board picture of `units` whose every unit is a `density` × `density` block of its colour,
// as a PNG or a JPEG; `marked` records the density as prepared pictures do.
QByteArray unitBlocks(QSize units, int density, bool marked, const char* format = "png") {
    QImage picture(units * density, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        if (y % density != 0) {
            std::memcpy(line, picture.constScanLine(y - 1), static_cast<std::size_t>(picture.bytesPerLine()));
            continue;
        }
        for (int x = 0; x < picture.width(); ++x) line[x] = unitColour(x / density, y / density);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // A JPEG of high quality; a PNG compressed at zlib's fastest level (a quality of 89 in Qt's
    // terms), not stored raw: tens of megabytes would be written and read again.
    writer.setQuality(std::strcmp(format, "png") == 0 ? 89 : 95);
    if (marked) recordDensity(writer, density);
    writer.write(picture);
    return bytes;
}

int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// True when the device pixel at the centre of unit (u, v) shows block (bu, bv)'s colour: nearer
// to it than to any other, as smooth scaling at a fractional ratio leaves it.
bool showsAtUnit(const QImage& device, double ratio, int u, int v, int bu, int bv) {
    const QRgb c = device.pixel(static_cast<int>((u + 0.5) * ratio), static_cast<int>((v + 0.5) * ratio));
    const int own = distance(c, unitColour(bu, bv));
    for (const QRgb other : colours)
        if (other != unitColour(bu, bv) && distance(c, other) <= own) return false;
    return true;
}

// Each unit of the finished display shows its own colour at the window's ratio, whatever density
// the file has, when the file says which; a file without the marker is one pixel a unit, however
// many pixels it has. What the widget paints is the canvas, pixel for pixel.
TEST_F(Density, APictureShowsEachUnitAtTheWindowsRatio) {
    platform->showWindow();
    const double ratio = platform->ratio();
    EXPECT_EQ(ratio, platform->canvasWidget()->devicePixelRatioF());
    const QSize board(754, 385);
    const struct {
        const char* what;
        QByteArray bytes;
        int unitsPerBlock;  // units one block of colour covers
    } cases[] = {
        {"prepared at 4", unitBlocks(board, 4, true), 1},
        {"prepared at 4, as a JPEG", unitBlocks(board, 4, true, "jpeg"), 1},
        {"prepared at 2", unitBlocks(board, 2, true), 1},
        {"twice the board, unmarked", unitBlocks(board * 2, 1, false), 1},
        {"blocks of two pixels, unmarked", unitBlocks(board, 2, false), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("p.regular_picture", c.bytes.toStdString());
        ASSERT_TRUE(platform->loadPicture("p.regular_picture"));
        const QImage& canvas = platform->canvas().image();
        int wrong = 0;
        for (int v = 0; v < 385; v += 7)
            for (int u = 0; u < 754; u += 5)
                wrong += !showsAtUnit(canvas, ratio, u, v, u / c.unitsPerBlock, v / c.unitsPerBlock);
        EXPECT_EQ(wrong, 0);
    }
    const QImage shown = platform->canvasWidget()->grab().toImage();
    ASSERT_GE(shown.width(), deviceEdge(754, ratio) - 1);
    ASSERT_GE(shown.height(), deviceEdge(385, ratio) - 1);
    const QImage& canvas = platform->canvas().image();
    int differ = 0;
    for (int y = 0; y < std::min(shown.height(), canvas.height()); ++y)
        for (int x = 0; x < std::min(shown.width(), canvas.width()); ++x) differ += (shown.pixel(x, y) & 0xFFFFFFu) != (canvas.pixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(differ, 0);
}

// A board of cells drawn over a black ground, strip by strip and piece by piece, leaves no
// device pixel of the ground between them at any ratio.
TEST_F(Density, CellsDrawnSideBySideLeaveNoSeam) {
    writeFile("p.regular_picture", unitBlocks(QSize(754, 385), 4, true).toStdString());
    ASSERT_TRUE(platform->loadPicture("p.regular_picture"));
    platform->fillBox(0, 0, 753, 384, 0);
    const int columns = 8, rows = 5, w = 754 / columns, h = 385 / rows;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int x = 1 + c * w, y = 1 + r * h;
            platform->fillBox(x - 1, y - 1, x + w - 2, y - 1, 3);
            platform->fillBox(x - 1, y, x - 1, y + h - 2, 3);
            // Each piece from another cell's home, as in a scrambled board.
            const int from = (c + r + 1) % columns;
            platform->copyPicture(PictureId::Window, x, y, w - 1, h - 1, 1 + from * w, y);
        }
    const QImage& canvas = platform->canvas().image();
    const double ratio = platform->ratio();
    int ground = 0;
    for (int y = 0; y < deviceEdge(rows * h, ratio); ++y)
        for (int x = 0; x < deviceEdge(columns * w, ratio); ++x) ground += (canvas.pixel(x, y) & 0xFFFFFFu) == 0u;
    EXPECT_EQ(ground, 0);
}

}  // namespace
}  // namespace pelorix::testing
