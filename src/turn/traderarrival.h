#pragma once
#include "model/state.h"

// Whether a trader arrives this month, and how big it is.
void traderArrivalDraw(GameState& game);
