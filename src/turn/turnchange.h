#pragma once
// Passing the turn: the next active player takes over, and the calendar moves
// on a month each time the order wraps back to player 1.
#include "model/state.h"

// Ends the current player's turn: currentPlayer becomes the next active player
// and the calendar advances as the order wraps (with one player, every turn).
// The caller goes on to that player's start of turn.
void endTurn(GameState& game);

// One month on: month and year, and the mission and expedition countdowns of
// every player, active or not.
void advanceCalendar(GameState& game);
