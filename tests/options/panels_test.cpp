// SPDX-License-Identifier: MIT
// The picture panels and the set-up screen: opening, picking files, size boxes, Begin, Done, Cancel.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "fakeplatform.h"
#include "game/puzzlemaker2.h"

namespace pelorix {
namespace {

using testing::FakePlatform;

constexpr std::initializer_list<Control> allpanelcontrols = {
    Control::Label1, Control::Label2, Control::Label5, Control::Label8, Control::Text1,    Control::Text2,
    Control::Text3,  Control::File1,  Control::File2,  Control::Command1, Control::Command2, Control::Command3,
};

// A game in play after Begin: two regular pictures, one animation picture, a regular puzzle.
class PanelsTest : public ::testing::Test {
protected:
    PanelsTest() {
        fake.savePicture(PictureId::Window, "beach.regular_picture");
        fake.savePicture(PictureId::Window, "alps.regular_picture");
        fake.files["waves.animation_picture"] = "names colour files only";
        fake.refreshList(Control::File1);
        fake.refreshList(Control::File2);
        fake.setMenuVisible(Menu::puzzle7, true);
        fake.setMenuVisible(Menu::soptions, true);
        game.loop.phase = phase::play;
        game.loop.started = phase::play;
        game.loop.begun = 1;
        game.loop.puzzlestate = gamestate::inplay;
        game.loop.movetime = 1;
        game.loop.newtime = 100;
        game.puzzle.animated = puzzletype::regular;
        game.puzzle.chosentype = puzzletype::regular;
        game.puzzle.puzzlewidth = 4;
        game.puzzle.puzzleheight = 4;
        game.puzzle.picturefile = "beach.regular_picture";
        fake.setText(Control::Text3, "beach.regular_picture");
    }

    void expectshown(std::initializer_list<Control> shown) {
        for (Control c : allpanelcontrols) {
            bool expected = false;
            for (Control s : shown) expected = expected || s == c;
            EXPECT_EQ(fake.visible(c), expected) << "control " << static_cast<int>(c);
        }
    }

    void expectclosed(int puzzlestate) {
        expectshown({});
        EXPECT_TRUE(fake.menuEnabled(Menu::puzzle7));
        EXPECT_TRUE(fake.menuEnabled(Menu::soptions));
        EXPECT_EQ(game.loop.puzzlestate, puzzlestate);
    }

    FakePlatform fake{7};
    puzzlemaker2 game{fake};
};

TEST_F(PanelsTest, RegularPanelOverRegularPuzzleShowsItsPicture) {
    game.choosepicture_Click();
    EXPECT_EQ(fake.text(Control::Text3), "beach.regular_picture");
    expectshown({Control::Label5, Control::Text3, Control::File1, Control::Label1, Control::Text1, Control::Label2,
                 Control::Text2, Control::Command2, Control::Command3});
    EXPECT_FALSE(fake.menuEnabled(Menu::puzzle7));
    EXPECT_FALSE(fake.menuEnabled(Menu::soptions));
    EXPECT_EQ(game.loop.puzzlestate, gamestate::picturepanel);
    EXPECT_EQ(game.panel.savedstate, gamestate::inplay);
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::regular);
}

TEST_F(PanelsTest, RegularPanelOverAnimatedPuzzleShowsFirstRegularFile) {
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.chosentype = puzzletype::animated;
    game.puzzle.picturefile = "waves.animation_picture";
    game.choosepicture_Click();
    EXPECT_EQ(fake.text(Control::Text3), "alps.regular_picture");
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::regular);
    EXPECT_EQ(game.panel.savedtype, 1);
}

TEST_F(PanelsTest, AnimatedPanelTakesTheRegularListsPlace) {
    const int file1left = fake.left(Control::File1);
    ASSERT_NE(fake.left(Control::File2), file1left);
    game.choosepicture2_Click();
    EXPECT_EQ(fake.text(Control::Text3), "waves.animation_picture");
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::animated);
    EXPECT_EQ(fake.left(Control::File2), file1left);
    expectshown({Control::Label5, Control::Text3, Control::File2, Control::Label1, Control::Text1, Control::Label2,
                 Control::Text2, Control::Command2, Control::Command3});
    game.Command3_Click();
    EXPECT_EQ(fake.left(Control::File2), file1left) << "the list stays where it was moved";
}

TEST_F(PanelsTest, EmptyListOpensNothing) {
    fake.files.erase("waves.animation_picture");
    fake.refreshList(Control::File2);
    game.choosepicture2_Click();
    expectclosed(3);
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::regular);
    EXPECT_EQ(fake.text(Control::Text3), "beach.regular_picture");
}

TEST_F(PanelsTest, CancelRestoresSizesFileAndType) {
    game.choosepicture2_Click();
    fake.type(Control::Text1, "7");
    fake.type(Control::Text2, "9");
    fake.clickListEntry(Control::File2, 0);
    fake.yield(false);
    ASSERT_EQ(fake.text(Control::Text1), "7");
    ASSERT_EQ(fake.text(Control::Text2), "9");
    ASSERT_EQ(fake.text(Control::Text3), "waves.animation_picture");
    ASSERT_EQ(game.puzzle.chosentype, puzzletype::animated);

    game.Command3_Click();
    EXPECT_EQ(fake.text(Control::Text1), "4");
    EXPECT_EQ(fake.text(Control::Text2), "4");
    EXPECT_EQ(fake.text(Control::Text3), "beach.regular_picture");
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::regular);
    expectclosed(3);
    EXPECT_EQ(fake.focus, Control::Form);
}

