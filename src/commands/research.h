#pragma once
#include "model/state.h"

// Menu entry 4: needs a lab; shows the nine research fields and lets the
// player put free labs on a field (Right) or take them off (Left). Each lab
// on a field ties up 10 workers of kind 3.
void research(GameState& game);
