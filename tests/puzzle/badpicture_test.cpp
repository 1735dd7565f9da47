// SPDX-License-Identifier: MIT
// A picture file that cannot be loaded never stops the game: the previous picture stays in use.
#include <gtest/gtest.h>

#include <QBuffer>
#include <array>

#include "gamefixture.h"
#include "hostile.h"

namespace pelorix::testing {
namespace {

std::string pngbytes(int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(qRgb(200, 40, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes.toStdString();
}

// CRC-32 as PNG chunks carry it.
std::uint32_t crc32(const std::string& bytes, std::size_t from, std::size_t to) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < to; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

struct BadCase {
    const char* what;
    std::string bytes;  // empty name: the file is missing
    bool present;
};

// Leaves the title screen, picks the only regular picture and presses Begin.
void beginwith(Game& g) {
    g.fake.schedule(5, g.mouse(10, 10));
    g.fake.schedule(10, g.click(Control::Command1));
}

TEST(BadPictures, BeginWithAnUnloadablePictureBuildsFromThePreviousOne) {
    const std::string png = pngbytes(300, 200);
    std::string huge = png;
    // The PNG header's width and height fields: claim 60000 × 60000 pixels.
    for (std::size_t at : {16u, 20u}) {
        huge[at] = 0;
        huge[at + 1] = 0;
        huge[at + 2] = static_cast<char>(0xEA);
        huge[at + 3] = 0x60;
    }
    // A valid checksum, so only the claimed size can make the picture unloadable.
    const std::uint32_t crc = crc32(huge, 12, 29);
    for (int i = 0; i < 4; ++i) huge[29 + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
    const std::array<BadCase, 7> cases{{
        {"empty", "", true},
        {"not a picture", "hello, this is text", true},
        {"truncated", png.substr(0, png.size() / 2), true},
        {"too large to hold", huge, true},
        {"missing", "", false},
        {"a JPEG's first two bytes", "\xFF\xD8", true},
        {"a JPEG header the decoder fails on", jpegWithBogusHuffmanTable().toStdString(), true},
    }};
    for (const BadCase& c : cases) {
        Game g(3);
        if (c.present) g.fake.files["bad.regular_picture"] = c.bytes;
        g.fake.files["other.animation_picture"] = "x";
        beginwith(g);
        if (!c.present) {
            // Listed at start-up, then gone before Begin.
            g.fake.files["bad.regular_picture"] = "";
            g.fake.afterYield = [&] {
                if (g.game.loop.started == phase::play) g.fake.files.erase("bad.regular_picture");
            };
        }
        const QImage before = g.fake.windowPicture();
        g.run(2000, [&] { return g.fake.caption() == "Pelorix-(Solving regular puzzle)"; });
        SCOPED_TRACE(c.what);
        EXPECT_EQ(g.fake.caption(), "Pelorix-(Solving regular puzzle)");
        EXPECT_EQ(g.game.puzzle.picturefile, "bad.regular_picture");
        EXPECT_EQ(g.fake.windowPicture(), before);
        EXPECT_EQ(boardfault(g.game.puzzle), "");
        EXPECT_EQ(g.game.loop.puzzlestate, gamestate::inplay);
    }
}

TEST(BadPictures, AGoodPictureReplacesTheWindowPicture) {
    Game g(3);
    g.fake.files["good.regular_picture"] = pngbytes(300, 200);
    beginwith(g);
    g.run(2000, [&] { return g.fake.caption() == "Pelorix-(Solving regular puzzle)"; });
    EXPECT_EQ(g.fake.windowPicture().size(), QSize(300, 200));
    // The regions of the grid beyond the picture show nothing of it; the game goes on.
    EXPECT_EQ(boardfault(g.game.puzzle), "");
}

}  // namespace
}  // namespace pelorix::testing
