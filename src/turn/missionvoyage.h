#pragma once
#include "model/state.h"

// The mission of the current player reaches its target when its months have run out.
void missionVoyage(GameState& game);
