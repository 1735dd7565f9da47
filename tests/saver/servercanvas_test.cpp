// SPDX-License-Identifier: MIT
// The saver's drawing: its canvas on a real X server draws what the in-memory one does, and redraws
// it; the moving picture keeps its shape and its room in windows of any shape.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "pictures/canvas.h"
#include "pictures/pictures.h"
#include "platform/design.h"
#include "saver/saverplatform.h"
#include "saver/servercanvas.h"
#include "saver/xcbtarget.h"
#include "xwindow.h"

namespace pelorix::testing {
namespace {

// The window's pixels and the canvas's, as 0xRRGGBB, compared until they agree (the server draws
// after the calls return) or 20 s have passed.
bool showsCanvas(const XWindow& window, const Canvas& canvas) {
    const QImage& image = canvas.image();
    std::vector<std::uint32_t> expected;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) expected.push_back(image.pixel(x, y) & 0xFFFFFFu);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        int w = 0, h = 0;
        if (window.pixels(w, h) == expected) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

QImage numbered(int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.setPixel(x, y, qRgb(x * 3, y * 3, 77));
    return picture;
}

TEST(ServerCanvas, DrawsTheSamePixelsAsTheCanvasAndRedrawsAWipedWindowFromItsStore) {
    constexpr int width = 160, height = 120;
    XWindow window(width, height);
    std::string error;
    auto target = XcbTarget::open(window.id(), false, error);
    ASSERT_TRUE(target) << error;
    const QImage picture = numbered(67, 53);
    const ServerPicture held{target->upload(picture), picture.size()};
    ASSERT_NE(held.pixmap, 0u);
    ServerCanvas server(*target, QSize(width, height), 0x000000);
    Canvas canvas(width, height, 0x000000);

    // Frames of a picture moving over cells (fill, then copy over it), lone fills and copies that
    // reach outside the picture, and a whole picture shown; the window is looked at now and then,
    // so copies drawn over unseen are dropped on the way.
    std::uint32_t seed = 99;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    int left = 5, top = 3;
    for (int step = 0; step < 120; ++step) {
        const int kind = next(8);
        if (kind < 5) {
            for (int c = 0; c < 4; ++c)
                for (int r = 0; r < 4; ++r) {
                    const int x = c * 40 + 1, y = r * 30 + 1, colour = step > 60 ? 2 : 15;
                    server.fillBox(x, y, x + 38, y + 28, colour);
                    canvas.fillBox(x, y, x + 38, y + 28, colour);
                    server.copy(held, x, y, 39, 29, x - left, y - top);
                    canvas.copy(picture, x, y, 39, 29, x - left, y - top);
                }
            left += 1;
            top += step % 2;
        } else if (kind == 5) {
            const int x = next(180) - 10, y = next(140) - 10, w = next(50), h = next(50), colour = next(17);
            server.fillBox(x, y, x + w, y + h, colour);
            canvas.fillBox(x, y, x + w, y + h, colour);
        } else if (kind == 6) {
            const int x = next(width), y = next(height), sx = next(90) - 10, sy = next(70) - 10;
            server.copy(held, x, y, 30, 20, sx, sy);
            canvas.copy(picture, x, y, 30, 20, sx, sy);
        } else {
            server.showPicture(held);
            canvas.showPicture(picture);
        }
        if (next(4) == 0) {
            server.present();
            ASSERT_TRUE(showsCanvas(window, canvas)) << "step " << step;
        }
    }
    server.present();
    ASSERT_TRUE(showsCanvas(window, canvas));
    window.clear();
    server.repair(QRect(0, 0, width, height));
    EXPECT_TRUE(showsCanvas(window, canvas));
    target->freePixmap(held.pixmap);
}

// An error about one of the saver's own pictures (a copy from one it freed) leaves it drawing; the
// window's destruction ends it.
TEST(XcbTarget, OnlyTheWindowsEndEndsIt) {
    XWindow window(64, 48);
    std::string error;
    auto target = XcbTarget::open(window.id(), false, error);
    ASSERT_TRUE(target) << error;
    const std::uint32_t kept = target->upload(numbered(8, 8)), freed = target->upload(numbered(8, 8));
    ASSERT_NE(freed, 0u);
    target->freePixmap(freed);
    target->show(freed, QRect(0, 0, 8, 8));
    // A reply comes after the error, which is then waiting to be read.
    static_cast<void>(target->download(kept, QSize(8, 8)));
    static_cast<void>(target->poll());
    EXPECT_FALSE(target->gone());
    window.destroy();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!target->gone() && std::chrono::steady_clock::now() < until) {
        static_cast<void>(target->poll());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(target->gone());
}

TEST(SaverMovingPicture, KeepsItsShapeAndRoomToMoveInAnyWindow) {
    const QSize picture = builtinAnimationPicture().size();
    const ControlDesign& box = design(Control::Picture1);
    const QSize frame = QSize(box.width / twipsPerPixel, box.height / twipsPerPixel) - picture;
    // The designed board, a laptop, a 4K monitor, a strip a hundred times wider than tall, a
    // column, and a preview barely larger than the frame.
    const QSize windows[] = {{754, 385}, {1280, 800}, {3840, 2160}, {20000, 200}, {180, 4000}, {12, 12}};
    for (const QSize window : windows) {
        const QSize size = movingPictureSize(window, picture);
        const QSize outer = size + frame;
        EXPECT_LT(outer.width(), window.width()) << window.width() << "x" << window.height();
        EXPECT_LT(outer.height(), window.height()) << window.width() << "x" << window.height();
        // Its proportions, within the rounding of either side.
        EXPECT_NEAR(static_cast<double>(size.width()) / size.height(), static_cast<double>(picture.width()) / picture.height(),
                    1.0 / size.height() + 1.0 / size.width() + 0.01)
            << window.width() << "x" << window.height();
    }
    EXPECT_EQ(movingPictureSize(QSize(754, 385), picture), picture);  // the board's own size
    EXPECT_EQ(movingPictureSize(QSize(3840, 2160), picture).height(), 1324);  // as the board covering it: × 2160 / 385
}

}  // namespace
}  // namespace pelorix::testing
