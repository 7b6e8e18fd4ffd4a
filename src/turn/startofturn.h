#pragma once
// The start of a player's turn: the month banner, a raid that arrives, the
// returns of expedition and mission, the month's economy, food and famine, and
// the trader's arrival.
#include "model/state.h"

// Runs the start of turn for currentPlayer. Gives Flow::gameEntry normally,
// Flow::title when the colony starved to death (the tables are released), and
// never returns when a raid arrives (the program ends).
Flow startOfTurn(GameState& game);
