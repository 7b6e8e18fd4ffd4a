// The forecast's figures, by themselves and against the months played out.
#include "model/forecast.h"

#include <string>

#include "model/capacity.h"
#include "model/voyages.h"
#include "turn/startofturn.h"
#include "turn/turnchange.h"
#include "turn_fixture.h"

TEST(Forecast, MonthsOfFood) {
    const struct {
        int64_t food;
        int32_t consumption, arrival;
        int64_t income;
        int32_t months;
    } cases[] = {
        {25, 3, 0, 0, 8},     {24, 3, 0, 0, 7},  // food eaten to nothing is a famine month
        {0, 3, 0, 0, 0},      {3, 3, 0, 0, 0},   {4, 3, 0, 0, 1},
        {25, 0, 0, 0, forecastHorizon},          // nobody eats
        {5, 3, 2, 10, 4},                        // 2, then 12: 9, 6, 3, none
        {5, 3, 3, 10, 1},                        // the mission comes a month too late
        {5, 3, 1, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(monthsFed(c.food, c.consumption, c.arrival, c.income), c.months)
            << c.food << " food, " << c.consumption << " a month, " << c.income << " in month " << c.arrival;
}

TEST(Forecast, MonthsOfFuelAndTheStoreNextMonth) {
    EXPECT_EQ(monthsOfFuel(24, 2, 0), 24);  // a demand under one unit burns one
    EXPECT_EQ(monthsOfFuel(1, 7, 0), 0);    // 7 power wants more than one unit
    EXPECT_EQ(monthsOfFuel(12, 36, 0), 2);
    EXPECT_EQ(monthsOfFuel(12, 36, 6), forecastHorizon);
    EXPECT_EQ(monthsOfFuel(12, 36, 5), 7);  // one unit less a month, short below 6
    EXPECT_EQ(monthsOfFuel(0, 0, 0), 0);

    // Room 100: 20 of mission food, 1 burnt, output 80 fits the 80 left, 3 eaten.
    EXPECT_EQ(storeNextMonth(100, 20, true, 1, true, 80, 10, 3).freeAfter, 100 - 20 + 1 - 80 + 3);
    EXPECT_EQ(storeNextMonth(100, 20, true, 1, true, 80, 10, 3).overflow, 0);
    // One more unit of output than the room before the burn: it waits, nothing is stored.
    const StoreMonth over = storeNextMonth(100, 20, true, 1, true, 81, 10, 3);
    EXPECT_EQ(over.overflow, 1);
    EXPECT_EQ(over.freeAfter, 100 - 20 + 1 + 3);
    // Without fuel nothing is burnt or made; an empty store frees no room when eaten from.
    EXPECT_EQ(storeNextMonth(50, 0, false, 1, true, 10, 0, 3).freeAfter, 50);
    EXPECT_EQ(storeNextMonth(50, 0, true, 1, false, 10, 2, 3).freeAfter, 50 + 1 + 2);
}

namespace {

class ForecastPlayed : public TurnTest {
protected:
    // Ends the turn and runs the next start of turn, closing every window.
    void playMonth() {
        endTurn(game);
        keys("Space Space Space Space Space Space Space Space Space Space");
        ASSERT_EQ(startOfTurn(game), Flow::gameEntry);
    }
};

}  // namespace

TEST_F(ForecastPlayed, FoodUraniumStoreAndTheMissionAsTheMonthsPlayOut) {
    players({"Ala"});
    game.goods1[1] = 6;
    game.output2[1] = 4;
    game.missionSent[1] = 1;
    game.missionMonths[1] = 2;
    game.missionWorkers[1] = 10;
    game.workers1[1] = 0;
    const Forecast f = forecastColony(game);
    EXPECT_EQ(f.consumption, 3);
    EXPECT_EQ(f.foodMonths, 8);
    EXPECT_EQ(f.fuelMonths, 6);
    EXPECT_EQ(f.overflow, 0);
    EXPECT_EQ(f.missionArrival, 2);
    EXPECT_EQ(f.missionFoodLow, missionIncome(15, 10, 1, 0, 0));
    EXPECT_EQ(f.missionFoodHigh, missionIncome(18, 10, 1, 0, 0));

    int32_t arrived = 0, income = 0, fed = 0, burning = 0;
    for (int month = 1; month <= 70 && game.famineGrace[1] == 3; ++month) {
        const int32_t food = game.goods4[1], fuel = game.goods1[1], damage = game.missionPercent[1];
        playMonth();
        if (month == 1) {
            EXPECT_EQ(freeRoom(game), f.freeAfter);
        }
        if (game.goods4[1] > food) {
            arrived = month;
            income = game.goods4[1] + f.consumption - food;
            // Damage on the way lowers the food below the forecast's range.
            if (damage == 0) {
                EXPECT_GE(income, f.missionFoodLow);
            }
            EXPECT_LE(income, f.missionFoodHigh);
        }
        if (game.famineGrace[1] == 3) fed = month;
        if (game.goods1[1] < fuel) burning = month;
    }
    EXPECT_EQ(burning, f.fuelMonths);
    EXPECT_EQ(arrived, f.missionArrival);
    EXPECT_EQ(fed, monthsFed(f.food, f.consumption, f.missionArrival, income));
    EXPECT_NEAR(fed, f.foodMonthsWithMission, 10);
}
