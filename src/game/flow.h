#pragma once
#include "computer/computer.h"
#include "model/state.h"

// Runs the game from start-up until the program ends.
void runProgram();

// Start-up: text table, start-up values, fixed text copies.
void startUp(GameState& game);
// Runs screens from `next` on, each returning where to go, until the end.
[[noreturn]] void runFlow(GameState& game, Flow next);

// The game as a turn ends: what a recovery save writes while the next start of
// turn runs, since the saved game has no place for a month half played.
void keepTurnEnd(const GameState& game);

// The screens of the program's spine; each returns where to go next.
Flow titleScreen(GameState& game);
Flow mainMenu(GameState& game);
// The options window over the title picture; back to the main menu.
Flow optionsWindow(GameState& game);
Flow gameEntry(GameState& game);
Flow gameMenu(GameState& game);

// Whose keys the screens read from now on: the keyboard's, or those of the
// computer player of `seat` when the game gives that seat to the computer.
void useKeysOfSeat(const GameState& game, int seat, SeatTask task);
// The seat in slot p was the computer's and could not end its turn: a window
// says so, and a person plays it from now on.
void seatHandedOver(GameState& game, int p);
