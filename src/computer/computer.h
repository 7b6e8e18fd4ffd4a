#pragma once
// The computer player of a seat: it plays through the very screens a person
// uses, one key at a time, deciding from its own colony and from what its
// screens show. It never changes the game state and never draws from the
// game's random numbers, so a game with computer seats plays out the same
// from the same person's keys and clock.
#include <string>

#include "model/state.h"

// What the seat's screens are asking for.
enum class SeatTask { name, homeWorld, turn };

// The seat's next key; "" when the seat gives up its seat to a person (a
// turn it could not end within a few thousand keys).
std::string computerKey(const GameState& game, int seat, SeatTask task);
// Forgets every seat's plans: a new game, or one loaded. At the game entry of
// a turn the keys its start took still count (keepTurnKeys).
void forgetComputerPlans(bool keepTurnKeys = false);
// The home world every computer seat chooses (1 to 3), or 0 for its own choice.
void setComputerHomeWorld(int world);
// Time spent deciding keys since the program started, in seconds of the
// process's CPU clock (for the arena's figures).
double computerSeconds();
// How often the computer seats of a level (1 to 3) opened each command of the
// turn menu (1 to 13) since the program started.
const long long* computerCommandCounts(int level);
// Turns given up since the program started: ended early by the turn screen's
// own key, or handed to a person because even that could not be reached.
struct GiveUps {
    long long turnsEnded = 0, seatsHandedOver = 0;
};
GiveUps computerGiveUps();
