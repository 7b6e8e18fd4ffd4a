#pragma once
// The turn screen: the command menu, the status line and the status panel of
// the current player, and the key loop that starts the commands.
#include <cstdint>

#include "model/state.h"

// Draws the turn screen and runs its key loop until the turn ends
// (Flow::startOfTurn, after the turn has passed on) or Esc asks for the game
// menu (Flow::gameMenu). Commands return here and the screen is drawn again.
Flow turnScreen(GameState& game);

// Draws the menu, status line and status panel without clearing the screen;
// gives the menu's inner width, by which the menu window is removed.
int32_t drawTurnScreen(GameState& game);

// Address of a local of the latest turnScreen call, so a test can show that
// the stack is as deep at the thousandth turn as at the first.
extern uintptr_t turnScreenStackMark;
