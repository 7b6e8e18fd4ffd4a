#pragma once
#include "model/state.h"

// The current player's month: fuel is burnt for power and, if fuel and power
// suffice, the outputs are stored (or shared out on the store-allocation
// screen), a finished construction and production order are delivered and
// research moves on. Each event is reported in a window closed by Space or
// Enter.
void monthlyUpdate(GameState& game);
