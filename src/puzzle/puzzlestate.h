// SPDX-License-Identifier: MIT
// The puzzle's fields: grid, layouts, hole, histories, pictures, colours and type.
#pragma once

#include <array>
#include <string>

#include "puzzle/history.h"

namespace pelorix {

inline constexpr int minGrid = 2;
inline constexpr int maxGrid = 20;

// The two values of every 0/1 flag field.
namespace flag {
inline constexpr int off = 0;
inline constexpr int on = 1;
}  // namespace flag

// Values of `animated` and `chosentype`: the type of a puzzle.
namespace puzzletype {
inline constexpr int regular = 0;
inline constexpr int animated = 1;
}  // namespace puzzletype

// The colours, as palette indices, that the default colour files replace when they hold one.
namespace defaultcolour {
inline constexpr int hole = 3;         // teal: the hole and grid lines of regular puzzles
inline constexpr int background = 15;  // white: the board behind an animated puzzle's picture
}  // namespace defaultcolour

// Indexed [column][row], 1-based; column and row 0 are unused.
using Grid = std::array<std::array<int, maxGrid + 1>, maxGrid + 1>;

// Direction codes: the way a piece travels into the hole.
namespace dir {
inline constexpr int none = 0;   // no move
inline constexpr int right = 1;  // the piece left of the hole moves right; the hole moves left
inline constexpr int left = 2;
inline constexpr int down = 3;   // the piece above the hole moves down; the hole moves up
inline constexpr int up = 4;
}  // namespace dir

// The code that takes back a move: 1 and 2 exchanged, 3 and 4 exchanged; other values unchanged.
constexpr int undocode(int d) {
    switch (d) {
        case dir::right: return dir::left;
        case dir::left: return dir::right;
        case dir::down: return dir::up;
        case dir::up: return dir::down;
        default: return d;
    }
}

// The cell, next to the hole at (holex, holey), of the piece that travels into the hole in
// direction d (1-4); the hole itself for any other value. May lie outside the grid.
struct Cell {
    int c, r;
};
constexpr Cell piececell(int d, int holex, int holey) {
    switch (d) {
        case dir::right: return {holex - 1, holey};
        case dir::left: return {holex + 1, holey};
        case dir::down: return {holex, holey - 1};
        case dir::up: return {holex, holey + 1};
        default: return {holex, holey};
    }
}

struct PuzzleState {
    // Grid and geometry, in client pixels.
    int puzzlewidth = 0;   // columns, 2-20
    int puzzleheight = 0;  // rows, 2-20
    float areawidth = 0;   // client size sampled at the last construction
    float areaheight = 0;
    int piecewidth = 0;    // floor(areawidth / puzzlewidth)
    int pieceheight = 0;

    // Layouts: `board` holds the piece in each cell (0 the hole), `homeboard` the piece that belongs.
    Grid board{};
    Grid homeboard{};
    int holex = 0;
    int holey = 0;
    int placedcount = 0;  // pieces lying in their home cell

    // Moves.
    int movedir = dir::none;  // code of the move being made
    int lastdir = dir::none;  // code of the move before it
    int computermove = flag::off;  // on while a B-key replay moves a piece (not recorded)
    History solvestack;    // undo codes of the scramble, oldest at 1
    int solvetop = 0;
    History usermoves;     // undo codes of the player's moves not taken back, oldest at 1
    int usermovetop = 0;

    // The moving picture (Picture1) of animated puzzles: position and step per frame.
    int frameleft = 0;
    int frametop = 0;
    int anidx = 0;
    int anidy = 0;

    std::string picturefile;  // file of the current picture
    std::string picturename;  // picturefile less its last four characters; names the colour files

    // Palette indices 0-15.
    int dcolour = 0;   // default hole and grid colour of regular puzzles
    int dcolour2 = 0;  // default background of animated puzzles
    int colour = 0;    // this puzzle's hole, grid lines and clearing colour
    int colour2 = 0;   // this animated puzzle's board background

    int animated = puzzletype::regular;    // the current puzzle's type
    int chosentype = puzzletype::regular;  // type chosen for the next puzzle
    // Flags, each flag::off or flag::on.
    int typedrawn = flag::off;    // on once a construction outside title mode has run
    int newmade = flag::off;      // on after a construction; the loop then builds no second puzzle
    int freshpuzzle = flag::off;  // on after a construction; the computer then rebuilds its history
    int anipaused = flag::off;    // on while an animated puzzle is paused
};

}  // namespace pelorix
