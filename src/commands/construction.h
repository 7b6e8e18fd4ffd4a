#pragma once
#include "model/state.h"

// Menu entry 1: shows the construction under way, or lets the player choose a
// structure type, a count and a build time and start it.
void construction(GameState& game);
