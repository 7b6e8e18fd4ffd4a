// Planner decisions that are easy to get wrong: how many go on a mission,
// how many colonists the food can carry, and that easy never takes any.
#include <gtest/gtest.h>

#include "computer/computer.h"
#include "computer/plan.h"
#include "model/capacity.h"
#include "model/economy.h"
#include "model/options.h"
#include "screen/keys.h"

namespace {

// A fresh colony as set-up leaves it, on home world `world`.
GameState colony(int world) {
    GameState g;
    g.playerCount = 1;
    g.currentPlayer = 1;
    g.tablesExist = true;
    g.money[1] = 50000;
    g.goods1[1] = g.goods2[1] = g.goods3[1] = g.goods4[1] = 25;
    g.population1[1] = 10;
    g.population2[1] = g.population3[1] = g.population4[1] = 2;
    g.workers1[1] = 10;
    g.workers2[1] = g.workers3[1] = g.workers4[1] = 2;
    g.housing[1] = g.storehouses[1] = g.powerPlants[1] = 1;
    g.homeWorld[1] = world;
    return g;
}

TEST(Planner, HomeWorldChosenForAllSeats) {
    GameState g = colony(3);
    g.seatLevel[1] = seatHard;
    for (int world : {1, 2, 3}) {
        setComputerHomeWorld(world);
        EXPECT_EQ(computerKey(g, 1, SeatTask::homeWorld), std::to_string(world));
    }
    setComputerHomeWorld(0);
    EXPECT_EQ(computerKey(g, 1, SeatTask::homeWorld), "3") << "its own choice";
    g.seatLevel[1] = seatEasy;
    EXPECT_EQ(computerKey(g, 1, SeatTask::homeWorld), "2") << "easy seats spread over the worlds";
}

// Each seat starts at a name of its own; a second attempt first closes the
// "name taken" message.
TEST(Planner, ColonyNames) {
    GameState g = colony(3);
    forgetComputerPlans();
    std::string first, second;
    for (int i = 0; i < 6; ++i) first += computerKey(g, 1, SeatTask::name);
    for (int i = 0; i < 7; ++i) second += computerKey(g, 1, SeatTask::name);
    EXPECT_EQ(first, "Atlas" + keyEnter);
    EXPECT_EQ(second, keySpace + "Borea" + keyEnter);
}

// The planner's own sums of room, housing and power agree with the game's.
TEST(Planner, ColonyFiguresAsTheGameHasThem) {
    GameState g = colony(3);
    g.storehouses[1] = 3, g.housing[1] = 2, g.powerPlants[1] = 4;
    g.techLevel[1][1] = 2, g.techLevel[1][2] = 3, g.techLevel[1][5] = 4;
    g.goods2[1] = 1000;  // above the store's base room
    g.workshops[1] = 1, g.structures4[1] = 2, g.labs[1] = 3;
    g.buildPower[1] = 5, g.orderPower[1] = 6, g.outputPower[1] = 7, g.otherPower[1] = 8;
    const Colony c = colonyOf(g, 1, seatHard);
    EXPECT_EQ(c.storeCapacity, storeCapacity(g));
    EXPECT_EQ(c.freeStore, freeRoom(g));
    EXPECT_EQ(c.baseFreeStore, baseFreeRoom(g));
    EXPECT_EQ(c.freeHousing, freeHousing(g));
    EXPECT_EQ(c.powerCapacity, powerCapacity(g));
    EXPECT_EQ(c.powerDemand, powerDemand(g));
    for (int demand : {2, 45, 57, 63}) {
        Colony d = c;
        d.powerDemand = demand;
        EXPECT_EQ(fuelPerMonth(d), monthFuel(demand, 0).burnt) << demand;
    }
}

TEST(Planner, MissionCrew) {
    struct Case {
        int world, level, workers1, sent;
        int crew;
        int population1 = 10;
        int progress = 0;  // of the expedition
    } cases[] = {
        {3, seatHard, 10, 0, 3},   // 3 a month for 5 months, half again, 19.8 a person: 3 with one spare
        {1, seatHard, 10, 0, 3},   // 14.9 a person, 6 months: 2 and one spare
        {3, seatEasy, 10, 0, 2},   // no spare, a larger margin
        {3, seatHard, 3, 0, 1},    // two kept back for expeditions
        {3, seatHard, 4, 0, 2},
        {3, seatEasy, 3, 0, 2},    // easy keeps none back
        {3, seatHard, 3, 0, 3, 10, 100},  // none kept back once the expedition is done
        {3, seatHard, 1, 0, 1},    // but never none while anyone is free
        {3, seatHard, 0, 0, 0},
        {3, seatHard, 10, 1, 0},   // one is out already
        // 41 eaten a month would want 17, but the store keeps 300 for food: 16 fill it.
        {3, seatHard, 200, 0, 16, 200},
    };
    for (const Case& c : cases) {
        GameState g = colony(c.world);
        g.workers1[1] = c.workers1;
        g.population1[1] = c.population1;
        g.missionSent[1] = c.sent;
        g.expeditionProgress[1] = c.progress;
        EXPECT_EQ(missionCrew(g, 1, c.level), c.crew) << c.world << " " << c.level << " " << c.workers1 << " "
                                                      << c.progress;
    }
}

TEST(Planner, PopulationFedByFoodAtHomeAndOnItsWay) {
    GameState g = colony(3);
    EXPECT_EQ(populationFed(g, 1), 25 * 5 / 6);  // no mission: the store must last 5 months and one more
    g.goods4[1] = 100;
    g.missionSent[1] = 1;
    g.missionWorkers[1] = 10;
    g.missionMonths[1] = 4;
    // Until it is home the store alone feeds 100 a month over 5 months; 198 on
    // its way less a fifth is 158, over 4 + 5 + 1 months with the 100 at home.
    EXPECT_EQ(populationFed(g, 1), std::min<int64_t>(100 * 5 / 5, (100 + 158) * 5 / 10));
    g.missionPercent[1] = 70;  // 59 coming, less a fifth: 47
    EXPECT_EQ(populationFed(g, 1), (100 + 47) * 5 / 10);
}

// A house when fewer than 10 places are free and the money is more than the
// level keeps back; a storehouse first where the food room bounds the colony.
TEST(Planner, BuildWanted) {
    const struct {
        int level, storehouses, money, type;
        int population1 = 38;  // 6 places free
    } cases[] = {{seatHard, 4, 6001, 1},   {seatHard, 4, 6000, 0}, {seatNormal, 4, 12001, 1},
                 {seatNormal, 4, 12000, 0}, {seatEasy, 4, 50000, 0}, {seatHard, 1, 50000, 2},
                 {seatHard, 4, 50000, 0, 34},  // 10 places free are enough
                 // One storehouse's food room feeds 83; 39 people and 10 more reach six tenths of that.
                 {seatHard, 1, 50000, 2, 33}, {seatHard, 1, 50000, 0, 32},
                 // No storehouse past 40 (12 for normal), however many the food room feeds.
                 {seatHard, 40, 50000, 1, 3994}, {seatNormal, 12, 50000, 1, 1194}};
    for (const auto& c : cases) {
        GameState g = colony(3);
        g.population1[1] = c.population1;
        g.storehouses[1] = c.storehouses;
        g.money[1] = c.money;
        EXPECT_EQ(buildWanted(g, 1, c.level).type, c.type)
            << c.level << " " << c.storehouses << " " << c.money << " " << c.population1;
    }
    // What the wanted storehouse takes of goods2 and goods3 is kept.
    GameState g = colony(3);
    g.population1[1] = 38;
    EXPECT_EQ(goodsKept(g, 1, seatHard, 2), 150);
    EXPECT_EQ(goodsKept(g, 1, seatHard, 3), 200);
    // Nothing is wanted, kept or bought for while a construction is under way.
    g.buildType[1] = 2;
    EXPECT_EQ(buildWanted(g, 1, seatHard).type, 0);
    EXPECT_EQ(goodsKept(g, 1, seatHard, 2), goodsCap(colonyOf(g, 1, seatHard), 2));
}

// Fuel has the first call on the power, what its output takes is gone before
// goods2 and goods3 are planned, and the wanted construction's power is kept
// free for when it starts.
TEST(Planner, OutputWithinThePowerLeft) {
    const struct {
        int good, storehouses, population1, otherPower, deposit1;
        int output;
        int powerPlants = 1, fuel = 25;
    } cases[] = {
        {1, 4, 10, 0, 500, 140},  // a quarter of its 560 of the store; 23 power spare
        {3, 4, 10, 0, 500, 40},   // 14 of the power go to fuel: 4 for 40
        {3, 4, 10, 0, 0, 100},    // no fuel to dig: 11 for 105
        {3, 1, 38, 8, 0, 40},     // 8 spare once the wanted storehouse's 10 are kept: 4 for 50
        // 130 of fuel is 5 short of its 140 but below a year's burn at 11 a month: 16, so 10
        {1, 1, 10, 64, 500, 10, 3, 130},
        {1, 1, 10, 64, 500, 0, 3, 132},   // a year's burn held: 4, so none
        {1, 1, 10, 88, 500, 20, 4, 130},  // 15 a month and 5 more: 20
        {1, 1, 10, 0, 500, 30, 1, 80},    // half the 60 it lacks
        {1, 4, 10, 0, 45, 40},            // in tens within the 45 known
    };
    for (const auto& c : cases) {
        GameState g = colony(3);
        g.storehouses[1] = c.storehouses;
        g.population1[1] = c.population1;
        g.otherPower[1] = c.otherPower;
        g.powerPlants[1] = c.powerPlants;
        g.goods1[1] = c.fuel;
        g.deposit1[1] = c.deposit1;
        g.deposit2[1] = g.deposit3[1] = 500;
        EXPECT_EQ(outputWanted(g, 1, seatHard, c.good), c.output) << c.good << " " << c.storehouses << " " << c.deposit1;
        EXPECT_EQ(outputWanted(g, 1, seatEasy, c.good), 0) << "easy leaves the outputs alone";
    }
}

// Months of food each level keeps, within the store's room for it.
TEST(Planner, FoodWanted) {
    const struct {
        int level, population1, food;
    } cases[] = {{seatEasy, 10, 18}, {seatNormal, 10, 24}, {seatHard, 10, 27}, {seatHard, 194, 300}};
    for (const auto& c : cases) {
        GameState g = colony(3);
        g.population1[1] = c.population1;
        EXPECT_EQ(foodWanted(colonyOf(g, 1, c.level)), c.food) << c.level << " " << c.population1;
    }
}

TEST(Planner, ColonistsWithinHousingFoodAndLevel) {
    GameState g = colony(3);
    g.goods4[1] = 400;
    g.storehouses[1] = 4;
    for (int level : {seatEasy, seatNormal, seatHard}) {
        const Colony c = colonyOf(g, 1, level);
        const int64_t n = colonistsWanted(g, 1, c, 100, 0);
        if (level == seatEasy) { EXPECT_EQ(n, 0); }
        EXPECT_LE(n, c.freeHousing);  // 50 - 16
        EXPECT_LE(c.population + n, populationFed(g, 1));
        if (level == seatNormal) { EXPECT_LE(n, 10); }
        if (level == seatHard) { EXPECT_EQ(n, 34); }
    }
    EXPECT_EQ(colonistsWanted(g, 1, colonyOf(g, 1, seatNormal), 100, 4), 6) << "ten a turn, whatever the group";
    g.housing[1] = 10;  // room for 484 more: the food room's 600 feeds 333, and hard fills four fifths
    EXPECT_EQ(colonistsWanted(g, 1, colonyOf(g, 1, seatHard), 1000, 0), 266 - 16);
    g.money[1] = 4500;  // hard keeps 4000 back: 500 pays for 20
    EXPECT_EQ(colonistsWanted(g, 1, colonyOf(g, 1, seatHard), 100, 0), 20);
    g.money[1] = 8100;  // normal keeps 8000
    EXPECT_EQ(colonistsWanted(g, 1, colonyOf(g, 1, seatNormal), 100, 0), 4);
    // Nothing more once the store's food is spoken for.
    g.goods4[1] = 10;
    EXPECT_EQ(colonistsWanted(g, 1, colonyOf(g, 1, seatHard), 100, 0), 0);
}

}  // namespace
