// SPDX-License-Identifier: MIT
// The saver on a real X server: fills a foreign window, follows its size, ends cleanly, writes nothing.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "xwindow.h"

namespace pelorix::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// How long a poll waits for what must come: long enough for a machine busy with other builds, and
// free when the machine is quiet, as every poll returns as soon as its condition holds.
constexpr int patienceMs = 20000;

// Polls `done` every 20 ms for up to `ms`.
template <typename F>
bool within(int ms, F done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void write(const fs::path& file, const std::string& content) { std::ofstream(file, std::ios::binary) << content; }

// A folder of one regular picture larger than any test window, a hand-written colour file that
// the window game would rewrite in its own form, a temporary file an hour old that a killed write
// left (the window game would remove it), and short pauses so that puzzles come quickly.
struct PictureFolder : TempFolder {
    PictureFolder() {
        fs::copy_file(fs::path(PELORIX_SAMPLES) / "nebula.regular_picture", path / "nebula.regular_picture");
        write(path / "nebula.regular_pic.colour", "12");
        write(path / "newpuzzle.Time", " 5 \r\n");
        const fs::path debris = path / ".movepiece.Time.2147483647.1.tmp";
        write(debris, " 7 \r\n");
        fs::last_write_time(debris, fs::last_write_time(debris) - std::chrono::hours(1));
    }
};

// Waits until two looks at the window, some time apart, differ.
bool changes(const XWindow& window, int ms) {
    int w = 0, h = 0;
    const auto first = window.pixels(w, h);
    return within(ms, [&] {
        int w2 = 0, h2 = 0;
        return window.pixels(w2, h2) != first;
    });
}

TEST(SaverWindow, FillsTheWindowWithMovingPiecesFollowsResizesAndEndsOnSigterm) {
    PictureFolder folder;
    const auto before = snapshot(folder.path);
    XWindow window(640, 480);
    SaverProcess saver({"--root", folder.path.string()}, {"XSCREENSAVER_WINDOW=" + window.hexId()});

    ASSERT_TRUE(within(patienceMs, [&] { return window.litPixels(0, 0, 640, 480) > 640 * 480 / 2; })) << "the window is drawn";
    EXPECT_TRUE(changes(window, patienceMs)) << "pieces move";
    EXPECT_TRUE(saver.running());

    // Made larger, the window is filled to its new edges.
    window.resize(900, 700);
    EXPECT_TRUE(within(patienceMs, [&] { return window.litPixels(660, 500, 230, 190) > 230 * 190 / 2; })) << "the new area is drawn";
    EXPECT_TRUE(changes(window, patienceMs));

    const auto sent = std::chrono::steady_clock::now();
    kill(saver.pid(), SIGTERM);
    const auto status = saver.waitExit(patienceMs);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
    ASSERT_TRUE(status) << "still running " << patienceMs << " ms after SIGTERM";
    EXPECT_EQ(*status, 0);
    std::printf("exit %lld ms after SIGTERM\n", static_cast<long long>(took.count()));
    EXPECT_EQ(snapshot(folder.path), before) << "no file is written, created or rewritten";
}

TEST(SaverWindow, APreviewOf200By150IsDrawnAndChanges) {
    TempFolder empty;  // no pictures: the built-in ones play
    XWindow window(200, 150);
    SaverProcess saver({"-root", "--grid", "3x3", empty.path.string()}, {"XSCREENSAVER_WINDOW=" + std::to_string(window.id())});
    ASSERT_TRUE(within(patienceMs, [&] { return window.litPixels(0, 0, 200, 150) > 200 * 150 / 2; }));
    EXPECT_TRUE(changes(window, patienceMs));
    EXPECT_TRUE(fs::is_empty(empty.path));
    kill(saver.pid(), SIGTERM);
    EXPECT_EQ(saver.waitExit(patienceMs), std::optional<int>(0));
}

TEST(SaverWindow, APictureSmallerThanThePreviewIsScaledToFillIt) {
    TempFolder folder;
    // A plain picture of 100 × 80 pixels, which unscaled would cover a quarter of the window.
    std::string ppm = "P6\n100 80\n255\n";
    for (int i = 0; i < 100 * 80; ++i) ppm += "\xC8\xB4\x28";
    write(folder.path / "small.regular_picture", ppm);
    write(folder.path / "movepiece.Time", "1");
    write(folder.path / "newpuzzle.Time", "50");
    XWindow window(200, 150);
    SaverProcess saver({"--window-id", window.hexId(), "--grid", "2x2", folder.path.string()}, {});
    // The whole picture shows as it is loaded and again, for a while, once the puzzle is solved.
    auto pictureShown = [&] {
        int w = 0, h = 0;
        const auto pixels = window.pixels(w, h);
        const auto near = [](std::uint32_t p) {
            return std::abs(static_cast<int>(p >> 16) - 0xC8) + std::abs(static_cast<int>((p >> 8) & 0xFF) - 0xB4) +
                       std::abs(static_cast<int>(p & 0xFF) - 0x28) <= 6;
        };
        return !pixels.empty() && std::count_if(pixels.begin(), pixels.end(), near) == 200 * 150;
    };
    EXPECT_TRUE(within(8000, pictureShown)) << "the picture does not fill the window";
    kill(saver.pid(), SIGTERM);
    EXPECT_EQ(saver.waitExit(1000), std::optional<int>(0));
}

TEST(SaverWindow, DestroyingTheWindowEndsTheSaverWithStatusZero) {
    PictureFolder folder;
    XWindow window(320, 240);
    SaverProcess saver({"--window-id", window.hexId(), folder.path.string()}, {});
    ASSERT_TRUE(within(patienceMs, [&] { return window.litPixels(0, 0, 320, 240) > 0; }));
    window.destroy();
    EXPECT_EQ(saver.waitExit(patienceMs), std::optional<int>(0));
}

TEST(SaverWindow, RootDrawsOnTheWholeScreen) {
    TempFolder empty;
    SaverProcess saver({"--root", empty.path.string()}, {});
    // Every puzzle of the built-in pictures draws its left grid line in the default teal.
    EXPECT_TRUE(within(patienceMs, [] { return rootPixel(0, 300) == std::optional<std::uint32_t>(0x008080); }));
    kill(saver.pid(), SIGTERM);
    EXPECT_EQ(saver.waitExit(patienceMs), std::optional<int>(0));
    EXPECT_TRUE(fs::is_empty(empty.path));
}

TEST(SaverWindow, EveryTerminatingSignalEndsItWithStatusZero) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(sig);
        TempFolder empty;
        XWindow window(160, 120);
        SaverProcess saver({"--root", empty.path.string()}, {"XSCREENSAVER_WINDOW=" + window.hexId()});
        ASSERT_TRUE(within(patienceMs, [&] { return window.litPixels(0, 0, 160, 120) > 0; }));
        kill(saver.pid(), sig);
        EXPECT_EQ(saver.waitExit(patienceMs), std::optional<int>(0));
    }
}

