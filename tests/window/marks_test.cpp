// SPDX-License-Identifier: MIT
// Check marks of the menu groups and the readability of the small text boxes on the real window.
#include <QFontInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>

#include "platform/design.h"
#include "qtgame.h"

namespace pelorix::testing {
namespace {

using QtMarks = QtGame;

// Where a line edit draws its caret, in its own coordinates.
QRect caret(const QLineEdit* edit) { return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect(); }

TEST_F(QtMarks, EachGroupShowsOneMarkAfterEachChoice) {
    const std::vector<std::vector<Menu>> groups{
        {Menu::prandom, Menu::pnrandom},
        {Menu::tslow, Menu::tfast},
        {Menu::usolve, Menu::csolve, Menu::csolves},
    };
    for (const auto& group : groups) {
        // Each entry in turn, then each again while it is the one checked.
        for (int round = 0; round < 2; ++round) {
            for (Menu chosen : group) {
                for (int twice = 0; twice <= round; ++twice) {
                    platform->action(chosen)->trigger();
                    platform->yield(false);
                }
                for (Menu entry : group) {
                    QAction* action = platform->action(entry);
                    EXPECT_EQ(action->isChecked(), entry == chosen) << design(entry).name << " after " << design(chosen).name;
                    EXPECT_EQ(platform->menuChecked(entry), entry == chosen) << design(entry).name;
                    // An unmarked entry shows no empty check box either.
                    EXPECT_EQ(action->isCheckable(), entry == chosen) << design(entry).name;
                }
            }
        }
    }
    EXPECT_EQ(game->loop.solvemode, 2);
    EXPECT_EQ(game->loop.nwait4, 0);
    EXPECT_EQ(platform->checkValue(Control::Check1), 0);
}

class QtBoxes : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        platform->showWindow();
    }
    QLineEdit* box(Control c) const { return static_cast<QLineEdit*>(platform->widget(c)); }
};

TEST_F(QtBoxes, SmallBoxesShowThreeDigitsWhole) {
    for (Control c : {Control::Text1, Control::Text2, Control::Text4, Control::Text5}) {
        QLineEdit* edit = box(c);
        platform->setVisible(c, true);
        EXPECT_EQ(edit->width(), 25);  // the design's size stays
        platform->setText(c, "100");
        platform->setFocus(c);
        // With the caret at the end the text must not have scrolled: the caret stands the whole
        // text's width right of where it stands at the start, inside the box.
        // (The box scrolls to its caret when it paints.)
        edit->setCursorPosition(0);
        edit->repaint();
        const QRect start = caret(edit);
        edit->setCursorPosition(3);
        edit->repaint();
        const QRect end = caret(edit);
        edit->setCursorPosition(0);
        edit->repaint();
        EXPECT_EQ(caret(edit), start) << design(c).name;
        EXPECT_GE(end.center().x() - start.center().x(), QFontMetrics(edit->font()).horizontalAdvance("100"))
            << design(c).name;
        EXPECT_LE(end.center().x(), edit->width() - 2) << design(c).name;
        EXPECT_GE(start.center().x(), 2) << design(c).name;
        EXPECT_GE(QFontInfo(edit->font()).pixelSize(), 8) << design(c).name;
        platform->setVisible(c, false);
    }
}

TEST_F(QtBoxes, LongValuesShowTheirStartAndScroll) {
    QLineEdit* edit = box(Control::Text5);
    platform->setVisible(Control::Text5, true);
    platform->setText(Control::Text5, "12345");
    platform->setFocus(Control::Text5);
    EXPECT_EQ(edit->cursorPosition(), 0);
    const QRect start = caret(edit);
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(edit->cursorPosition(), 5);
    edit->repaint();
    // The end came into view: the caret is inside the box, less than the text's width from the start.
    const QRect end = caret(edit);
    EXPECT_LE(end.center().x(), edit->width() - 2);
    EXPECT_LT(end.center().x() - start.center().x(), QFontMetrics(edit->font()).horizontalAdvance("12345"));
    EXPECT_EQ(platform->text(Control::Text5), "12345");
    // Left by the keyboard (to the picture panel's name box, say), the box shows its start again.
    platform->setVisible(Control::Text3, true);
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_EQ(platform->window()->focusWidget(), platform->widget(Control::Text3));
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_EQ(platform->text(Control::Text5), "12345");
}

// A box that takes the keys by Tab has its whole value selected, typing replaces it, and the caret
// rests at its start, so a long value shows its beginning.
TEST_F(QtBoxes, TheKeysBroughtByTabSelectTheValueWithTheCaretAtItsStart) {
    platform->setVisible(Control::Text5, true);
    platform->setVisible(Control::Text3, true);
    platform->setText(Control::Text5, "12345");
    platform->setFocus(Control::Text3);
    QTest::keyClick(box(Control::Text3), Qt::Key_Backtab);
    QLineEdit* edit = box(Control::Text5);
    ASSERT_EQ(platform->window()->focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("12345"));
    EXPECT_EQ(edit->cursorPosition(), 0);
}

TEST_F(QtBoxes, ChosenPictureShowsItsWholeNameInATooltip) {
    platform->setText(Control::Text3, "a.regular_picture_with_a_long_name");
    EXPECT_EQ(box(Control::Text3)->toolTip(), QStringLiteral("a.regular_picture_with_a_long_name"));
    platform->setText(Control::Text3, "b.regular_picture");
    EXPECT_EQ(box(Control::Text3)->toolTip(), QStringLiteral("b.regular_picture"));
}

}  // namespace
}  // namespace pelorix::testing
