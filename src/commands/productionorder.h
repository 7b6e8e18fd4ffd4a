#pragma once
#include "model/state.h"

// Menu entry 3: needs a workshop; shows the order under way, or lets the
// player choose a product, a count (up to the number of workshops) and a
// build time and place the order.
void productionOrder(GameState& game);
