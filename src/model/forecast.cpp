#include "model/forecast.h"

#include <algorithm>

#include "model/capacity.h"
#include "model/economy.h"
#include "model/rounding.h"
#include "model/state.h"
#include "model/voyages.h"

int32_t monthsFed(int64_t food, int32_t consumption, int32_t arrival, int64_t income) {
    for (int32_t month = 1; month <= forecastHorizon; ++month) {
        if (month == arrival) food += income;
        food -= consumption;
        // Food used up to nothing is a famine month already.
        if (food <= 0) return month - 1;
    }
    return forecastHorizon;
}

int32_t monthsOfFuel(int64_t goods1, int32_t power, int32_t mining) {
    for (int32_t month = 1; month <= forecastHorizon; ++month) {
        const MonthFuel fuel = monthFuel(power, nearestInt32(goods1));
        if (fuel.shortage) return month - 1;
        goods1 += mining - fuel.burnt;
    }
    return forecastHorizon;
}

StoreMonth storeNextMonth(int64_t free, int64_t missionFood, bool burns, int32_t burnt, bool produces,
                          int64_t output, int64_t food, int32_t consumption) {
    free -= missionFood;
    food += missionFood;
    int64_t overflow = 0;
    if (burns) {
        // The room is measured before the fuel is burnt; output that does
        // not fit waits for the player to share the room out.
        const int64_t room = free;
        free += burnt;
        if (produces) {
            if (room >= output)
                free -= output;
            else
                overflow = output - room;
        }
    }
    // Food eaten frees its room; the store never holds less than none.
    free += std::min<int64_t>(std::max<int64_t>(food, 0), consumption);
    return {free, overflow};
}

Forecast forecastColony(const GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    Forecast f{};
    const int32_t people = peopleHoused(game);
    f.food = game.goods4[p];
    f.consumption = roundToInt(people * 0.2);
    f.foodMonths = monthsFed(f.food, f.consumption, 0, 0);

    // The countdown falls once before each of this player's starts of turn,
    // and a voyage at 0 is back at the next one.
    f.freeNow = freeRoom(game);
    if (game.missionSent[p] == 1) {
        f.missionArrival = std::max(game.missionMonths[p], 1);
        int64_t sum = 0;
        f.missionFoodLow = f.missionFoodHigh = 0;
        for (int32_t rate = 15; rate <= 18; ++rate) {
            const int32_t income = missionIncome(rate, game.missionWorkers[p], game.homeWorld[p],
                                                 game.techLevel[p][4], game.missionPercent[p]);
            if (rate == 15) f.missionFoodLow = income;
            if (rate == 18) f.missionFoodHigh = income;
            sum += income;
        }
        f.missionFoodExpected = roundToInt(static_cast<double>(sum) / 4);
        f.foodMonthsWithMission = monthsFed(f.food, f.consumption, f.missionArrival,
                                            foodStored(f.missionFoodExpected, f.freeNow));
    }
    if (game.expeditionSent[p] == 1) f.expeditionArrival = std::max(game.expeditionMonths[p], 1);
    if (game.buildType[p] >= 1) f.buildMonths = std::max(game.buildMonths[p], 0);

    f.fuel = game.goods1[p];
    f.powerDemand = powerDemand(game);
    f.powerCapacity = powerCapacity(game);
    const MonthFuel fuel = monthFuel(f.powerDemand, f.fuel);
    f.burn = fuel.burnt;
    const int32_t powerUsed = fuel.minimumUnit ? powerPerFuel : f.powerDemand;
    const bool produces = powerUsed <= f.powerCapacity;
    const int64_t output = int64_t{std::max(game.output1[p], 0)} + std::max(game.output2[p], 0) +
                           std::max(game.output3[p], 0);
    f.mining = produces ? std::max(game.output1[p], 0) : 0;
    f.fuelMonths = monthsOfFuel(f.fuel, f.powerDemand, f.mining);

    const int64_t missionFood =
        f.missionArrival == 1 ? foodStored(f.missionFoodExpected, f.freeNow) : 0;
    const StoreMonth next = storeNextMonth(f.freeNow, missionFood, !fuel.shortage, fuel.burnt, produces, output,
                                           f.food, f.consumption);
    f.freeAfter = next.freeAfter;
    f.overflow = next.overflow;
    f.freeHousing = freeHousing(game);
    return f;
}
