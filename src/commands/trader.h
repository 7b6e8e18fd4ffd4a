#pragma once
#include "model/state.h"

// Menu entry 12: the trader's menu and its goods, equipment and colonist
// markets, or a short message when no trader is present.
void traderScreen(GameState& game);
