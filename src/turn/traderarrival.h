#pragma once
#include "model/state.h"

// The last step of the start of turn: whether a trader arrives, with what
// offer, and the announcement when one does.
void traderArrivalDraw(GameState& game);
