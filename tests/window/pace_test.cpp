// SPDX-License-Identifier: MIT
// The real window: frames reach the screen at the display's pace, raw names load, large pictures keep their pixels.
#include <QImageReader>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>

#include "hostile.h"
#include "window/widgets.h"
#include "qtfixture.h"

namespace pelorix::testing {
namespace {

// On a clock the test sets: the display's pace is kept on it, so paints are counted in its
// refreshes however fast or slow the machine draws.
class QtPace : public QtWindowTest {
protected:
    void SetUp() override {
        platformClock = [this] { return now; };
        QtWindowTest::SetUp();
        platform->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(platform->canvasWidget()));
        platform->canvasWidget()->installEventFilter(&counter);
        counter.paints = 0;
    }
    // The clock a few refreshes on, and a wait (for the paint, not for a time) until `area` is on
    // the screen.
    void settle(const QRegion& area) {
        now += 3 * refreshMs() * 1000;
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter.painted.intersected(area) == area; }, 10000));
    }
    // One frame as the game draws it: a cell filled, the moving picture copied over it.
    void frame(int i) {
        platform->fillBox(1, 1, 200, 150, 15);
        platform->copyPicture(PictureId::Picture1, 1 + i % 50, 1, 150, 100, 0, 0);
    }
    int refreshMs() const { return dynamic_cast<const qt::CanvasWidget&>(*platform->canvasWidget()).refreshMs(); }
    PaintCounter counter;
    std::int64_t now = 1000000;
};

TEST_F(QtPace, FramesDrawnFasterThanTheDisplayArePaintedAtItsPace) {
    // Eight frames drawn a refresh.
    const std::int64_t refresh = refreshMs() * 1000;
    const QRect drawn(2, 2, 100, 90);
    // Plain drawing from the start, and plain drawing after a run of frames shown at once (Fast),
    // once refreshes have passed without such a frame.
    for (const bool afterFast : {false, true}) {
        SCOPED_TRACE(afterFast ? "after frames shown at once" : "from the start");
        for (int i = 0; afterFast && i < 20; ++i) {
            frame(i);
            platform->showFrame();
            now += refresh;
            platform->yield(false);
        }
        frame(0);
        settle(drawn);
        counter.paints = 0;
        counter.painted = QRegion();
        const int refreshes = 40;
        for (int i = 0; i < 8 * refreshes; ++i) {
            frame(i);
            now += refresh / 8;
            platform->yield(false);
        }
        settle(drawn);
        EXPECT_GE(counter.paints, 1);
        EXPECT_LE(counter.paints, refreshes + 4);
    }
}

TEST_F(QtPace, EveryAreaDrawnBetweenTwoRefreshesReachesTheScreen) {
    // More separate boxes than the canvas keeps apart: all of them are painted all the same.
    auto box = [](int i) { return QRect(1 + (i % 30) * 20, 1 + (i / 30) * 20, 10, 10); };
    for (int i = 0; i < 300; ++i) platform->fillBox(box(i).left(), box(i).top(), box(i).right(), box(i).bottom(), i % 16);
    platform->yield(false);
    QRegion boxes;
    for (int i = 0; i < 300; ++i) boxes += box(i);
    settle(boxes);
}

TEST_F(QtPace, FramesShownAtOnceArePaintedOneByOne) {
    int frames = 0;
    for (; frames < 40; ++frames) {
        frame(frames);
        platform->showFrame();
        platform->yield(false);
    }
    EXPECT_GE(counter.paints, frames - 2);
}

TEST_F(QtPace, ANameThatIsNotUtf8IsListedPickedAndLoaded) {
    const std::string name = "caf\xE9.regular_picture";
    const QByteArray png = encoded(patterned(64, 48), "PNG");
    writeFile(name, png.toStdString());
    platform->refreshList(Control::File1);
    ASSERT_EQ(platform->listCount(Control::File1), 1);
    EXPECT_EQ(platform->listEntry(Control::File1, 0), name);
    // The name goes through the chosen-picture box, as Begin reads it.
    platform->setText(Control::Text3, platform->listEntry(Control::File1, 0));
    EXPECT_EQ(platform->text(Control::Text3), name);
    EXPECT_TRUE(platform->loadPicture(platform->text(Control::Text3)));
    EXPECT_EQ(platform->windowPicture().size(), QSize(64, 48));
    std::filesystem::remove(work() / name);  // QTemporaryDir cannot remove a name that is not UTF-8
}

TEST_F(QtPace, PaintingGivesTheCanvasPixelsOverManyRows) {
    // Taller than the rows one copy paints and not a multiple of them, starting off a band edge.
    writeFile("tall.regular_picture", encoded(patterned(301, 347), "PNG", 100).toStdString());
    ASSERT_TRUE(platform->loadPicture("tall.regular_picture"));
    const QRect area(3, 5, 290, 333);
    QImage painted(platform->canvasWidget()->size(), QImage::Format_RGB32);
    painted.fill(Qt::black);
    platform->canvasWidget()->render(&painted, area.topLeft(), QRegion(area), QWidget::RenderFlags());
    const QImage& canvas = platform->canvas().image();
    EXPECT_EQ(painted.copy(area), canvas.copy(area));
    EXPECT_EQ(painted.pixel(area.left() - 1, area.top()), QColor(Qt::black).rgb()) << "painted outside the area";
    EXPECT_EQ(painted.pixel(area.left(), area.bottom() + 1), QColor(Qt::black).rgb()) << "painted outside the area";
}

TEST_F(QtPace, APictureLargerThanTheScreenShowsTheSamePixelsAsAWholeDecode) {
    const QImage source = patterned(3000, 2000);
    for (const char* format : {"PNG", "JPG", "BMP"}) {
        const QByteArray bytes = encoded(source, format, 90);
        writeFile("big.regular_picture", bytes.toStdString());
        ASSERT_TRUE(platform->loadPicture("big.regular_picture")) << format;
        const QImage whole = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
        const QImage& canvas = platform->canvas().image();
        ASSERT_LE(canvas.width(), 3000);
        EXPECT_EQ(canvas, whole.copy(canvas.rect())) << format;
    }
}

}  // namespace
}  // namespace pelorix::testing
