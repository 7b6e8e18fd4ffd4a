#pragma once
#include "model/state.h"

// Menu entry 6: assigns free workers of kind 1 to a trade mission and sends
// it for 50 money each. "a" saves the game as "autosave" and ends the program.
void mission(GameState& game);
