#pragma once
#include "model/state.h"

// Menu entry 10: for each of goods1 to goods3 the player moves units between
// the known deposit (not worked) and the monthly output (worked). Leaving, by
// Space, Enter or Esc alike, keeps the changes and sets the power the outputs
// draw.
void outputAllocation(GameState& game);
