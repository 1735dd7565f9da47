// SPDX-License-Identifier: MIT
// Playing on the real window as a user would: title puzzles solved, a puzzle of one's own, the menus.
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTest>
#include <QWindow>

#include "qtgame.h"

namespace pelorix::testing {
namespace {

class QtPlay : public QtGame {
protected:
    void SetUp() override {
        QtGame::SetUp();
        wakeOften();
    }

    void clickCanvas(int x, int y) {
        QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                          platform->canvasWidget()->mapTo(platform->window(), QPoint(x, y)));
    }
    QLineEdit* box(Control c) const { return static_cast<QLineEdit*>(platform->widget(c)); }
    // Replaces a box's text by typing, as a user who selects it all first.
    void typeInto(Control c, const QString& text) {
        box(c)->selectAll();
        QTest::keyClicks(box(c), text);
    }
    void pickListEntry(Control list, int row) {
        auto* widget = static_cast<QListWidget*>(platform->widget(list));
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, widget->visualItemRect(widget->item(row)).center());
    }
    // An animated puzzle of one's own at Slow or Fast: counts its frames, paints and refreshes.
    void runAtPace(bool slow);
    void writePicture(const std::string& name, int w, int h) {
        QImage picture(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        ASSERT_TRUE(picture.save(QString::fromStdString((work() / name).string()), "PNG"));
    }
};

TEST_F(QtPlay, TitlePuzzlesAreSolvedAndShownWhole) {
    writeFile("movepiece.Time", ".1");  // a move a millisecond, so that both types come soon
    writeFile("newpuzzle.Time", "1");
    bool regular = false, animated = false;
    platform->afterYield = [&] {
        if (game->loop.puzzlestate != 4) return;
        const QImage& canvas = platform->canvas().image();
        if (game->puzzle.animated == 0 && !regular) {
            regular = true;
            // The whole picture, without grid lines or hole.
            const QImage& picture = platform->windowPicture();
            for (int y = 0; y < 385; y += 5)
                for (int x = 0; x < 754; x += 5)
                    ASSERT_EQ(canvas.pixel(x, y), picture.pixel(x, y)) << x << "," << y;
        }
        if (game->puzzle.animated == 1 && !animated) {
            animated = true;
            const PuzzleState& s = game->puzzle;
            // The picture was drawn one step back, before it moved on; colour2 elsewhere.
            const int left = s.frameleft - s.anidx, top = s.frametop - s.anidy;
            const QImage& picture = platform->animationPicture();
            for (auto [x, y] : {std::pair{20, 20}, {133, 118}, {250, 200}})
                EXPECT_EQ(canvas.pixel(left + x, top + y), picture.pixel(x, y));
            const int far = left > 377 ? 5 : 748;
            EXPECT_EQ(colourOnCanvas(far, top > 190 ? 5 : 380), 15);
        }
    };
    runUntil([&] { return regular && animated; });
    EXPECT_TRUE(regular);
    EXPECT_TRUE(animated);
    EXPECT_EQ(platform->caption(), "Pelorix - (Click to begin)");
}

TEST_F(QtPlay, FromTheTitleToASolvedPuzzleOfOnesOwnAndTheNext) {
    writePicture("harbour.regular_picture", 640, 480);
    writePicture("meadow.regular_picture", 500, 300);
    int stage = 0, arrows = 0, puzzles = 0;
    platform->afterYield = [&] {
        switch (stage) {
            case 0:  // the title puzzle is on: click it
                if (game->puzzle.solvetop > 0) {
                    clickCanvas(300, 200);
                    stage = 1;
                }
                break;
            case 1:  // the set-up screen: pick the second picture, 3 × 3, Begin
                if (!platform->widget(Control::Command1)->isVisible()) break;
                EXPECT_EQ(platform->caption(), "Pelorix");
                pickListEntry(Control::File1, 1);
                typeInto(Control::Text1, "3");
                typeInto(Control::Text2, "3");
                QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
                stage = 2;
                break;
            case 2:  // solving: a few arrows, then B until the puzzle is finished
                if (platform->caption() == "Pelorix-(Finished regular puzzle)") {
                    puzzles = 1;
                    clickCanvas(100, 100);
                    stage = 3;
                } else if (platform->caption() == "Pelorix-(Solving regular puzzle)") {
                    const Qt::Key key = arrows < 6 ? (arrows % 2 ? Qt::Key_Left : Qt::Key_Up) : Qt::Key_B;
                    ++arrows;
                    QTest::keyClick(platform->canvasWidget(), key);
                }
                break;
            default:
                if (platform->caption() == "Pelorix-(Solving regular puzzle)" && game->puzzle.placedcount == 0) puzzles = 2;
        }
    };
    runUntil([&] { return puzzles == 2; });
    EXPECT_EQ(puzzles, 2);
    EXPECT_EQ(game->puzzle.picturefile, "meadow.regular_picture");
    EXPECT_EQ(game->puzzle.puzzlewidth, 3);
    EXPECT_EQ(game->puzzle.puzzleheight, 3);
    EXPECT_EQ(platform->windowPicture().size(), QSize(500, 300));
    EXPECT_TRUE(platform->action(Menu::puzzle7)->isVisible());
    EXPECT_TRUE(platform->action(Menu::soptions)->isVisible());
}

TEST_F(QtPlay, ScreenSaverModeChosenFromTheMenusBuildsPuzzleAfterPuzzle) {
    writePicture("harbour.regular_picture", 320, 240);
    int stage = 0, puzzles = 0, counted = 0, last = 0;
    platform->afterYield = [&] {
        if (game->puzzle.freshpuzzle == 1 && last == 0) ++counted;
        last = game->puzzle.freshpuzzle;
        if (stage == 0 && game->puzzle.solvetop > 0) {
            clickCanvas(300, 200);
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::Command1)->isVisible()) {
            QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
            stage = 2;
        } else if (stage == 2 && platform->caption() == "Pelorix-(Solving regular puzzle)") {
            platform->action(Menu::cpicture)->trigger();
            stage = 3;
        } else if (stage == 3 && platform->widget(Control::Text5)->isVisible()) {
            EXPECT_EQ(box(Control::Text5)->text(), "100");
            typeInto(Control::Text5, "2");
            QTest::keyClick(box(Control::Text5), Qt::Key_Return);
            stage = 4;
        } else if (stage == 4 && !platform->widget(Control::Text5)->isVisible()) {
            platform->action(Menu::cpiece)->trigger();
            stage = 5;
        } else if (stage == 5 && platform->widget(Control::Text4)->isVisible()) {
            typeInto(Control::Text4, "0");
            QTest::keyClick(box(Control::Text4), Qt::Key_Return);
            stage = 6;
        } else if (stage == 6 && !platform->widget(Control::Text4)->isVisible()) {
            platform->action(Menu::csolves)->trigger();
            puzzles = counted;
            stage = 7;
        } else if (stage == 7 && counted >= puzzles + 3) {
            platform->action(Menu::tslow)->trigger();
            stage = 8;
        }
    };
    runUntil([&] { return stage == 8 && game->loop.nwait4 == 1; });
    EXPECT_GE(counted, puzzles + 3);
    EXPECT_EQ(game->loop.solvemode, 2);
    EXPECT_TRUE(platform->menuChecked(Menu::csolves));
    EXPECT_FALSE(platform->menuChecked(Menu::usolve));
    EXPECT_EQ(readFile("newpuzzle.Time"), " 2 \r\n");
    EXPECT_EQ(readFile("movepiece.Time"), " 0 \r\n");
    EXPECT_EQ(readFile("animation.Time"), " 1 \r\n");
    EXPECT_TRUE(platform->action(Menu::tslow)->isChecked());
    EXPECT_FALSE(platform->action(Menu::tfast)->isChecked());
}

