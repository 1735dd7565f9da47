// SPDX-License-Identifier: MIT
// The Qt window at launch: caption, client size, canvas, menus, controls, maximize and closing.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>
#include <map>

#include "platform/design.h"
#include "pictures/pictures.h"
#include "qtfixture.h"

namespace pelorix::testing {
namespace {

using QtWindow = QtWindowTest;

// An entry's text as its menu shows it: a lone '&' only marks the letter after it, "&&" shows '&'.
QString shownText(const QAction* action) { return action->text().replace(QRegularExpression("&(.)"), "\\1"); }

QStringList visibleEntries(const QList<QAction*>& actions) {
    QStringList names;
    for (QAction* a : actions)
        if (a->isVisible() && !a->isSeparator()) names << shownText(a);
    return names;
}

TEST_F(QtWindow, OpensWithLaunchCaptionAndClientSize) {
    EXPECT_EQ(platform->caption(), "Pelorix - (Click to begin)");
    EXPECT_EQ(platform->window()->windowTitle(), QStringLiteral("Pelorix - (Click to begin)"));
    EXPECT_EQ(platform->clientWidth(), 754);
    EXPECT_EQ(platform->clientHeight(), 385);
    platform->showWindow();
    EXPECT_TRUE(platform->window()->windowHandle()->isExposed());
    EXPECT_EQ(platform->clientWidth(), 754);
    EXPECT_EQ(platform->clientHeight(), 385);
    EXPECT_EQ(platform->window()->centralWidget(), platform->canvasWidget());
}

TEST_F(QtWindow, CanvasStartsWithTheBuiltinPicture) {
    const QImage picture = builtinWindowPicture();
    ASSERT_EQ(picture.size(), QSize(800, 600));
    const Canvas& canvas = platform->canvas();
    EXPECT_GE(canvas.image().width(), 754);
    EXPECT_GE(canvas.image().height(), 385);
    for (const QPoint p : {QPoint(0, 0), QPoint(100, 50), QPoint(753, 384), QPoint(400, 300)})
        EXPECT_EQ(canvas.pixel(p.x(), p.y()), picture.pixel(p) & 0xFFFFFFu) << p.x() << "," << p.y();
    // What is on the canvas is what the widget shows.
    platform->showWindow();
    platform->fillBox(10, 10, 20, 20, 12);
    const QImage shown = platform->canvasWidget()->grab().toImage();
    EXPECT_EQ(shown.pixel(15, 15) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(shown.pixel(100, 50) & 0xFFFFFFu, picture.pixel(100, 50) & 0xFFFFFFu);
}

TEST_F(QtWindow, MenuBarShowsOnlyOptionsWithSpeedAndQuit) {
    QMenuBar* bar = platform->window()->menuBar();
    EXPECT_EQ(visibleEntries(bar->actions()), QStringList{"Options"});
    QMenu* options = platform->submenu(Menu::options);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(visibleEntries(options->actions()), (QStringList{"Animated puzzle speed", "Quit"}));
    QMenu* speed = platform->submenu(Menu::anispeed);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(visibleEntries(speed->actions()), (QStringList{"Slow", "Fast"}));
    EXPECT_TRUE(platform->action(Menu::tfast)->isChecked());
    EXPECT_FALSE(platform->action(Menu::tslow)->isChecked());
    EXPECT_TRUE(platform->menuChecked(Menu::tfast));
    EXPECT_FALSE(platform->menuVisible(Menu::puzzle7));
    EXPECT_FALSE(platform->menuEnabled(Menu::dfgfgfg));
    EXPECT_FALSE(platform->action(Menu::dfgfgfg)->isEnabled());
}

TEST_F(QtWindow, WholeMenuTreeInDesignOrder) {
    std::map<std::pair<int, int>, Menu> letters;  // (menu, underlined letter)
    for (int i = 0; i < menuCount; ++i) {
        const Menu entry = static_cast<Menu>(i);
        const MenuDesign& d = design(entry);
        QAction* action = platform->action(entry);
        ASSERT_NE(action, nullptr) << d.name;
        EXPECT_EQ(shownText(action).toStdString(), std::string(d.caption)) << d.name;
        // Every entry but the help texts has an underlined letter, none shared within its menu.
        const QKeySequence letter = QKeySequence::mnemonic(action->text());
        const bool helpText = entry == Menu::hgh || entry == Menu::fddd || entry == Menu::dgdffgfg;
        EXPECT_EQ(letter.isEmpty(), helpText) << d.name;
        const int menu = d.parent ? static_cast<int>(*d.parent) : -1;
        if (!helpText) {
            EXPECT_TRUE(letters.emplace(std::pair{menu, letter[0].toCombined()}, entry).second) << d.name;
        }
        EXPECT_EQ(action->isVisible(), d.visible) << d.name;
        EXPECT_EQ(platform->menuEnabled(entry), d.enabled) << d.name;
        if (d.visible) {
            EXPECT_EQ(action->isEnabled(), d.enabled) << d.name;  // Qt disables hidden actions
        }
        EXPECT_EQ(action->isChecked(), d.checked) << d.name;
        const QList<QAction*> siblings =
            d.parent ? platform->submenu(*d.parent)->actions() : platform->window()->menuBar()->actions();
        EXPECT_TRUE(siblings.contains(action)) << d.name;
    }
    // Children appear in table order.
    EXPECT_EQ(platform->submenu(Menu::puzzle7)->actions(),
              (QList<QAction*>{platform->action(Menu::newpuzzle), platform->action(Menu::prandom),
                               platform->action(Menu::pnrandom), platform->action(Menu::choosepicture),
                               platform->action(Menu::choosepicture2)}));
    // Plain check marks: no entry is in an exclusive group (whose style draws bullets); the game
    // keeps one mark per group itself.
    for (int i = 0; i < menuCount; ++i)
        EXPECT_EQ(platform->action(static_cast<Menu>(i))->actionGroup(), nullptr) << design(static_cast<Menu>(i)).name;
    for (Menu marked : {Menu::usolve, Menu::tfast, Menu::pnrandom}) EXPECT_TRUE(platform->action(marked)->isCheckable());
}

TEST_F(QtWindow, ChoosingAnEntryPostsMenuClickAndKeepsTheGameMarks) {
    platform->action(Menu::tslow)->trigger();
    // Qt would have moved the mark; until the game says otherwise the marks stay as they were.
    EXPECT_TRUE(platform->action(Menu::tfast)->isChecked());
    EXPECT_FALSE(platform->action(Menu::tslow)->isChecked());
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::MenuClick && e.menu == Menu::tslow) {
            platform->setMenuChecked(Menu::tslow, true);
            platform->setMenuChecked(Menu::tfast, false);
        }
    };
    const auto events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::MenuClick);
    EXPECT_EQ(events[0].menu, Menu::tslow);
    EXPECT_TRUE(platform->action(Menu::tslow)->isChecked());
    EXPECT_FALSE(platform->action(Menu::tfast)->isChecked());
    EXPECT_TRUE(platform->menuChecked(Menu::tslow));
    EXPECT_FALSE(platform->menuChecked(Menu::tfast));

