#pragma once
// The forecast window of the turn screen: where the current player's colony
// is heading if nothing changes.
#include "model/state.h"

// Shows the forecast over the turn screen until Space, Enter or Esc, then
// puts back what it covered. Nothing of the game changes.
void forecastWindow(const GameState& game);