TEST_F(PanelsTest, LastListClickedDecidesTheType) {
    fake.clickListEntry(Control::File1, 1);
    fake.yield(false);
    EXPECT_EQ(fake.text(Control::Text3), "beach.regular_picture");
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::regular);

    fake.clickListEntry(Control::File2, 0);
    fake.yield(false);
    EXPECT_EQ(fake.text(Control::Text3), "waves.animation_picture");
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::animated);
    EXPECT_EQ(fake.listIndex(Control::File1), -1) << "the regular list's selection is cleared";
    EXPECT_EQ(fake.listIndex(Control::File2), 0);

    fake.clickListEntry(Control::File1, 0);
    fake.yield(false);
    EXPECT_EQ(game.puzzle.chosentype, puzzletype::regular);
    EXPECT_EQ(fake.listIndex(Control::File2), -1);
}

TEST_F(PanelsTest, SizeBoxesAreCutToTwenty) {
    struct Case {
        Control box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {Control::Text1, "25", "20"}, {Control::Text1, "20", "20"}, {Control::Text1, "1", "1"},
        {Control::Text1, "ab", "ab"}, {Control::Text1, "99", "20"}, {Control::Text2, "99", "20"},
        {Control::Text2, "21", "20"}, {Control::Text2, "0", "0"},   {Control::Text2, "-9", "-9"},
    };
    for (const auto& c : cases) {
        fake.type(c.box, c.typed);
        fake.yield(false);
        EXPECT_EQ(fake.text(c.box), c.shown) << c.typed;
    }
}

TEST_F(PanelsTest, WidthIsCutWhenTheKeyIsReleased) {
    fake.setText(Control::Text1, "25");
    EXPECT_EQ(fake.text(Control::Text1), "25");
    game.Text1_KeyUp('5', 0);
    EXPECT_EQ(fake.text(Control::Text1), "20");
}

TEST_F(PanelsTest, DoneWithRegularPictureEndsFinishedDisplayAndBuilds) {
    game.loop.puzzlestate = gamestate::finished;
    fake.setVisible(Control::Picture1, true);
    game.choosepicture_Click();
    fake.clickListEntry(Control::File1, 0);
    fake.type(Control::Text1, "5");
    fake.type(Control::Text2, "3");
    fake.yield(false);
    game.Command2_Click();

    expectclosed(3);
    EXPECT_EQ(game.loop.donepressed, 1);
    EXPECT_FALSE(fake.visible(Control::Picture1));
    EXPECT_EQ(game.puzzle.newmade, 1);
    EXPECT_EQ(game.loop.movedue, 0);
    EXPECT_EQ(game.puzzle.animated, puzzletype::regular);
    EXPECT_EQ(game.puzzle.picturefile, "alps.regular_picture");
    EXPECT_EQ(game.puzzle.puzzlewidth, 5);
    EXPECT_EQ(game.puzzle.puzzleheight, 3);
    EXPECT_FALSE(fake.timerEnabled(TimerId::Timer1));
    EXPECT_EQ(fake.focus, Control::Form);
}

TEST_F(PanelsTest, DoneWithAnimatedPictureBuildsAnAnimatedPuzzle) {
    game.choosepicture2_Click();
    game.Command2_Click();
    expectclosed(3);
    EXPECT_EQ(game.puzzle.animated, puzzletype::animated);
    EXPECT_EQ(game.puzzle.picturefile, "waves.animation_picture");
    EXPECT_EQ(game.loop.donepressed, 0);
}

// The set-up screen as the first click on the title screen leaves it.
class PanelsBeginTest : public PanelsTest {
protected:
    PanelsBeginTest() {
        game.loop.begun = 0;
        game.loop.puzzlestate = gamestate::setupscreen;
        fake.setMenuVisible(Menu::puzzle7, false);
        fake.setMenuVisible(Menu::soptions, false);
        fake.setText(Control::Text3, fake.listEntry(Control::File1, 0));
        for (Control c : {Control::Label5, Control::Text3, Control::File1, Control::Label8, Control::File2,
                          Control::Label1, Control::Text1, Control::Label2, Control::Text2, Control::Command1})
            fake.setVisible(c, true);
        fake.setTimerEnabled(TimerId::Timer1, true);
        fake.setTimerEnabled(TimerId::Timer2, true);
    }
};

TEST_F(PanelsBeginTest, BuildsTheChosenPuzzle) {
    fake.focus = Control::Text1;
    game.Command1_Click();
    EXPECT_EQ(game.loop.begun, 1);
    EXPECT_TRUE(fake.menuVisible(Menu::puzzle7));
    EXPECT_TRUE(fake.menuVisible(Menu::soptions));
    expectshown({});
    EXPECT_EQ(game.loop.puzzlestate, gamestate::inplay);
    EXPECT_EQ(game.puzzle.animated, puzzletype::regular);
    EXPECT_EQ(game.puzzle.picturefile, "alps.regular_picture");
    EXPECT_EQ(game.puzzle.puzzlewidth, 4);
    EXPECT_EQ(game.loop.movedue, 0);
    EXPECT_FALSE(fake.timerEnabled(TimerId::Timer2));
    EXPECT_FALSE(fake.timerEnabled(TimerId::Timer1)) << "in play Timer1 waits for the computer step";
    EXPECT_EQ(fake.focus, Control::Form);
}

TEST_F(PanelsBeginTest, BothListsEmptyOnlyMarksBegun) {
    fake.files.clear();
    fake.refreshList(Control::File1);
    fake.refreshList(Control::File2);
    game.Command1_Click();
    EXPECT_EQ(game.loop.begun, 1);
    EXPECT_FALSE(fake.menuVisible(Menu::puzzle7));
    EXPECT_TRUE(fake.timerEnabled(TimerId::Timer1));
    EXPECT_TRUE(fake.visible(Control::Command1));
    EXPECT_EQ(game.loop.puzzlestate, gamestate::setupscreen);
}

}  // namespace
}  // namespace pelorix
