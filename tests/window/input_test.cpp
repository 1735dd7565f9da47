// SPDX-License-Identifier: MIT
// Mouse presses, keys, text boxes, buttons and file lists of the Qt window, driven with QtTest.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <tuple>

#include "window/widgets.h"
#include "qtfixture.h"

namespace pelorix::testing {
namespace {

class QtInput : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        platform->showWindow();
        platform->setFocus(Control::Form);
        drain();
    }
    QWidget* canvas() const { return platform->canvasWidget(); }
    QLineEdit* box(Control c) const { return qobject_cast<QLineEdit*>(platform->widget(c)); }
};

TEST_F(QtInput, PressOnTheCanvasArrivesAsMouseDownInClientPixels) {
    QTest::mousePress(canvas(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 50));
    QTest::mouseRelease(canvas(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 50));
    QTest::mousePress(canvas(), Qt::RightButton, Qt::ControlModifier, QPoint(7, 300));
    QTest::mouseRelease(canvas(), Qt::RightButton, Qt::ControlModifier, QPoint(7, 300));
    QTest::mousePress(canvas(), Qt::MiddleButton, Qt::AltModifier, QPoint(753, 384));
    QTest::mouseRelease(canvas(), Qt::MiddleButton, Qt::AltModifier, QPoint(753, 384));
    const auto events = drain();
    ASSERT_EQ(events.size(), 3u);
    for (const Event& e : events) {
        EXPECT_EQ(e.kind, EventKind::MouseDown);
        EXPECT_EQ(e.control, Control::Form);
    }
    EXPECT_EQ(events[0].button, 1);
    EXPECT_EQ(events[0].shift, 1);
    EXPECT_FLOAT_EQ(events[0].x, 100.0f);
    EXPECT_FLOAT_EQ(events[0].y, 50.0f);
    EXPECT_EQ(events[1].button, 2);
    EXPECT_EQ(events[1].shift, 2);
    EXPECT_FLOAT_EQ(events[1].x, 7.0f);
    EXPECT_FLOAT_EQ(events[1].y, 300.0f);
    EXPECT_EQ(events[2].button, 4);
    EXPECT_EQ(events[2].shift, 4);
}

TEST_F(QtInput, EventsWaitForTheYieldAndArriveInOrder) {
    QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(1, 1));
    QTest::keyClick(canvas(), Qt::Key_Down);
    QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(sink.events.empty());  // nothing reaches the game outside a yield
    const auto events = drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::MouseDown);
    EXPECT_EQ(events[1].kind, EventKind::KeyDown);
    EXPECT_EQ(events[1].key, 40);
    EXPECT_EQ(events[2].kind, EventKind::MouseDown);
    EXPECT_FLOAT_EQ(events[2].x, 2.0f);
}

TEST_F(QtInput, QuickSecondClickIsAPressToo) {
    QTest::mouseDClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                       canvas()->mapTo(platform->window(), QPoint(40, 40)));
    const auto downs = ofKind(drain(), EventKind::MouseDown);
    EXPECT_EQ(downs.size(), 2u);
}

TEST_F(QtInput, PressOnAVisibleButtonIsAClickNotAMouseDown) {
    platform->setVisible(Control::Command1, true);
    QWidget* button = platform->widget(Control::Command1);
    QTest::mouseClick(button, Qt::LeftButton);
    const auto events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Click);
    EXPECT_EQ(events[0].control, Control::Command1);
    // Clicking through the window at the button's place reaches the button too.
    const QPoint centre = button->geometry().center();
    QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                      canvas()->mapTo(platform->window(), centre));
    const auto again = drain();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].kind, EventKind::Click);
    // A hidden button is no obstacle: the board gets the press.
    platform->setVisible(Control::Command1, false);
    QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                      canvas()->mapTo(platform->window(), centre));
    const auto board = drain();
    ASSERT_EQ(board.size(), 1u);
    EXPECT_EQ(board[0].kind, EventKind::MouseDown);
    EXPECT_FLOAT_EQ(board[0].x, static_cast<float>(centre.x()));
}

TEST_F(QtInput, PressOnAVisibleLabelDoesNotReachTheBoard) {
    platform->setVisible(Control::Label1, true);
    QWidget* label = platform->widget(Control::Label1);
    QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                      canvas()->mapTo(platform->window(), label->geometry().center()));
    EXPECT_TRUE(ofKind(drain(), EventKind::MouseDown).empty());
}

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int code;
    int shift;
};

