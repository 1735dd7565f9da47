// SPDX-License-Identifier: MIT
// Where the keyboard goes on the real window: open panels keep it, Tab cycles, menus give it back.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "qtgame.h"

namespace pelorix::testing {
namespace {

const std::vector<Control> setupScreen{Control::Label5, Control::Text3, Control::File1, Control::Label8,
                                       Control::File2,  Control::Label1, Control::Text1, Control::Label2,
                                       Control::Text2,  Control::Command1};

class QtFocus : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        platform->showWindow();
        drain();
    }
    QWidget* focus() const { return platform->window()->focusWidget(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(platform->window()->windowHandle(), k, m); }
    void show(const std::vector<Control>& controls) {
        for (Control c : controls) platform->setVisible(c, true);
    }
};

TEST_F(QtFocus, TabCyclesThroughTheSetupScreenInTabOrder) {
    show(setupScreen);
    platform->setFocus(Control::Text1);
    const std::vector<Control> forward{Control::Text2, Control::File1, Control::Text3, Control::Command1,
                                       Control::File2, Control::Text1, Control::Text2};
    for (Control c : forward) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focus(), platform->widget(c)) << static_cast<int>(c);
    }
    const std::vector<Control> backward{Control::Text1, Control::File2, Control::Command1, Control::Text3,
                                        Control::File1, Control::Text2, Control::Text1, Control::File2};
    for (Control c : backward) {
        key(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(focus(), platform->widget(c)) << static_cast<int>(c);
    }
    // Hidden controls are skipped: the picture panel's buttons in place of Begin.
    platform->setVisible(Control::Command1, false);
    platform->setVisible(Control::File2, false);
    show({Control::Command2, Control::Command3});
    platform->setFocus(Control::Text3);
    for (Control c : {Control::Command2, Control::Command3, Control::Text1}) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focus(), platform->widget(c)) << static_cast<int>(c);
    }
}

TEST_F(QtFocus, TabInATimingPanelStaysInItsBox) {
    show({Control::Label4, Control::Text4});
    platform->setFocus(Control::Text4);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focus(), platform->widget(Control::Text4));
    drain();
    key(Qt::Key_5);
    key(Qt::Key_Escape);
    const auto downs = ofKind(drain(), EventKind::KeyDown);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].control, Control::Text4);
    EXPECT_EQ(downs[1].control, Control::Text4);
    EXPECT_EQ(downs[1].key, 27);
    EXPECT_EQ(platform->text(Control::Text4), "5");
}

// Typing replaces a box's value however the box got the keys; only a click into the box that has
// them already places the caret (here at its end).
TEST_F(QtFocus, TypingReplacesTheValueOfABoxReachedAnyWay) {
    enum Way { program, tab, shiftTab, firstClick, secondClick, drag };
    const struct { Way way; const char* before; const char* after; } cases[] = {
        {program, "100", "5"}, {tab, "12", "5"}, {shiftTab, "12", "5"},
        {firstClick, "100", "5"}, {secondClick, "1", "15"},
        {drag, "1234567890", "567890"},  // a first press dragged over "12345" selects just that
    };
    for (Control box : {Control::Text1, Control::Text2, Control::Text4, Control::Text5}) {
        show({box, Control::Text3});
        QWidget* edit = platform->widget(box);
        for (const auto& c : cases) {
            platform->setText(box, c.before);
            platform->setFocus(c.way == secondClick ? box : Control::Text3);
            if (c.way == program) platform->setFocus(box);
            if (c.way == tab || c.way == shiftTab) key(Qt::Key_Tab, c.way == tab ? Qt::NoModifier : Qt::ShiftModifier);
            if (c.way == firstClick || c.way == secondClick)
                QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                                  edit->mapTo(platform->window(), QPoint(edit->width() - 3, edit->height() / 2)));
            if (c.way == drag) {
                auto* line = static_cast<QLineEdit*>(edit);
                const auto at = [&](int position) {
                    line->setCursorPosition(position);
                    return edit->mapTo(platform->window(), line->inputMethodQuery(Qt::ImCursorRectangle).toRect().center());
                };
                const QPoint from = at(0), to = at(5);
                QWindow* window = platform->window()->windowHandle();
                QTest::mousePress(window, Qt::LeftButton, {}, from);
                QTest::mouseMove(window, to);
                QTest::mouseRelease(window, Qt::LeftButton, {}, to);
            }
            ASSERT_EQ(focus(), edit);
            key(Qt::Key_5);
            EXPECT_EQ(platform->text(box), c.after) << static_cast<int>(box) << " reached by " << c.way;
        }
        platform->setVisible(box, false);
    }
}

