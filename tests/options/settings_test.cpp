// SPDX-License-Identifier: MIT
// Settings files on the fake working directory: start-up settings, default and per-picture colours.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "fakeplatform.h"
#include "game/puzzlemaker2.h"
#include "options/settingsfile.h"

namespace pelorix {
namespace {

using testing::FakePlatform;

TEST(SettingsStartup, NoFilesGiveTheDefaults) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.loop.movetime = 42;
    game.loop.newtime = 42;
    game.puzzle.dcolour = 9;
    game.puzzle.dcolour2 = 9;
    game.readstartupsettings();
    EXPECT_EQ(game.loop.movetime, 1);
    EXPECT_EQ(game.loop.newtime, 100);
    EXPECT_EQ(game.loop.nwait4, 0);
    EXPECT_EQ(game.puzzle.dcolour, 3);
    EXPECT_EQ(game.puzzle.dcolour2, 15);
    EXPECT_TRUE(fake.menuChecked(Menu::tfast));
    EXPECT_FALSE(fake.menuChecked(Menu::tslow));
    EXPECT_TRUE(fake.files.empty()) << "a read creates no file";
}

TEST(SettingsStartup, TheActivationReadsTheFilesAndTheTitleColours) {
    FakePlatform fake(5);
    puzzlemaker2 game(fake);
    fake.files["movepiece.Time"] = "5";
    fake.files["animation.time"] = "1";
    fake.files["title1.colour"] = "12";
    fake.files["title2.colour"] = "12";
    fake.files["title2.colour2"] = "4";
    fake.stopAt(50);
    game.Form_Activate();
    EXPECT_EQ(game.loop.movetime, 5);
    EXPECT_EQ(game.loop.newtime, 100);
    EXPECT_EQ(game.loop.nwait4, 1);
    EXPECT_TRUE(fake.menuChecked(Menu::tslow));
    EXPECT_EQ(game.puzzle.colour, 12);
    const bool animated = game.puzzle.animated == puzzletype::animated;
    EXPECT_EQ(*fake.file(animated ? "title2.colour" : "title1.colour"), " 12 \r\n");
    EXPECT_EQ(*fake.file(animated ? "title1.colour" : "title2.colour"), "12") << "the other title was not built";
    EXPECT_EQ(game.puzzle.colour2, animated ? 4 : 15);
}

struct TimeCase {
    std::optional<std::string> content;  // empty: no file
    double expected;
};

TEST(SettingsStartup, MoveTimeFromFile) {
    const TimeCase cases[] = {
        {std::nullopt, 1}, {" 7 \r\n", 7},  {"5", 5},       {" 12 ,x", 12},      {"", 1},
        {"abc", 1},        {"-3", 0},       {".25", 0.25},  {"1e20", maxmovetime}, {"1e999", maxmovetime},
    };
    for (const auto& c : cases) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        if (c.content) fake.files["movepiece.Time"] = *c.content;
        game.readstartupsettings();
        EXPECT_EQ(game.loop.movetime, c.expected) << c.content.value_or("(none)");
        EXPECT_EQ(game.loop.newtime, 100);
    }
}

TEST(SettingsStartup, NewTimeFromFile) {
    const TimeCase cases[] = {
        {std::nullopt, 100}, {"50", 50}, {"0", 1}, {"-4", 1}, {"garbage", 100}, {".5", 0.5}, {"1e12", maxnewtime},
    };
    for (const auto& c : cases) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        if (c.content) fake.files["newpuzzle.Time"] = *c.content;
        game.readstartupsettings();
        EXPECT_EQ(game.loop.newtime, c.expected) << c.content.value_or("(none)");
        EXPECT_EQ(game.loop.movetime, 1);
    }
}

TEST(SettingsStartup, TimeBoundsFitTheTimer) {
    constexpr double most = std::numeric_limits<int>::max();
    EXPECT_LE(std::nearbyint(10 * maxmovetime), most);
    EXPECT_LE(std::nearbyint(100 * maxnewtime), most);
    // Not needlessly tight: one more millisecond would no longer fit.
    EXPECT_GT(10 * maxmovetime + 1, most);
    EXPECT_GT(100 * maxnewtime + 1, most);
}