    // Choosing the entry already checked changes nothing.
    platform->action(Menu::tslow)->trigger();
    EXPECT_TRUE(platform->action(Menu::tslow)->isChecked());
    // The game may also clear every mark of a group.
    platform->setMenuChecked(Menu::tslow, false);
    EXPECT_FALSE(platform->action(Menu::tslow)->isChecked());
    EXPECT_FALSE(platform->action(Menu::tfast)->isChecked());
    platform->action(Menu::tfast)->trigger();
    EXPECT_FALSE(platform->action(Menu::tfast)->isChecked());

    // Help texts and plain commands post their click too.
    platform->action(Menu::hgh)->trigger();
    platform->action(Menu::quit)->trigger();
    sink.onEvent = nullptr;
    const auto more = drain();
    ASSERT_EQ(more.size(), 4u);
    EXPECT_EQ(more[0].menu, Menu::tslow);
    EXPECT_EQ(more[1].menu, Menu::tfast);
    EXPECT_EQ(more[2].menu, Menu::hgh);
    EXPECT_EQ(more[3].menu, Menu::quit);
    EXPECT_EQ(drain().size(), 0u);
}

TEST_F(QtWindow, MenuStatesWorkForSubmenusAndLeaves) {
    platform->setMenuVisible(Menu::puzzle7, true);
    platform->setMenuVisible(Menu::soptions, true);
    platform->setMenuVisible(Menu::instructions, true);
    EXPECT_TRUE(platform->action(Menu::puzzle7)->isVisible());
    EXPECT_EQ(visibleEntries(platform->window()->menuBar()->actions()), (QStringList{"Options", "Instructions"}));
    EXPECT_EQ(visibleEntries(platform->submenu(Menu::options)->actions()),
              (QStringList{"Puzzle", "Animated puzzle speed", "Solving options", "Quit"}));
    platform->setMenuEnabled(Menu::soptions, false);
    EXPECT_FALSE(platform->action(Menu::soptions)->isEnabled());
    EXPECT_FALSE(platform->menuEnabled(Menu::soptions));
    platform->setMenuEnabled(Menu::newpuzzle, false);
    EXPECT_FALSE(platform->action(Menu::newpuzzle)->isEnabled());
    platform->setMenuVisible(Menu::quit, false);
    EXPECT_FALSE(platform->action(Menu::quit)->isVisible());
    // A check mark on an entry that was not made for one.
    platform->setMenuChecked(Menu::newpuzzle, true);
    EXPECT_TRUE(platform->action(Menu::newpuzzle)->isChecked());
    platform->setMenuChecked(Menu::anispeed, true);
    EXPECT_TRUE(platform->menuChecked(Menu::anispeed));
    EXPECT_TRUE(platform->action(Menu::anispeed)->isChecked());
    // The radio entries follow whatever the game sets.
    platform->setMenuChecked(Menu::usolve, false);
    platform->setMenuChecked(Menu::csolve, true);
    EXPECT_FALSE(platform->action(Menu::usolve)->isChecked());
    EXPECT_TRUE(platform->action(Menu::csolve)->isChecked());
}

