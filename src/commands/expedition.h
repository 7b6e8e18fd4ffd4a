#pragma once
#include "model/state.h"

// Menu entry 5: puts together an expedition from free workers of kinds 1 and
// 3, chooses its length and sends it. Once sent, it only shows its crew.
void expedition(GameState& game);
