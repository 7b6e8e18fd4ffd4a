#pragma once
#include "model/state.h"

// A mission under way may be damaged this month; one whose months have run
// out arrives with food and its crew returns to work. Nothing happens for a
// colony without a mission.
void missionVoyage(GameState& game);
