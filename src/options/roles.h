// SPDX-License-Identifier: MIT
// The roles of the window's controls and menu entries, named for the code that uses them.
#pragma once

#include "platform/ids.h"

namespace pelorix::role {

// The set-up screen and the picture panels.
inline constexpr Control widthlabel = Control::Label1;
inline constexpr Control widthbox = Control::Text1;
inline constexpr Control heightlabel = Control::Label2;
inline constexpr Control heightbox = Control::Text2;
inline constexpr Control chosenlabel = Control::Label5;
inline constexpr Control chosenbox = Control::Text3;  // the chosen picture's file name
inline constexpr Control regularlist = Control::File1;   // "*.regular_picture" files
inline constexpr Control animatedlabel = Control::Label8;
inline constexpr Control animatedlist = Control::File2;  // "*.animation_picture" files
inline constexpr Control beginbutton = Control::Command1;
inline constexpr Control donebutton = Control::Command2;
inline constexpr Control cancelbutton = Control::Command3;
// Never shown: 1 while pictures are random, 0 while they are chosen.
inline constexpr Control randomcheck = Control::Check1;

// The timing panels.
inline constexpr Control piecetimelabel = Control::Label4;
inline constexpr Control piecetimebox = Control::Text4;
inline constexpr Control picturetimelabel = Control::Label6;
inline constexpr Control picturetimebox = Control::Text5;

// Never shown: holds the moving picture of animated puzzles and gives its place.
inline constexpr Control movingpicture = Control::Picture1;

// Menus that come and go with the game's state.
inline constexpr Menu puzzlemenu = Menu::puzzle7;
inline constexpr Menu solvingmenu = Menu::soptions;
inline constexpr Menu animationspeedmenu = Menu::anispeed;
inline constexpr Menu instructionsmenu = Menu::instructions;
inline constexpr Menu keyhelpmenu = Menu::fdgff;
// Key help's "Toggling animation on or off" entry, enabled while an animated puzzle is played.
inline constexpr Menu animationtogglehelp = Menu::dfgfgfg;

}  // namespace pelorix::role