struct PaceCase {
    const char* name;
    const char* content;
    int nwait4;
};

TEST(SettingsStartup, AnimationPaceAndItsCheckMark) {
    const PaceCase cases[] = {
        {"animation.time", "1", 1},   {"animation.time", "0", 0},      {"animation.time", "5", 0},
        {"animation.time", "abc", 0}, {"animation.time", ".5", 0},     {"animation.time", "-1", 0},
        {"animation.Time", " 1 \r\n", 1}, {"ANIMATION.TIME", "1", 1},
    };
    for (const auto& c : cases) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        // Both marks set beforehand: reading must leave exactly one.
        fake.setMenuChecked(Menu::tfast, true);
        fake.setMenuChecked(Menu::tslow, true);
        fake.files[c.name] = c.content;
        game.readstartupsettings();
        EXPECT_EQ(game.loop.nwait4, c.nwait4) << c.name << " " << c.content;
        EXPECT_EQ(fake.menuChecked(Menu::tslow), c.nwait4 == 1) << c.content;
        EXPECT_EQ(fake.menuChecked(Menu::tfast), c.nwait4 == 0) << c.content;
        EXPECT_EQ(*fake.file(c.name), c.content) << "reading leaves the file alone";
    }
}

struct ColourCase {
    const char* content;
    std::optional<int> index;  // empty: the file is unusable and the previous value stays
};

const ColourCase colourcases[] = {
    {"12", 12},         {" 0 \r\n", 0},     {"15", 15},         {"3", 3},           {"99", std::nullopt},
    {"16", std::nullopt}, {"-1", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt}, {"2.5", 2},
    {"3.5", 4},         {"14.5", 14},       {"15.5", std::nullopt}, {" 7 ,junk\r\nmore", 7},
};

TEST(SettingsStartup, TwoSpellingsOfThePaceFileAreOneSetting) {
    // The reader asks for "animation.time", the pace commands write "animation.Time"; with both
    // files present, both must mean the same one, or Slow is lost at the next start.
    struct Case {
        const char* lower;
        const char* upper;
        Menu command;
        Menu checkedAfterRestart;
    };
    const Case cases[] = {
        {" 0 \r\n", " 0 \r\n", Menu::tslow, Menu::tslow},
        {" 1 \r\n", " 1 \r\n", Menu::tfast, Menu::tfast},
        {" 1 \r\n", " 0 \r\n", Menu::tslow, Menu::tslow},
        {" 0 \r\n", " 1 \r\n", Menu::tfast, Menu::tfast},
    };
    for (const Case& c : cases) {
        FakePlatform fake(1);
        fake.files["animation.time"] = c.lower;
        fake.files["animation.Time"] = c.upper;
        {
            puzzlemaker2 game(fake);
            game.readstartupsettings();
            Event click;
            click.kind = EventKind::MenuClick;
            click.menu = c.command;
            game.dispatch(click);
        }
        puzzlemaker2 restarted(fake);
        restarted.readstartupsettings();
        EXPECT_TRUE(fake.menuChecked(c.checkedAfterRestart)) << c.lower << "/" << c.upper;
        EXPECT_EQ(restarted.loop.nwait4, c.checkedAfterRestart == Menu::tslow ? 1 : 0);
        EXPECT_EQ(fake.files.size(), 2u) << "no third spelling is made";
    }
}

TEST(SettingsStartup, ANumberAfterAnyRunOfBlanksIsRead) {
    for (std::size_t blanks : {std::size_t{0}, std::size_t{70000}, std::size_t{300000}}) {
        FakePlatform fake(1);
        std::string content(blanks, ' ');
        for (std::size_t i = 0; i < blanks; i += 1000) content[i] = i % 2000 == 0 ? '\n' : '\t';
        fake.files["movepiece.Time"] = content + "7 \r\n";
        puzzlemaker2 game(fake);
        game.readstartupsettings();
        EXPECT_EQ(game.loop.movetime, 7) << blanks << " blanks";
    }
}