TEST_F(QtInput, KeysOnTheBoardArriveAsVirtualKeyCodes) {
    const std::vector<KeyCase> cases{
        {Qt::Key_Left, {}, 37, 0},
        {Qt::Key_Up, {}, 38, 0},
        {Qt::Key_Right, {}, 39, 0},
        {Qt::Key_Down, {}, 40, 0},
        // Keypad 4/8/6/2 with Num Lock off.
        {Qt::Key_Left, Qt::KeypadModifier, 37, 0},
        {Qt::Key_Up, Qt::KeypadModifier, 38, 0},
        {Qt::Key_Right, Qt::KeypadModifier, 39, 0},
        {Qt::Key_Down, Qt::KeypadModifier, 40, 0},
        {Qt::Key_Return, {}, 13, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, 13, 0},
        {Qt::Key_Escape, {}, 27, 0},
        {Qt::Key_B, {}, 66, 0},
        {Qt::Key_B, Qt::ShiftModifier, 66, 1},
        {Qt::Key_A, Qt::ControlModifier, 65, 2},
        {Qt::Key_Z, {}, 90, 0},
        {Qt::Key_0, {}, 48, 0},
        {Qt::Key_9, {}, 57, 0},
        // Keypad digits with Num Lock on are no arrows.
        {Qt::Key_2, Qt::KeypadModifier, 98, 0},
        {Qt::Key_8, Qt::KeypadModifier, 104, 0},
        {Qt::Key_Space, {}, 32, 0},
    };
    const auto withoutModifierKeys = [](std::vector<Event> events) {
        // QtTest presses Shift, Ctrl and Alt themselves around a key with those modifiers.
        std::erase_if(events, [](const Event& e) { return e.key >= 16 && e.key <= 18; });
        return events;
    };
    for (const KeyCase& c : cases) {
        QTest::keyClick(canvas(), c.key, c.modifiers);
        const auto events = withoutModifierKeys(drain());
        ASSERT_EQ(events.size(), 1u) << c.code;
        EXPECT_EQ(events[0].kind, EventKind::KeyDown);
        EXPECT_EQ(events[0].control, Control::Form);
        EXPECT_EQ(events[0].key, c.code);
        EXPECT_EQ(events[0].shift, c.shift) << c.code;
    }
    // Lower-case b typed as a character.
    QTest::keyClick(canvas(), 'b');
    const auto lower = drain();
    ASSERT_EQ(lower.size(), 1u);
    EXPECT_EQ(lower[0].key, 66);
    // Keys the game has no use for are reported too.
    for (auto [key, code] : {std::pair{Qt::Key_Semicolon, 186}, {Qt::Key_Comma, 188}, {Qt::Key_Period, 190},
                             {Qt::Key_Minus, 189}, {Qt::Key_Slash, 191}}) {
        QTest::keyClick(canvas(), key);
        const auto events = drain();
        ASSERT_EQ(events.size(), 1u) << code;
        EXPECT_EQ(events[0].key, code);
    }
    // Key releases on the board report nothing.
    QTest::keyRelease(canvas(), Qt::Key_Left);
    EXPECT_TRUE(drain().empty());
}

