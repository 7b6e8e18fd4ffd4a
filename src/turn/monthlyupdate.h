#pragma once
#include "model/state.h"

// The current player's month: power, production, construction and research.
void monthlyUpdate(GameState& game);