TEST_F(QtFocus, TabOnTheBoardWithoutAPanelIsAKeyOfTheBoard) {
    platform->setFocus(Control::Form);
    key(Qt::Key_Tab);
    EXPECT_EQ(focus(), platform->canvasWidget());
    const auto downs = ofKind(drain(), EventKind::KeyDown);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].control, Control::Form);
    EXPECT_EQ(downs[0].key, 9);
}

TEST_F(QtFocus, HidingTheFocusedControlKeepsTheKeysInThePanel) {
    show(setupScreen);
    platform->setFocus(Control::Text2);
    platform->setVisible(Control::Text2, false);
    EXPECT_NE(focus(), platform->canvasWidget());
    EXPECT_FALSE(focus()->isHidden());
    for (Control c : setupScreen) platform->setVisible(c, false);
    EXPECT_EQ(focus(), platform->canvasWidget());
}

TEST_F(QtFocus, EnterPressesTheFocusedButton) {
    for (Control button : {Control::Command1, Control::Command2, Control::Command3}) {
        platform->setVisible(button, true);
        platform->setFocus(button);
        for (auto [k, m] : {std::pair{Qt::Key_Return, Qt::KeyboardModifiers{}}, {Qt::Key_Enter, Qt::KeypadModifier}}) {
            key(k, m);
            const auto events = drain();
            ASSERT_EQ(events.size(), 1u) << static_cast<int>(button);
            EXPECT_EQ(events[0].kind, EventKind::Click);
            EXPECT_EQ(events[0].control, button);
        }
        platform->setVisible(button, false);
    }
}

class QtFocusGame : public QtGame {
protected:
    static bool waitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 100 && !done(); ++i) pump(20);
        return done();
    }
    QLineEdit* box(Control c) const { return static_cast<QLineEdit*>(platform->widget(c)); }
    QWidget* focus() const { return platform->window()->focusWidget(); }
    void key(Qt::Key k) { QTest::keyClick(platform->window()->windowHandle(), k); }
    void clickBoard(int x, int y) {
        QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                          platform->canvasWidget()->mapTo(platform->window(), QPoint(x, y)));
    }
    // Opens the piece-time panel from its menu entry, with `typed` in its box.
    void openPieceTime(const QString& typed) {
        platform->action(Menu::cpiece)->trigger();
        platform->yield(false);
        ASSERT_TRUE(platform->visible(Control::Text4));
        ASSERT_EQ(focus(), box(Control::Text4));
        QTest::keyClicks(box(Control::Text4), typed);
    }
};

TEST_F(QtFocusGame, BoardClickWithATimingPanelOpenThenEnterStoresAndCloses) {
    openPieceTime("7");
    QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                      platform->canvasWidget()->mapTo(platform->window(), QPoint(300, 200)));
    key(Qt::Key_Return);
    platform->yield(false);
    EXPECT_FALSE(platform->visible(Control::Text4));
    EXPECT_EQ(game->loop.movetime, 7);
    EXPECT_EQ(readFile("movepiece.Time"), " 7 \r\n");
    EXPECT_EQ(focus(), platform->canvasWidget());
}

// The same through the running game: over an animated puzzle, Enter on the board would pause it.
TEST_F(QtFocusGame, BoardClickOverAnAnimatedPuzzleLeavesEnterToThePanel) {
    writeFile("balloon.animation_picture", "x");
    wakeOften();
    int stage = 0;
    platform->afterYield = [&] {
        if (stage == 0 && game->puzzle.solvetop > 0) {
            clickBoard(300, 200);
            stage = 1;
        } else if (stage == 1 && platform->visible(Control::Command1)) {
            auto* list = static_cast<QListWidget*>(platform->widget(Control::File2));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
            QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
            stage = 2;
        } else if (stage == 2 && game->puzzle.animated == 1 && game->loop.puzzlestate == 3) {
            platform->action(Menu::cpiece)->trigger();
            stage = 3;
        } else if (stage == 3 && platform->visible(Control::Text4)) {
            QTest::keyClicks(box(Control::Text4), "7");
            clickBoard(400, 250);
            key(Qt::Key_Return);
            stage = 4;
        } else if (stage == 4 && !platform->visible(Control::Text4)) {
            stage = 5;
        }
    };
    runUntil([&] { return stage == 5; });
    EXPECT_EQ(stage, 5);
    EXPECT_EQ(game->loop.movetime, 7);
    EXPECT_EQ(game->puzzle.anipaused, 0);
    EXPECT_EQ(game->loop.puzzlestate, 3);
    EXPECT_EQ(focus(), platform->canvasWidget());
}