TEST(SaverWindow, AWindowThatCannotBeUsedGivesOneLineAndStatusTwo) {
    XWindow existing(50, 50);
    existing.destroy();  // an id that once was a window and is no more
    struct Case {
        const char* what;
        std::vector<std::string> args, env;
    };
    const Case cases[] = {
        {"destroyed window in the environment", {"--root"}, {"XSCREENSAVER_WINDOW=" + existing.hexId()}},
        {"never-made window id", {"--window-id", "0x7ffffff0"}, {}},
        {"id that is no number", {"--root"}, {"XSCREENSAVER_WINDOW=screen"}},
        {"--window-id 0", {"--window-id", "0"}, {}},
        {"bad grid", {"--root", "--grid", "wide"}, {}},
        {"no display", {"--root"}, {"DISPLAY=:9999"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const fs::path err = folder.path / "stderr.txt";
        SaverProcess saver(c.args, c.env, err);
        EXPECT_EQ(saver.waitExit(patienceMs), std::optional<int>(2));
        std::ifstream in(err);
        std::string line, more;
        std::getline(in, line);
        EXPECT_EQ(line.rfind("pelorix: ", 0), 0u) << line;
        EXPECT_FALSE(std::getline(in, more)) << "a second line: " << more;
        fs::remove(err);
        EXPECT_TRUE(fs::is_empty(folder.path));
    }
}

}  // namespace
}  // namespace pelorix::testing