TEST(SettingsColours, DefaultColourFiles) {
    for (const auto& c : colourcases) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        game.puzzle.dcolour = 8;
        game.puzzle.dcolour2 = 8;
        fake.files["colour.dcolour"] = c.content;
        fake.files["Colour.DColour2"] = c.content;
        game.readdefaultcolours();
        EXPECT_EQ(game.puzzle.dcolour, c.index.value_or(3)) << c.content;
        EXPECT_EQ(game.puzzle.dcolour2, c.index.value_or(15)) << c.content;
        EXPECT_EQ(*fake.file("colour.dcolour"), c.content) << "default colour files are only read";
    }
}

TEST(SettingsColours, PictureColourReadAndRewritten) {
    for (const auto& c : colourcases) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        game.puzzle.picturename = "title1";
        game.puzzle.colour = 5;
        fake.files["title1.colour"] = c.content;
        game.readpicturecolours();
        EXPECT_EQ(game.puzzle.colour, c.index.value_or(5)) << c.content;
        const std::string after = *fake.file("title1.colour");
        const std::string expected = c.index ? " " + std::to_string(*c.index) + " \r\n" : std::string(c.content);
        EXPECT_EQ(after, expected) << c.content << ": rewritten when used, untouched when not";
        EXPECT_EQ(fake.files.size(), 1u);
    }
}

TEST(SettingsColours, TitleColourTwelveIsStoredCanonically) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.puzzle.picturename = "title1";
    game.puzzle.colour = 3;
    fake.files["title1.colour"] = "12";
    game.readpicturecolours();
    EXPECT_EQ(game.puzzle.colour, 12);
    EXPECT_EQ(*fake.file("title1.colour"), std::string("\x20\x31\x32\x20\x0D\x0A"));
}

TEST(SettingsColours, SecondColourOnlyForAnimatedPuzzles) {
    for (int animated : {0, 1}) {
        FakePlatform fake(1);
        puzzlemaker2 game(fake);
        game.puzzle.picturename = "sea.animation_pic";
        game.puzzle.animated = animated;
        game.puzzle.colour = 3;
        game.puzzle.colour2 = 15;
        fake.files["sea.animation_pic.colour"] = "4";
        fake.files["sea.animation_pic.colour2"] = "9";
        game.readpicturecolours();
        EXPECT_EQ(game.puzzle.colour, 4);
        EXPECT_EQ(game.puzzle.colour2, animated ? 9 : 15);
        EXPECT_EQ(*fake.file("sea.animation_pic.colour2"), animated ? " 9 \r\n" : "9");
    }
}

TEST(SettingsColours, MissingFilesAreNotCreated) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.puzzle.picturename = "beach.regular_pic";
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.colour = 3;
    game.puzzle.colour2 = 15;
    game.readpicturecolours();
    EXPECT_EQ(game.puzzle.colour, 3);
    EXPECT_EQ(game.puzzle.colour2, 15);
    EXPECT_TRUE(fake.files.empty());
}

TEST(SettingsColours, NameDiffersInCaseOnlyOneFileRemains) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.puzzle.picturename = "title2";
    game.puzzle.animated = puzzletype::animated;
    fake.files["TITLE2.COLOUR"] = "6";
    fake.files["Title2.Colour2"] = "11";
    game.readpicturecolours();
    EXPECT_EQ(game.puzzle.colour, 6);
    EXPECT_EQ(game.puzzle.colour2, 11);
    ASSERT_EQ(fake.files.size(), 2u);
    EXPECT_EQ(fake.files["TITLE2.COLOUR"], " 6 \r\n");
    EXPECT_EQ(fake.files["Title2.Colour2"], " 11 \r\n");
}

TEST(SettingsColours, EmptyPictureNameReadsNothing) {
    FakePlatform fake(1);
    puzzlemaker2 game(fake);
    game.puzzle.picturename = "";
    game.puzzle.animated = puzzletype::animated;
    game.puzzle.colour = 3;
    fake.files[".colour"] = "12";
    fake.files[".colour2"] = "12";
    game.readpicturecolours();
    EXPECT_EQ(game.puzzle.colour, 3);
    EXPECT_EQ(*fake.file(".colour"), "12");
}

}  // namespace
}  // namespace pelorix
