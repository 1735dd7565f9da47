// Pictures that appear in or leave the working folder while the game runs show in the open lists.
#include <QListWidget>
#include <QMainWindow>
#include <QTest>
#include <QWindow>

#include "game/puzzlemaker2.h"
#include "qtgame.h"

namespace pelorix::testing {
namespace {

QStringList shown(const QtPlatform& platform, Control list) {
    auto* widget = static_cast<QListWidget*>(platform.widget(list));
    QStringList names;
    for (int i = 0; i < widget->count(); ++i) names << widget->item(i)->text();
    return names;
}

TEST_F(QtGame, AnOpenListFollowsTheFolderAndThePickStays) {
    writeFile("b.regular_picture", "x");
    writeFile("old.regular_picture", "x");
    int stage = 0;
    int stateBefore = 0;
    platform->afterYield = [&] {
        if (stage == 0 && built()) {
            QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                              platform->canvasWidget()->mapTo(platform->window(), QPoint(300, 200)));
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::File1)->isVisible()) {
            auto* list = static_cast<QListWidget*>(platform->widget(Control::File1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
            stage = 2;
        } else if (stage == 2 && platform->text(Control::Text3) == "b.regular_picture") {
            stateBefore = game->loop.puzzlestate;
            // Another program adds two pictures and removes one.
            writeFile("a.regular_picture", "x");
            writeFile("c.animation_picture", "x");
            std::filesystem::remove(work() / "old.regular_picture");
            stage = 3;
        } else if (stage == 3 && shown(*platform, Control::File1).join(u'|') == "a.regular_picture|b.regular_picture" &&
                   shown(*platform, Control::File2).join(u'|') == "c.animation_picture") {
            stage = 4;
        }
    };
    runUntil([&] { return stage == 4; });
    ASSERT_EQ(stage, 4) << "File1: " << shown(*platform, Control::File1).join(u'|').toStdString();
    EXPECT_EQ(platform->listCount(Control::File1), 2);
    EXPECT_EQ(platform->listIndex(Control::File1), 1);  // the pick moved down a row and stays picked
    EXPECT_EQ(platform->listIndex(Control::File2), -1);
    EXPECT_EQ(platform->text(Control::Text3), "b.regular_picture");
    EXPECT_EQ(game->loop.puzzlestate, stateBefore);
    EXPECT_TRUE(platform->widget(Control::Command1)->isVisible());
}

}  // namespace
}  // namespace pelorix::testing
