#pragma once
#include "model/state.h"

// The read-only report windows of the turn menu; each waits for Space, Enter
// or Esc and changes nothing.
void holdingsReport(GameState& game);    // entry 2: structures and capacities
void warehouseReport(GameState& game);   // entry 7: goods and free room
void populationReport(GameState& game);  // entry 8: people, workers, free housing, food
void powerOverview(GameState& game);     // entry 11: power capacity, use and fuel