TEST_F(QtFocusGame, EscapeAfterAMenuWasOpenedAndClosedClosesThePanelAtOnce) {
    openPieceTime("9");
    QMenuBar* bar = platform->window()->menuBar();
    QAction* options = platform->action(Menu::options);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(options).center());
    ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_EQ(QApplication::activePopupWidget(), platform->submenu(Menu::options));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    pump(20);
    EXPECT_EQ(focus(), box(Control::Text4));
    key(Qt::Key_Escape);
    platform->yield(false);
    EXPECT_FALSE(platform->visible(Control::Text4));
    EXPECT_EQ(game->loop.movetime, 0);  // Escape keeps the stored value
}

// In play: Ctrl+N makes a new puzzle, F10 and the arrows reach Quit, Escape gives the board the keys
// back, Alt and the underlined letters open the piece-time panel, where Ctrl+N does nothing, a menu
// opened and closed leaves the value selected, and typing replaces it; then Ctrl+Q quits.
TEST_F(QtFocusGame, MenusAndShortcutsFromTheKeyboard) {
    QSignalSpy newPuzzles(platform->action(Menu::newpuzzle), &QAction::triggered);
    const auto press = [this](std::initializer_list<QKeyCombination> keys) {
        for (QKeyCombination k : keys) {
            // Offscreen, an open menu gets no keys sent to the window.
            QWidget* popup = QApplication::activePopupWidget();
            if (popup) QTest::keyClick(popup, k.key(), k.keyboardModifiers());
            else QTest::keyClick(platform->window()->windowHandle(), k.key(), k.keyboardModifiers());
        }
    };
    const auto keysAt = [this](Control c) {
        return !QApplication::activePopupWidget() && focus() == platform->widget(c);
    };
    writeFile("goldfish.animation_picture", "x");  // something for Begin to build from
    int stage = 0;
    wakeOften();
    platform->afterYield = [&] {
        if (stage == 0 && built()) {
            clickBoard(300, 200);
        } else if (stage == 1 && platform->visible(Control::Command1)) {
            press({Qt::CTRL | Qt::Key_N});  // no Puzzle menu yet
            QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
        } else if (stage == 2 && game->loop.puzzlestate == gamestate::inplay && keysAt(Control::Form)) {
            press({Qt::CTRL | Qt::Key_N, Qt::Key_F10, Qt::Key_Up});
            EXPECT_EQ(platform->submenu(Menu::options)->activeAction(), platform->action(Menu::quit));
            press({Qt::Key_Escape});
        } else if (stage == 3 && keysAt(Control::Form)) {
            press({Qt::ALT | Qt::Key_O, Qt::Key_S, Qt::Key_T, Qt::Key_P});
        } else if (stage == 4 && keysAt(Control::Text4)) {
            press({Qt::CTRL | Qt::Key_N, Qt::Key_F10, Qt::Key_Escape});
        } else if (stage == 5 && keysAt(Control::Text4)) {
            press({Qt::Key_5, Qt::Key_Return});
        } else if (stage == 6 && keysAt(Control::Form)) {
            EXPECT_EQ(readFile("movepiece.Time"), " 5 \r\n");
            press({Qt::CTRL | Qt::Key_Q});
        } else {
            return;
        }
        ++stage;
    };
    runUntil([] { return false; });
    EXPECT_EQ(stage, 7);
    EXPECT_TRUE(platform->ended());
    EXPECT_EQ(newPuzzles.count(), 1);
}

TEST_F(QtFocusGame, CtrlQQuitsWhileAPanelIsOpen) {
    openPieceTime("5");
    QTest::keyClick(platform->window()->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    platform->yield(false);
    EXPECT_TRUE(platform->ended());
}

TEST_F(QtFocusGame, PunctuationKeysCloseTheInputTurn) {
    platform->setFocus(Control::Form);
    for (Qt::Key k : {Qt::Key_Comma, Qt::Key_Period, Qt::Key_Minus, Qt::Key_Slash, Qt::Key_Semicolon}) {
        game->loop.inputlock = 0;
        key(k);
        platform->yield(false);
        EXPECT_EQ(game->loop.inputlock, 1) << k;
    }
}

}  // namespace
}  // namespace pelorix::testing
