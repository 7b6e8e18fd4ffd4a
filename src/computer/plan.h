#pragma once
// What a computer seat wants, worked out from its own colony alone: plain
// functions of the game state and the seat's level, testable without a
// screen. The keys that carry these wishes out are in computer.cpp.
#include <cstdint>

#include "model/state.h"

// The figures of one colony the planner works with (slot p of the state).
struct Colony {
    int32_t level;  // seatEasy, seatNormal or seatHard
    int64_t money, food, fuel, goods2, goods3;
    int64_t population, consumption;  // consumption: food eaten a month
    int64_t storeCapacity, freeStore, baseFreeStore, freeHousing;
    int64_t powerCapacity, powerDemand;
    int32_t world;
};
Colony colonyOf(const GameState& game, int p, int32_t level);

// Food a mission brings home per person, in tenths, before damage.
int64_t missionYieldTenths(const GameState& game, int p);
// Months a mission of this seat is away.
int32_t missionMonths(const GameState& game, int p);
// Persons to send on a mission now (0: none): enough to feed the colony until
// the one after it is home, with the level's margin, within the free persons.
int32_t missionCrew(const GameState& game, int p, int32_t level);
// Food the colony wants in store, for the months the level looks ahead; never
// more than the room the store keeps for it.
int64_t foodWanted(const Colony& c);
// Room of the store kept for food: the rest may hold the three goods.
int64_t foodRoom(const Colony& c);
// How many of each good the colony keeps at most (fuel, goods2, goods3).
int64_t goodsCap(const Colony& c, int good);
// The same, raised to what the structure the colony wants to build takes.
int64_t goodsKept(const GameState& game, int p, int32_t level, int good);
// Fuel burnt a month at the present demand (at least 1).
int64_t fuelPerMonth(const Colony& c);
// The population the food in store and on its way feeds until the next
// mission is home.
int64_t populationFed(const GameState& game, int p);
// Colonists the level takes from an offer of `offered` in a group, given how
// many it has taken this turn already.
int64_t colonistsWanted(const GameState& game, int p, const Colony& c, int64_t offered, int64_t takenSoFar);
// The structure to build now (0 none, 1 housing, 2 storehouses) and how many.
struct Build {
    int32_t type = 0, count = 0, months = 3;
};
Build buildWanted(const GameState& game, int p, int32_t level);
// Monthly output wanted of goods k = 1 to 3, within the deposit and the power.
int32_t outputWanted(const GameState& game, int p, int32_t level, int good);