TEST_F(QtInput, KeyMappingTable) {
    using qt::virtualKey;
    EXPECT_EQ(virtualKey(Qt::Key_Clear, Qt::KeypadModifier), 12);
    EXPECT_EQ(virtualKey(Qt::Key_F1, {}), 112);
    EXPECT_EQ(virtualKey(Qt::Key_Plus, Qt::KeypadModifier), 107);
    // The same symbol off the keypad is the punctuation key that types it, shifted or not.
    const std::vector<std::tuple<Qt::Key, int>> punctuation{
        {Qt::Key_Plus, 187}, {Qt::Key_Equal, 187}, {Qt::Key_Comma, 188}, {Qt::Key_Less, 188},
        {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190}, {Qt::Key_Greater, 190},
        {Qt::Key_Slash, 191}, {Qt::Key_Question, 191}, {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},
        {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
        {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222}, {Qt::Key_Exclam, 49}, {Qt::Key_ParenRight, 48},
        {Qt::Key_Asterisk, 56}, {Qt::Key_Eacute, 255}, {Qt::Key_VolumeUp, 255},
    };
    for (const auto& [key, code] : punctuation) EXPECT_EQ(virtualKey(key, {}), code) << key;
    EXPECT_EQ(virtualKey(Qt::Key_Comma, Qt::KeypadModifier), 110);
    EXPECT_EQ(virtualKey(Qt::Key_Slash, Qt::KeypadModifier), 111);
    EXPECT_EQ(virtualKey(Qt::Key_Home, {}), 36);
    EXPECT_EQ(virtualKey(Qt::Key_Tab, {}), 9);
    EXPECT_EQ(virtualKey(Qt::Key_Shift, Qt::ShiftModifier), 16);
    EXPECT_EQ(qt::shiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    EXPECT_EQ(qt::buttonCode(Qt::BackButton), 0);
}

TEST_F(QtInput, KeysTypedIntoAFocusedTextBoxDoNotReachTheBoard) {
    platform->setVisible(Control::Label4, true);
    platform->setVisible(Control::Text4, true);
    platform->setFocus(Control::Text4);
    EXPECT_EQ(platform->window()->focusWidget(), box(Control::Text4));
    QTest::keyClicks(box(Control::Text4), "12");
    QTest::keyClick(box(Control::Text4), Qt::Key_Left);
    QTest::keyClick(box(Control::Text4), Qt::Key_Return);
    QTest::keyClick(box(Control::Text4), Qt::Key_Escape);
    QTest::keyClick(box(Control::Text4), Qt::Key_Enter, Qt::KeypadModifier);
    const auto events = drain();
    for (const Event& e : events) EXPECT_EQ(e.control, Control::Text4) << static_cast<int>(e.kind);
    const auto downs = ofKind(events, EventKind::KeyDown);
    ASSERT_EQ(downs.size(), 6u);
    EXPECT_EQ(downs[0].key, 49);
    EXPECT_EQ(downs[1].key, 50);
    EXPECT_EQ(downs[2].key, 37);
    EXPECT_EQ(downs[3].key, 13);
    EXPECT_EQ(downs[4].key, 27);
    EXPECT_EQ(downs[5].key, 13);
    EXPECT_EQ(platform->text(Control::Text4), "12");
    EXPECT_TRUE(ofKind(events, EventKind::MouseDown).empty());

    // Hiding the focused box gives the board the keys again.
    platform->setVisible(Control::Text4, false);
    EXPECT_EQ(platform->window()->focusWidget(), canvas());
    QTest::keyClick(platform->window()->windowHandle(), Qt::Key_Up);
    const auto board = drain();
    ASSERT_EQ(board.size(), 1u);
    EXPECT_EQ(board[0].control, Control::Form);
    EXPECT_EQ(board[0].key, 38);
}

TEST_F(QtInput, FocusOnTheBoardAgain) {
    platform->setVisible(Control::Text1, true);
    platform->setFocus(Control::Text1);
    QTest::keyClick(platform->window()->windowHandle(), Qt::Key_Right);  // goes to the focused box
    auto events = drain();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].control, Control::Text1);
    // While a panel is shown the board cannot have the keys.
    platform->setFocus(Control::Form);
    EXPECT_EQ(platform->window()->focusWidget(), box(Control::Text1));
    // While a box is shown a click on the board reaches the game but leaves the keys in the box.
    platform->setFocus(Control::Text1);
    QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                      canvas()->mapTo(platform->window(), QPoint(600, 300)));
    EXPECT_EQ(platform->window()->focusWidget(), box(Control::Text1));
    EXPECT_EQ(ofKind(drain(), EventKind::MouseDown).size(), 1u);
    // With the box gone the board takes the keys again, and a click keeps them there.
    platform->setVisible(Control::Text1, false);
    QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                      canvas()->mapTo(platform->window(), QPoint(600, 300)));
    EXPECT_EQ(platform->window()->focusWidget(), canvas());
    QTest::keyClick(platform->window()->windowHandle(), Qt::Key_Right);
    events = ofKind(drain(), EventKind::KeyDown);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, Control::Form);
}

TEST_F(QtInput, TypingRaisesKeyDownTextChangeAndKeyUp) {
    platform->setVisible(Control::Text1, true);
    platform->setFocus(Control::Text1);
    box(Control::Text1)->selectAll();
    QTest::keyClick(box(Control::Text1), Qt::Key_7);
    const auto events = drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::KeyDown);
    EXPECT_EQ(events[0].key, 55);
    EXPECT_EQ(events[1].kind, EventKind::TextChange);
    EXPECT_EQ(events[2].kind, EventKind::KeyUp);
    EXPECT_EQ(events[2].key, 55);
    for (const Event& e : events) EXPECT_EQ(e.control, Control::Text1);
    EXPECT_EQ(platform->text(Control::Text1), "7");
}

