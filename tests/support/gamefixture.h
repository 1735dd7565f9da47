// SPDX-License-Identifier: MIT
// A game on the headless platform, with shortcuts for running the loop and building boards.
#pragma once

#include <functional>
#include <string>

#include "fakeplatform.h"
#include "game/puzzlemaker2.h"

namespace pelorix::testing {

struct Game {
    explicit Game(std::uint64_t seed = 1) : fake(seed), game(fake) {}

    FakePlatform fake;
    puzzlemaker2 game;

    // Runs start-up and the main loop until `done` holds after a yield, or `ms` of virtual time.
    void run(double ms, std::function<bool()> done = {}) {
        fake.stopAt(ms);
        fake.stopWhen = std::move(done);
        game.Form_Activate();
    }

    // Builds a puzzle of w × h the way title mode does (no option controls read), on the current
    // client area, regular (animated 0) or animated (1).
    void buildtitle(int w, int h, int animated) {
        game.loop.phase = 0;
        game.puzzle.puzzlewidth = w;
        game.puzzle.puzzleheight = h;
        game.puzzle.animated = animated;
        game.puzzle.picturefile = animated ? "title2.bmp" : "title1.bmp";
        game.puzzle.picturename = animated ? "title2" : "title1";
        game.puzzle.colour = 3;
        game.puzzle.colour2 = 15;
        game.makenewpuzzle();
    }

    Event mouse(float x, float y, int button = 1) const {
        Event e;
        e.kind = EventKind::MouseDown;
        e.button = button;
        e.x = x;
        e.y = y;
        return e;
    }
    Event key(int code, Control control = Control::Form) const {
        Event e;
        e.kind = EventKind::KeyDown;
        e.control = control;
        e.key = code;
        return e;
    }
    Event menu(Menu entry) const {
        Event e;
        e.kind = EventKind::MenuClick;
        e.menu = entry;
        return e;
    }
    Event click(Control control) const {
        Event e;
        e.kind = EventKind::Click;
        e.control = control;
        return e;
    }
};

// The first seed whose first title puzzle is animated.
std::uint64_t animatedseed();

// The rules that hold between moves: one hole at (holex, holey), pieces 2..N once each, and
// placedcount equal to the pieces at home. Empty result: all hold; otherwise what broke.
std::string boardfault(const PuzzleState& s);

// True when every piece is home and the hole is at (1, 1).
bool solved(const PuzzleState& s);

// A solved w × h board with cells of pw × ph pixels (hole in (1, 1)), empty histories, and the
// user solving a regular puzzle in play after the first click, with the input turn open.
void layplayableboard(puzzlemaker2& g, int w, int h, int pw, int ph);

}  // namespace pelorix::testing
