#pragma once
#include "model/state.h"

// An expedition whose months have run out comes back: it may have found a
// deposit and may have lost people, and its crew returns to work. Nothing
// happens for a colony without such an expedition.
void expeditionReturn(GameState& game);
