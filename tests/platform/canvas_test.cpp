// The drawing surface: boxes with both corners, clipped copies, growth that keeps the drawing.
#include <gtest/gtest.h>

#include <array>

#include "fakeplatform.h"
#include "platform/canvas.h"

namespace pelorix::testing {
namespace {

constexpr unsigned white = 0xFFFFFF;

TEST(Canvas, AFilledBoxIncludesBothCornersInAnyOrder) {
    struct Case {
        int x1, y1, x2, y2;
        QRect covered;
    };
    const std::array<Case, 4> cases{{
        {2, 3, 5, 7, QRect(QPoint(2, 3), QPoint(5, 7))},
        {5, 7, 2, 3, QRect(QPoint(2, 3), QPoint(5, 7))},
        {4, 1, 4, 9, QRect(QPoint(4, 1), QPoint(4, 9))},  // equal x: a one-pixel line
        {-5, -5, 1, 1, QRect(QPoint(0, 0), QPoint(1, 1))},  // clipped to the surface
    }};
    for (const Case& c : cases) {
        Canvas canvas(20, 20, white);
        EXPECT_EQ(canvas.fillBox(c.x1, c.y1, c.x2, c.y2, 12), c.covered);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(colourAt(canvas, x, y), c.covered.contains(x, y) ? 12 : 15) << x << "," << y;
    }
}

TEST(Canvas, ColourIndicesOutsideThePaletteDrawNothing) {
    Canvas canvas(10, 10, white);
    for (int colour : {-1, 16, 1000}) EXPECT_TRUE(canvas.fillBox(0, 0, 9, 9, colour).isEmpty());
    EXPECT_EQ(colourAt(canvas, 5, 5), 15);
}

QImage numbered(int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.setPixel(x, y, qRgb(x, y, 77));
    return picture;
}

TEST(Canvas, CopiesOnlyThePartOfTheRegionInsideThePicture) {
    const QImage picture = numbered(50, 40);
    struct Case {
        int dx, dy, w, h, sx, sy;
        QRect drawn;
    };
    const std::array<Case, 5> cases{{
        {10, 10, 20, 20, 5, 5, QRect(10, 10, 20, 20)},
        {10, 10, 20, 20, -5, -8, QRect(15, 18, 15, 12)},   // source left of and above the picture
        {0, 0, 30, 30, 40, 30, QRect(0, 0, 10, 10)},       // source past the right and bottom
        {90, 90, 20, 20, 0, 0, QRect(90, 90, 10, 10)},     // destination past the surface
        {0, 0, 10, 10, 60, 0, QRect()},                    // wholly outside the picture
    }};
    for (const Case& c : cases) {
        Canvas canvas(100, 100, white);
        EXPECT_EQ(canvas.copy(picture, c.dx, c.dy, c.w, c.h, c.sx, c.sy), c.drawn);
        for (int y = 0; y < 100; y += 3) {
            for (int x = 0; x < 100; x += 3) {
                const unsigned expected = c.drawn.contains(x, y)
                                              ? (picture.pixel(x - c.dx + c.sx, y - c.dy + c.sy) & 0xFFFFFFu)
                                              : white;
                ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(Canvas, GrowingKeepsWhatWasDrawnAndNeverShrinks) {
    Canvas canvas(30, 20, white);
    canvas.fillBox(25, 15, 29, 19, 4);
    canvas.ensureSize(60, 10);
    EXPECT_EQ(canvas.image().size(), QSize(60, 20));
    EXPECT_EQ(colourAt(canvas, 29, 19), 4);
    EXPECT_EQ(colourAt(canvas, 59, 19), 15);
    canvas.ensureSize(10, 10);
    EXPECT_EQ(canvas.image().size(), QSize(60, 20));
}

TEST(Canvas, ShowingAPictureClearsAndDrawsItFromTheTopLeft) {
    Canvas canvas(80, 60, white);
    canvas.fillBox(0, 0, 79, 59, 2);
    canvas.showPicture(numbered(50, 40));
    EXPECT_EQ(canvas.pixel(49, 39), (qRgb(49, 39, 77) & 0xFFFFFFu));
    EXPECT_EQ(canvas.pixel(50, 10), white);
    EXPECT_EQ(canvas.pixel(79, 59), white);
}

}  // namespace
}  // namespace pelorix::testing
