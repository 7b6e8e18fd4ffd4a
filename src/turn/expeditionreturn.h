#pragma once
#include "model/state.h"

// The expedition of the current player comes back when its months have run out.
void expeditionReturn(GameState& game);
