#pragma once
// Where a colony is heading if nothing changes: the coming months worked out
// by the rules of the start of turn, from the colony as it stands on the turn
// screen. Draws are not made: a mission's food is given by its range.
#include <cstdint>

struct GameState;

// Longest horizon counted; a supply that lasts longer shows as this.
constexpr int32_t forecastHorizon = 999;

// Months the colony eats without a famine month: each month takes
// `consumption`, and in month `arrival` (1 = the next start of turn; 0 for
// none) `income` arrives first. forecastHorizon when it never runs out.
int32_t monthsFed(int64_t food, int32_t consumption, int32_t arrival, int64_t income);
// Months the fuel pays a demand of `power` before the month that is short of
// it, with `mining` added after each month's burn.
int32_t monthsOfFuel(int64_t goods1, int32_t power, int32_t mining);
// The room a mission's food takes, the month's fuel and output, and the food
// eaten, applied to `free` room as the start of turn applies them; `overflow`
// is what the output lacks in room (0 when it fits).
struct StoreMonth {
    int64_t freeAfter;
    int64_t overflow;
};
StoreMonth storeNextMonth(int64_t free, int64_t missionFood, bool burns, int32_t burnt, bool produces,
                          int64_t output, int64_t food, int32_t consumption);

struct Forecast {
    int32_t food, consumption, foodMonths;
    int32_t missionArrival;  // months until the mission is back, 0 for none
    int32_t missionFoodLow, missionFoodHigh, missionFoodExpected;
    int32_t foodMonthsWithMission;
    int32_t fuel, burn, mining, fuelMonths;
    int64_t freeNow, freeAfter, overflow;
    int64_t freeHousing;
    int32_t powerCapacity, powerDemand;
    int32_t expeditionArrival;  // months until the expedition is back, 0 for none
    int32_t buildMonths;        // months until the construction under way is delivered, 0 for none
};
// The forecast for the current player.
Forecast forecastColony(const GameState& game);