TEST_F(QtWindow, ControlsFollowTheDesign) {
    for (int i = 1; i < controlCount; ++i) {
        const Control control = static_cast<Control>(i);
        const ControlDesign& d = design(control);
        QWidget* w = platform->widget(control);
        ASSERT_NE(w, nullptr) << d.name;
        EXPECT_EQ(w->parentWidget(), platform->canvasWidget()) << d.name;
        EXPECT_EQ(w->geometry(), QRect(d.left / 15, d.top / 15, d.width / 15, d.height / 15)) << d.name;
        EXPECT_TRUE(w->isHidden()) << d.name;
        EXPECT_FALSE(platform->visible(control)) << d.name;
        EXPECT_EQ(platform->left(control), d.left) << d.name;
    }
    EXPECT_EQ(qobject_cast<QLabel*>(platform->widget(Control::Label1))->text(), QStringLiteral("Width of puzzle (3-20):"));
    EXPECT_EQ(qobject_cast<QPushButton*>(platform->widget(Control::Command1))->text(), QStringLiteral("Begin"));
    EXPECT_EQ(qobject_cast<QCheckBox*>(platform->widget(Control::Check1))->text(),
              QStringLiteral("Picture's are Random (not chosen)"));
    EXPECT_EQ(platform->text(Control::Text1), "4");
    EXPECT_EQ(platform->text(Control::Text2), "4");
    EXPECT_EQ(platform->text(Control::Text3), "");
    EXPECT_TRUE(qobject_cast<QLineEdit*>(platform->widget(Control::Text3))->isReadOnly());
    EXPECT_EQ(qobject_cast<QLineEdit*>(platform->widget(Control::Text1))->maxLength(), 2);
    // Label text in the design colour.
    EXPECT_EQ(platform->widget(Control::Label8)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(platform->widget(Control::Label5)->palette().color(QPalette::WindowText), QColor(0, 255, 255));
    EXPECT_EQ(platform->widget(Control::File1)->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(platform->checkValue(Control::Check1), 0);
    platform->setCheckValue(Control::Check1, 1);
    EXPECT_EQ(platform->checkValue(Control::Check1), 1);
    EXPECT_TRUE(qobject_cast<QCheckBox*>(platform->widget(Control::Check1))->isChecked());

    platform->setVisible(Control::Command2, true);
    EXPECT_TRUE(platform->visible(Control::Command2));
    EXPECT_FALSE(platform->widget(Control::Command2)->isHidden());
    platform->setLeft(Control::File2, 2880);
    EXPECT_EQ(platform->left(Control::File2), 2880);
    EXPECT_EQ(platform->widget(Control::File2)->x(), 192);
    EXPECT_EQ(platform->widget(Control::File2)->y(), 16);
}

TEST_F(QtWindow, Picture1SizesAndStaysHidden) {
    EXPECT_EQ(platform->pictureOuterWidth(), 269);
    EXPECT_EQ(platform->pictureOuterHeight(), 238);
    EXPECT_EQ(platform->pictureInnerWidth(), 267);
    EXPECT_EQ(platform->pictureInnerHeight(), 236);
    EXPECT_TRUE(platform->widget(Control::Picture1)->isHidden());
}

TEST_F(QtWindow, DrawingCallsReachTheCanvas) {
    platform->fillBox(30, 40, 10, 20, 3);  // corners in any order, both included
    EXPECT_EQ(platform->canvas().pixel(10, 20), 0x008080u);
    EXPECT_EQ(platform->canvas().pixel(30, 40), 0x008080u);
    EXPECT_NE(platform->canvas().pixel(31, 41), 0x008080u);
    const QImage animation = toCanvasFormat(builtinAnimationPicture());
    EXPECT_TRUE(platform->copyPicture(PictureId::Picture1, 100, 100, 50, 40, 10, 20));
    EXPECT_EQ(platform->canvas().pixel(100, 100), animation.pixel(10, 20) & 0xFFFFFFu);
    EXPECT_EQ(platform->canvas().pixel(149, 139), animation.pixel(59, 59) & 0xFFFFFFu);
    EXPECT_FALSE(platform->copyPicture(PictureId::Picture1, 0, 0, 10, 10, 500, 500));
    EXPECT_FALSE(platform->copyPicture(PictureId::Window, 5000, 5000, 10, 10, 0, 0));
}

TEST_F(QtWindow, MaximizeReturnsWithTheLargerClientSize) {
    platform->showWindow();
    const int width = platform->clientWidth();
    const int height = platform->clientHeight();
    platform->maximize();
    EXPECT_GT(platform->clientWidth(), width);
    EXPECT_GT(platform->clientHeight(), height);
    EXPECT_EQ(platform->canvasWidget()->width(), platform->clientWidth());
    EXPECT_GE(platform->canvas().image().width(), platform->clientWidth());
    EXPECT_GE(platform->canvas().image().height(), platform->clientHeight());
    // Drawing reaches the new area, and a second maximize keeps the size.
    platform->fillBox(platform->clientWidth() - 1, platform->clientHeight() - 1, platform->clientWidth() - 1,
                      platform->clientHeight() - 1, 14);
    EXPECT_EQ(platform->canvas().pixel(platform->clientWidth() - 1, platform->clientHeight() - 1), 0xFFFF00u);
    const QSize once(platform->clientWidth(), platform->clientHeight());
    platform->maximize();
    EXPECT_EQ(QSize(platform->clientWidth(), platform->clientHeight()), once);
}

TEST_F(QtWindow, MaximizeOfAHiddenWindowShowsIt) {
    platform->maximize();
    EXPECT_TRUE(platform->window()->isVisible());
    EXPECT_GT(platform->clientWidth(), 754);
    EXPECT_GT(platform->clientHeight(), 385);
}

TEST_F(QtWindow, CaptionChanges) {
    platform->setCaption("Pelorix-(Solving regular puzzle)");
    EXPECT_EQ(platform->caption(), "Pelorix-(Solving regular puzzle)");
    EXPECT_EQ(platform->window()->windowTitle(), QStringLiteral("Pelorix-(Solving regular puzzle)"));
}

TEST_F(QtWindow, ClosingTheWindowPostsUnloadAndLeavesItOpen) {
    platform->showWindow();
    EXPECT_FALSE(platform->window()->close());
    EXPECT_TRUE(platform->window()->isVisible());
    const auto events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Unload);
}

TEST_F(QtWindow, EndStopsDispatching) {
    platform->action(Menu::quit)->trigger();
    platform->action(Menu::hgh)->trigger();
    sink.onEvent = [&](const Event&) { platform->end(); };
    const auto events = drain();
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(platform->ended());
    EXPECT_EQ(platform->pendingEvents(), 0u);
    platform->action(Menu::quit)->trigger();
    EXPECT_EQ(drain().size(), 0u);
}

TEST_F(QtWindow, HooksRunAfterEachYieldAndStopWhenEnds) {
    int after = 0;
    platform->afterYield = [&] { ++after; };
    platform->stopWhen = [&] { return after >= 2; };
    platform->yield(false);
    EXPECT_FALSE(platform->ended());
    platform->yield(false);
    EXPECT_TRUE(platform->ended());
    EXPECT_EQ(after, 2);
}

TEST_F(QtWindow, RandomNumbersAreReproducibleAndInRange) {
    platform->randomize(1234.5);
    std::vector<double> first;
    for (int i = 0; i < 100; ++i) {
        const double r = platform->random();
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
        first.push_back(r);
    }
    platform->randomize(1234.5);
    for (double r : first) EXPECT_EQ(platform->random(), r);
    EXPECT_GE(platform->timeOfDay(), 0.0);
    EXPECT_LT(platform->timeOfDay(), 86400.0);
}

}  // namespace
}  // namespace pelorix::testing