// Counted in frames and refreshes, not milliseconds: a busy machine draws fewer frames, never
// more, and a frame it draws at Slow still reaches the screen.
void QtPlay::runAtPace(bool slow) {
    writeFile("scene.animation_picture", "");
    writeFile("animation.Time", slow ? " 1 \r\n" : " 0 \r\n");
    PaintCounter counter;
    platform->canvasWidget()->installEventFilter(&counter);
    int stage = 0, lastleft = 0;
    long frames = 0, paints0 = 0;
    long long refresh0 = 0;
    platform->afterYield = [&] {
        if (stage == 0 && game->puzzle.solvetop > 0) {
            clickCanvas(300, 200);
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::Command1)->isVisible()) {
            pickListEntry(Control::File2, 0);
            QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
            stage = 2;
        } else if (stage == 2 && game->puzzle.animated == 1 && game->loop.puzzlestate == 3 && game->loop.begun == 1) {
            stage = 3;
            lastleft = game->puzzle.frameleft;
            paints0 = counter.paints;
            refresh0 = platform->refreshCount();
        } else if (stage == 3) {
            frames += std::abs(game->puzzle.frameleft - lastleft);
            lastleft = game->puzzle.frameleft;
        }
    };
    runUntil([&] { return stage == 3 && frames >= (slow ? 20 : 80); });
    platform->canvasWidget()->removeEventFilter(&counter);
    const long paints = counter.paints - paints0;
    const long long refreshes = platform->refreshCount() - refresh0;
    ASSERT_GE(frames, slow ? 20 : 80);
    if (slow) {
        EXPECT_LE(frames, refreshes + 2) << "more than one Slow frame a refresh";
        EXPECT_GE(paints, frames - 2) << "Slow frames that never reached the screen";
    } else {
        EXPECT_LE(frames, 4 * (refreshes + 1)) << "more than four Fast frames a refresh";
        EXPECT_LE(frames, 8 * paints + 8) << "too many pixels between two shown frames";
    }
}

TEST_F(QtPlay, SlowPaintsEveryFrame) { runAtPace(true); }

TEST_F(QtPlay, FastDrawsAtMostFourFramesARefreshAndShowsThem) { runAtPace(false); }

// The whole program's way out: Quit from the menu, the window object and the game torn down, and
// the process's exit status: 0, 3 when anything but the two title pictures was written, 4 when
// the game did not end.
void quitFromTheMenu(const std::filesystem::path& dir) {
    std::filesystem::current_path(dir);
    {
        QtPlatform platform(dir);
        puzzlemaker2 game(platform);
        platform.showWindow();
        platform.afterYield = [&] {
            if (game.puzzle.solvetop > 0) platform.action(Menu::quit)->trigger();
        };
        QElapsedTimer clock;
        clock.start();
        platform.stopWhen = [&] { return clock.elapsed() > patienceMs; };
        game.Form_Activate();
        if (clock.elapsed() > patienceMs) std::exit(4);
    }
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
    std::exit(files == 2 ? 0 : 3);
}

TEST_F(QtPlay, QuitEndsTheProcessWithStatusZeroAndWritesNoSettings) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(quitFromTheMenu(work()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace pelorix::testing
