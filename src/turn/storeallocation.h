#pragma once
#include "model/state.h"

// The month's outputs do not fit the store: the player moves units between
// the pending output and the stock of goods1 to goods3 and keeps what fits.
// What is still pending when the screen is left is lost.
void storeAllocation(GameState& game);
