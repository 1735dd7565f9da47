// SPDX-License-Identifier: MIT
// The timing panels: what the boxes show, what Enter stores and writes, and what Escape leaves alone.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakeplatform.h"
#include "game/puzzlemaker2.h"
#include "options/settingsfile.h"

namespace pelorix {
namespace {

using testing::FakePlatform;

using Opener = void (puzzlemaker2::*)();
using KeyHandler = void (puzzlemaker2::*)(int, int);

struct Panel {
    const char* name;
    Opener open;
    KeyHandler key;
    Control label, box;
    double LoopFields::* field;
    const char* file;
};

const Panel piece{"piece", &puzzlemaker2::cpiece_Click, &puzzlemaker2::Text4_KeyDown,
                  Control::Label4, Control::Text4, &LoopFields::movetime, "movepiece.Time"};
const Panel picture{"picture", &puzzlemaker2::cpicture_Click, &puzzlemaker2::Text5_KeyDown,
                    Control::Label6, Control::Text5, &LoopFields::newtime, "newpuzzle.Time"};

class TimingPanelsTest : public ::testing::Test {
protected:
    TimingPanelsTest() {
        game.loop.movetime = 1;
        game.loop.newtime = 100;
        game.loop.puzzlestate = gamestate::finished;
    }

    void expectclosed() {
        for (Control c : {Control::Label4, Control::Text4, Control::Label6, Control::Text5})
            EXPECT_FALSE(fake.visible(c));
        EXPECT_TRUE(fake.menuEnabled(Menu::puzzle7));
        EXPECT_TRUE(fake.menuEnabled(Menu::soptions));
        EXPECT_EQ(game.loop.puzzlestate, gamestate::finished);
        EXPECT_EQ(fake.focus, Control::Form);
    }

    FakePlatform fake{3};
    puzzlemaker2 game{fake};
};

TEST_F(TimingPanelsTest, OpeningShowsTheFieldWhole) {
    struct Case {
        const Panel& panel;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {piece, 1, "1"}, {piece, 0.5, ".5"}, {piece, 250, "250"}, {picture, 100, "100"}, {picture, 12.5, "12.5"},
    };
    for (const auto& c : cases) {
        game.loop.*c.panel.field = c.value;
        (game.*c.panel.open)();
        EXPECT_EQ(fake.text(c.panel.box), c.shown) << c.panel.name;
        EXPECT_TRUE(fake.visible(c.panel.label));
        EXPECT_TRUE(fake.visible(c.panel.box));
        EXPECT_EQ(fake.focus, c.panel.box);
        EXPECT_EQ(game.loop.puzzlestate, gamestate::timingpanel);
        EXPECT_EQ(game.panel.savedstate, gamestate::finished);
        EXPECT_FALSE(fake.menuEnabled(Menu::puzzle7));
        EXPECT_FALSE(fake.menuEnabled(Menu::soptions));
        (game.*c.panel.key)(keys::Escape, 0);
        expectclosed();
    }
}

TEST_F(TimingPanelsTest, EnterChecksStoresAndWrites) {
    struct Case {
        const Panel& panel;
        const char* typed;
        const char* shown;
        double stored;
        const char* bytes;
    };
    const Case cases[] = {
        {piece, "-5", "0", 0, "\x20\x30\x20\x0D\x0A"},
        {piece, "-3", "0", 0, " 0 \r\n"},
        {piece, "25", "25", 25, " 25 \r\n"},
        {piece, ".5", ".5", 0.5, " .5 \r\n"},
        {piece, "ab", "ab", 0, " 0 \r\n"},
        {piece, "1e9", "214748364.7", maxmovetime, " 214748364.7 \r\n"},
        {picture, "0", "1", 1, "\x20\x31\x20\x0D\x0A"},
        {picture, "-3", "1", 1, " 1 \r\n"},
        {picture, "xy", "1", 1, " 1 \r\n"},
        {picture, "50", "50", 50, " 50 \r\n"},
        {picture, "1e9", "21474836.47", maxnewtime, " 21474836.47 \r\n"},
    };
    for (const auto& c : cases) {
        (game.*c.panel.open)();
        // setText rather than typing: a box can hold more than the two characters a user types.
        fake.setText(c.panel.box, c.typed);
        (game.*c.panel.key)(keys::Enter, 0);
        EXPECT_EQ(fake.text(c.panel.box), c.shown) << c.panel.name << " " << c.typed;
        EXPECT_EQ(game.loop.*c.panel.field, c.stored) << c.panel.name << " " << c.typed;
        EXPECT_EQ(fake.file(c.panel.file), std::optional<std::string>(c.bytes)) << c.panel.name << " " << c.typed;
        expectclosed();
    }
    EXPECT_EQ(fake.files.size(), 2u);
}

TEST_F(TimingPanelsTest, EscapeChangesNeitherFieldNorFile) {
    fake.files["newpuzzle.Time"] = "80";
    for (const Panel* panel : {&piece, &picture}) {
        const double before = game.loop.*panel->field;
        (game.*panel->open)();
        fake.type(panel->box, "7");
        (game.*panel->key)(keys::Escape, 0);
        EXPECT_EQ(game.loop.*panel->field, before) << panel->name;
        expectclosed();
    }
    EXPECT_EQ(fake.file("movepiece.Time"), std::nullopt);
    EXPECT_EQ(*fake.file("newpuzzle.Time"), "80");
}

TEST_F(TimingPanelsTest, OtherKeysLeaveThePanelOpen) {
    game.cpiece_Click();
    fake.type(Control::Text4, "9");
    for (int key : {int{'9'}, keys::Left, keys::B, 8}) game.Text4_KeyDown(key, 0);
    EXPECT_TRUE(fake.visible(Control::Text4));
    EXPECT_EQ(game.loop.puzzlestate, gamestate::timingpanel);
    EXPECT_EQ(game.loop.movetime, 1);
    EXPECT_TRUE(fake.files.empty());
}

TEST_F(TimingPanelsTest, EnterClosesBothPanelsAndRestoresTheState) {
    game.loop.puzzlestate = gamestate::inplay;
    game.cpicture_Click();
    fake.setVisible(Control::Label4, true);  // a stray label of the other panel is hidden as well
    fake.setText(Control::Text5, "30");
    game.Text5_KeyDown(keys::Enter, 0);
    for (Control c : {Control::Label4, Control::Text4, Control::Label6, Control::Text5}) EXPECT_FALSE(fake.visible(c));
    EXPECT_EQ(game.loop.puzzlestate, gamestate::inplay);
    EXPECT_EQ(game.loop.newtime, 30);
}

TEST_F(TimingPanelsTest, WritesIntoAFileNamedInOtherCase) {
    fake.files["MOVEPIECE.TIME"] = " 9 \r\n";
    game.cpiece_Click();
    fake.setText(Control::Text4, "4");
    game.Text4_KeyDown(keys::Enter, 0);
    ASSERT_EQ(fake.files.size(), 1u);
    EXPECT_EQ(fake.files["MOVEPIECE.TIME"], " 4 \r\n");
}

TEST_F(TimingPanelsTest, StoredValueIsReadBackAtTheNextStart) {
    game.cpiece_Click();
    fake.setText(Control::Text4, ".5");
    game.Text4_KeyDown(keys::Enter, 0);
    FakePlatform again(4);
    again.files = fake.files;
    puzzlemaker2 next(again);
    next.readstartupsettings();
    EXPECT_EQ(next.loop.movetime, 0.5);
}

}  // namespace
}  // namespace pelorix