TEST_F(QtInput, ProgramTextRaisesTextChangeOnlyWhenItChanges) {
    platform->setText(Control::Text2, "25");
    auto events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::TextChange);
    EXPECT_EQ(events[0].control, Control::Text2);
    platform->setText(Control::Text2, "25");
    EXPECT_TRUE(drain().empty());
    // A change made while the events of a yield run arrives at the next yield.
    sink.onEvent = [&](const Event& e) {
        if (e.kind == EventKind::TextChange && platform->text(Control::Text2) == "25") platform->setText(Control::Text2, "20");
    };
    platform->setText(Control::Text2, "99");
    platform->setText(Control::Text2, "25");
    events = drain();
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(platform->text(Control::Text2), "20");
    sink.onEvent = nullptr;
    events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::TextChange);
}

TEST_F(QtInput, TypingLimitCutsTypingButNotProgramText) {
    QLineEdit* text1 = box(Control::Text1);
    platform->setVisible(Control::Text1, true);
    platform->setFocus(Control::Text1);
    text1->selectAll();
    QTest::keyClicks(text1, "123");
    EXPECT_EQ(platform->text(Control::Text1), "12");
    platform->setText(Control::Text1, "100");
    EXPECT_EQ(platform->text(Control::Text1), "100");
    EXPECT_EQ(text1->text(), QStringLiteral("100"));
    // Nothing more can be typed on to the long text; once short again the limit is back.
    text1->end(false);
    QTest::keyClick(text1, Qt::Key_5);
    EXPECT_EQ(platform->text(Control::Text1), "100");
    QTest::keyClick(text1, Qt::Key_Backspace);
    EXPECT_EQ(platform->text(Control::Text1), "10");
    EXPECT_EQ(text1->maxLength(), 2);
    QTest::keyClick(text1, Qt::Key_5);
    EXPECT_EQ(platform->text(Control::Text1), "10");
}

TEST_F(QtInput, ReadOnlyChosenPictureBox) {
    platform->setVisible(Control::Text3, true);
    platform->setText(Control::Text3, "a.regular_picture");
    platform->setFocus(Control::Text3);
    QTest::keyClicks(box(Control::Text3), "xyz");
    EXPECT_EQ(platform->text(Control::Text3), "a.regular_picture");
}

TEST_F(QtInput, FileListsSortIgnoringCaseAndClicksSelect) {
    for (const char* name : {"b.regular_picture", "A.regular_picture", "c.REGULAR_PICTURE", "x.animation_picture",
                             "notes.txt", "regular_picture"})
        writeFile(name, "x");
    platform->refreshList(Control::File1);
    platform->refreshList(Control::File2);
    ASSERT_EQ(platform->listCount(Control::File1), 3);
    EXPECT_EQ(platform->listEntry(Control::File1, 0), "A.regular_picture");
    EXPECT_EQ(platform->listEntry(Control::File1, 1), "b.regular_picture");
    EXPECT_EQ(platform->listEntry(Control::File1, 2), "c.REGULAR_PICTURE");
    EXPECT_EQ(platform->listEntry(Control::File1, 3), "");
    EXPECT_EQ(platform->listEntry(Control::File1, -1), "");
    ASSERT_EQ(platform->listCount(Control::File2), 1);
    EXPECT_EQ(platform->listEntry(Control::File2, 0), "x.animation_picture");
    EXPECT_EQ(platform->listIndex(Control::File1), -1);
    auto* list = qobject_cast<QListWidget*>(platform->widget(Control::File1));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("c.REGULAR_PICTURE"));

    platform->setVisible(Control::File1, true);
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(platform->listIndex(Control::File1), 1);
    auto events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Click);
    EXPECT_EQ(events[0].control, Control::File1);
    // The entry already selected clicked again.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Click);
    // A keyboard move of the selection is a click too.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(platform->listIndex(Control::File1), 2);
    events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, Control::File1);
    EXPECT_TRUE(ofKind(events, EventKind::KeyDown).empty());

    // Re-reading clears the selection, sees new files and reports nothing.
    writeFile("aa.regular_picture", "x");
    platform->refreshList(Control::File1);
    EXPECT_EQ(platform->listIndex(Control::File1), -1);
    EXPECT_EQ(platform->listCount(Control::File1), 4);
    EXPECT_EQ(platform->listEntry(Control::File1, 1), "aa.regular_picture");
    EXPECT_TRUE(drain().empty());
}

}  // namespace
}  // namespace pelorix::testing
