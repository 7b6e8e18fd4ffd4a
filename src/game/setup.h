#pragma once
// A new game: starting colonies, the players' names, the planet screen and
// each player's choice of home world.
#include <cstddef>
#include <string>

#include "model/state.h"

// Every colony starts alike: money, goods, people and one structure of each
// of the first two kinds and a power plant, at player slot p.
void setStartingColony(GameState& game, int p);

// Runs after the players prompt set playerCount and the tables were
// dimensioned, starting on the true-colour title screen and ending in palette
// mode. Neither question can be cancelled. The seats the options put
// elsewhere are marked so and left unnamed, without a home world; a game with
// such a seat returns createOnline, any other startOfTurn.
Flow newGameSetup(GameState& game);

// The set-up of seat p of a game with seats elsewhere, on the machine that
// joins it, as that seat's first turn starts: its name (none that another
// seat already has) and its home world, then a clear screen in palette mode.
void seatSetUp(GameState& game, int p);

// Draws a planet picture file with its first pixel at screen pixel (left, top).
// A missing file draws nothing; pixels the file lacks are drawn in colour 0;
// nothing is drawn off the screen, and the work stays within the file's length
// and the screen's area whatever size the header claims.
void drawPlanetPicture(const std::string& path, int left, int top);
// A picture as large as the screen, each value three digits with three bytes
// between it and the next, fits; a larger file is refused unread.
constexpr size_t largestPlanetPicture = 640 * 480 * 6;

