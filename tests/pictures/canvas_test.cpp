// SPDX-License-Identifier: MIT
// The drawing surface: boxes with both corners, clipped copies, growth that keeps the drawing.
#include <gtest/gtest.h>

#include <array>

#include "fakeplatform.h"
#include "pictures/canvas.h"
#include "platform/palette.h"

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

// Draws exactly as told, every pixel of every box: what the canvas must always match.
struct PlainSurface {
    QImage image;
    void fill(int x1, int y1, int x2, int y2, int colour) {
        if (colour < 0 || colour > 15) return;
        const QRect box = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)))
                              .intersected(image.rect());
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) image.setPixel(x, y, 0xFF000000u | palette[static_cast<std::size_t>(colour)]);
    }
    void copy(const QImage& picture, int dx, int dy, int w, int h, int sx, int sy) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (picture.rect().contains(sx + x, sy + y) && image.rect().contains(dx + x, dy + y))
                    image.setPixel(dx + x, dy + y, picture.pixel(sx + x, sy + y));
    }
};

TEST(Canvas, CheapFramesGiveExactlyThePixelsOfPlainDrawing) {
    // Frames of a moving picture over a grid of cells (fill a cell, copy over it), mixed with
    // moves that redraw single cells, lone fills and copies, and colour changes. The surface is
    // read after one to three steps, so that copies drawn over unread are dropped on the way.
    const QImage picture = numbered(67, 53);
    Canvas canvas(200, 150, 0xF0F0F0);
    PlainSurface plain{QImage(200, 150, QImage::Format_RGB32)};
    plain.image.fill(0xFFF0F0F0u);
    std::uint32_t seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    int left = 10, top = 7, dx = 1, dy = 1;
    const int pw = 40, ph = 30;
    for (int step = 0; step < 600; ++step) {
        const int kind = next(10);
        if (kind < 7) {  // a frame
            const int colour = step > 300 ? 2 : 15;
            for (int r = top / ph; r <= (top + 53) / ph && r < 5; ++r)
                for (int c = left / pw; c <= (left + 67) / pw && c < 5; ++c) {
                    const int dc = (c + step / 50) % 5, dr = r;  // pieces wander now and then
                    canvas.fillBox(dc * pw + 1, dr * ph + 1, dc * pw + pw - 1, dr * ph + ph - 1, colour);
                    plain.fill(dc * pw + 1, dr * ph + 1, dc * pw + pw - 1, dr * ph + ph - 1, colour);
                    canvas.copy(picture, dc * pw + 1, dr * ph + 1, pw - 1, ph - 1, c * pw + 1 - left, r * ph + 1 - top);
                    plain.copy(picture, dc * pw + 1, dr * ph + 1, pw - 1, ph - 1, c * pw + 1 - left, r * ph + 1 - top);
                }
            if (left + 67 >= 200 || left <= 0) dx = -dx;
            if (top + 53 >= 150 || top <= 0) dy = -dy;
            left += dx;
            top += dy;
        } else if (kind == 7) {  // a lone fill, anywhere, in any colour index
            const int x = next(220) - 10, y = next(170) - 10, w = next(60), h = next(60), colour = next(17);
            canvas.fillBox(x, y, x + w, y + h, colour);
            plain.fill(x, y, x + w, y + h, colour);
        } else if (kind == 8) {  // a lone copy, partly outside the picture
            const int x = next(200), y = next(150), sx = next(80) - 10, sy = next(60) - 10;
            canvas.copy(picture, x, y, 30, 20, sx, sy);
            plain.copy(picture, x, y, 30, 20, sx, sy);
        } else {  // a fill then a copy that reaches outside it
            const int x = next(150), y = next(100);
            canvas.fillBox(x, y, x + 20, y + 20, 4);
            plain.fill(x, y, x + 20, y + 20, 4);
            canvas.copy(picture, x + 10, y + 10, 40, 40, 0, 0);
            plain.copy(picture, x + 10, y + 10, 40, 40, 0, 0);
        }
        if (next(3) == 0) {
            ASSERT_EQ(canvas.image(), plain.image) << "step " << step << " kind " << kind;
        }
    }
}

TEST(Canvas, FramesDrawnOverBeforeAnyReadAreNeverCopied) {
    struct Counting final : CanvasSink<int> {
        int fills = 0, copies = 0;
        void fillRect(const QRect&, unsigned) override { ++fills; }
        void copyRect(const int&, QPoint, const QRect&) override { ++copies; }
    } sink;
    CanvasPlan<int> plan(sink, QSize(100, 100));
    // Ten frames of four cells, each filled and then drawn over whole by its piece of the picture.
    for (int frame = 0; frame < 10; ++frame)
        for (int cell = 0; cell < 4; ++cell) {
            plan.fillBox(cell * 25, 0, cell * 25 + 23, 23, 2);
            plan.copy(7, QSize(200, 200), cell * 25, 0, 24, 24, frame, 0);
        }
    plan.settle();
    EXPECT_EQ(sink.copies, 4);  // the last frame's only
    EXPECT_EQ(sink.fills, 0);   // every box was wholly drawn over
}

TEST(Canvas, TheListOfChangesLosesNoAreaWhenItOverflows) {
    // More separate changes than the list keeps apart: they are merged, never dropped.
    Canvas canvas(400, 400, white);
    static_cast<void>(canvas.takeChanged());
    for (int i = 0; i < 300; ++i) canvas.fillBox(i, (i * 37) % 400, i, (i * 37) % 400, 4);
    const QRegion changed = canvas.takeChanged();
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(changed.contains(QPoint(i, (i * 37) % 400))) << i;
    EXPECT_TRUE(canvas.takeChanged().isEmpty());
}

}  // namespace
}  // namespace pelorix::testing
