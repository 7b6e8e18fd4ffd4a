#pragma once
#include "model/state.h"

// Menu entry 9: the overview of the colony's forces, then the preparation of
// a raid or a force against another player. A confirmed raid strikes at the
// start of its target's next turn; a confirmed force stays for the game.
void operations(GameState& game);
