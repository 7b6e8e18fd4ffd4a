#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "model/economy.h"
#include "model/rounding.h"

namespace {

TEST(Rounding, NearestWithTiesToEvenAndStopsAtTheEnds) {
    const struct {
        double x;
        int32_t want;
    } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {1.17, 1}, {-0.4, 0},
        {3e9, INT32_MAX}, {-3e9, INT32_MIN}, {2147483647.4, INT32_MAX}, {NAN, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(roundToInt(c.x), c.want) << c.x;
}

TEST(Economy, MonthFuel) {
    const struct {
        const char* name;
        int32_t demand, goods1;
        int32_t burnt;
        bool minimumUnit, shortage;
    } cases[] = {
        {"demand 3 burns the minimum unit", 3, 25, 1, true, false},
        {"demand 4 rounds 0.67 to 1", 4, 25, 1, false, false},
        {"demand 9: 1.5 to 2", 9, 25, 2, false, false},
        {"demand 15: 2.5 to 2", 15, 25, 2, false, false},
        {"demand 7 with 1 unit is short, though it rounds to 1", 7, 1, 1, false, true},
        {"demand 6 with 1 unit is enough", 6, 1, 1, false, false},
        {"no fuel at all, demand 3", 3, 0, 1, true, true},
        {"no fuel, no demand: the minimum unit is missing", 0, 0, 1, true, true},
        {"a negative demand burns only the minimum unit", -60, 5, 1, true, false},
        {"a negative demand with no fuel is short", -60, 0, 1, true, true},
        {"demand near the 32-bit end", INT32_MAX, INT32_MAX, 357913941, false, false},
    };
    for (const auto& c : cases) {
        const MonthFuel m = monthFuel(c.demand, c.goods1);
        EXPECT_EQ(m.burnt, c.burnt) << c.name;
        EXPECT_EQ(m.minimumUnit, c.minimumUnit) << c.name;
        EXPECT_EQ(m.shortage, c.shortage) << c.name;
        if (!m.shortage) {
            EXPECT_GE(c.goods1 - m.burnt, 0) << c.name << ": fuel never goes below 0";
        }
    }
}

TEST(Economy, ResearchRoundsTheWholeSumEveryMonth) {
    // One lab with field 3 at level 5: 1.5, 3.5, 5.5 go to the even integer.
    std::vector<int32_t> done = {0};
    for (int month = 0; month < 3; ++month) done.push_back(researchAfterMonth(done.back(), 1, 5));
    EXPECT_EQ(done, (std::vector<int32_t>{0, 2, 4, 6}));
    EXPECT_EQ(researchAfterMonth(9, 1, 5), 10) << "10.5 to the even 10";
    EXPECT_EQ(researchAfterMonth(0, 7, 3), 9) << "7 x 1.3 = 9.1; no integer division of the level";
    EXPECT_EQ(researchAfterMonth(INT32_MAX, 999, 10), INT32_MAX) << "an edited file cannot wrap it";
}

TEST(Economy, ResearchReachedComparesInSixtyFourBits) {
    EXPECT_TRUE(researchReached(10, 1000));
    EXPECT_FALSE(researchReached(9, 1000));
    EXPECT_TRUE(researchReached(30000000, 1)) << "30,000,000 x 100 leaves 32 bits";
    EXPECT_FALSE(researchReached(-30000000, 1));
}

TEST(Economy, ResearchThresholdsRiseWithEveryLevelAndEndAtNine) {
    for (int field = 1; field <= 9; ++field) {
        for (int32_t level = 1; level <= 8; ++level)
            EXPECT_GT(researchThreshold(field, level), researchThreshold(field, level - 1))
                << "field " << field << " level " << level;
        EXPECT_EQ(researchThreshold(field, 9), 0) << "field " << field;
        EXPECT_EQ(researchThreshold(field, 10), 0) << "field " << field;
        EXPECT_EQ(researchThreshold(field, -1), 0) << "field " << field;
    }
    // Fields 1 to 6 and 7 to 9, after rising from levels 0 to 8.
    const int32_t common[9] = {1500, 3000, 5000, 7000, 10000, 12000, 15000, 19000, 25000};
    const int32_t advanced[9] = {3500, 6000, 9000, 12000, 15000, 19000, 23000, 27000, 35000};
    for (int field = 1; field <= 9; ++field)
        for (int32_t level = 0; level <= 8; ++level)
            EXPECT_EQ(researchThreshold(field, level), field <= 6 ? common[level] : advanced[level])
                << "field " << field << " level " << level;
    EXPECT_EQ(researchThreshold(6, 8), 25000);
    EXPECT_EQ(researchThreshold(7, 0), 3500);
    EXPECT_EQ(researchThreshold(0, 0), 0);
    EXPECT_EQ(researchThreshold(10, 0), 0);
}

TEST(Economy, OutputPower) {
    EXPECT_EQ(outputPowerFor(15, 0, 0), 2);
    EXPECT_EQ(outputPowerFor(0, 25, 0), 2);
    EXPECT_EQ(outputPowerFor(0, 0, 5), 0);
    EXPECT_EQ(outputPowerFor(150, 200, 100), 45);
    EXPECT_EQ(outputPowerFor(INT32_MAX, INT32_MAX, INT32_MAX), 644245094) << "the sum is not wrapped";
}

TEST(Economy, MoveUnits) {
    const struct {
        const char* name;
        int32_t from, to, most;
        int32_t wantFrom, wantTo;
    } cases[] = {
        {"one unit", 5, 0, 1, 4, 1},
        {"a hundred", 250, 3, 100, 150, 103},
        {"all of less than a hundred", 40, 0, 100, 0, 40},
        {"nothing from nothing", 0, 7, 100, 0, 7},
        {"nothing from below zero", -5, 7, 1, -5, 7},
    };
    for (const auto& c : cases) {
        int32_t from = c.from, to = c.to;
        moveUnits(from, to, c.most);
        EXPECT_EQ(from, c.wantFrom) << c.name;
        EXPECT_EQ(to, c.wantTo) << c.name;
    }
}

}  // namespace
