// SPDX-License-Identifier: MIT
// The stages of building a new puzzle, shared by the construction and its tests.
#pragma once

#include <string>

#include "platform/platform.h"
#include "puzzle/puzzlestate.h"

namespace pelorix {

class puzzlemaker2;

// A picture file's name less its last four characters; empty for names of four characters or
// fewer, which then name no colour files.
std::string picturenameof(const std::string& picturefile);

// Settles the type and picture of the next puzzle from the option controls (not in title mode).
void choosetypeandpicture(puzzlemaker2& w);

// Reads the grid size from the width and height boxes, bounded to 2-20, and writes it back.
// Changes nothing but the grid size and the two boxes.
void readgridsize(puzzlemaker2& w);

// Lays out the solved board of the current grid with the hole in (1, 1).
void laysolvedboard(PuzzleState& s);

// Scrambles a solved board by a random walk of the hole that never steps straight back, until no
// piece is home and the hole is back in (1, 1). Records the undo code of every step on
// `solvestack` (oldest at 1) and returns the number of steps.
int scramble(PuzzleState& s, Platform& platform);

// Draws a regular puzzle's pieces, the animated background, the grid lines and the hole.
void drawboard(puzzlemaker2& w);

}  // namespace pelorix
