#pragma once
// The arithmetic of the monthly economy and of output allocation, as plain
// functions of numbers: fuel, research, output power and the moving of units
// between two columns of the allocation screens.
#include <cstdint>

// Six units of power burn one unit of goods1 a month.
constexpr int32_t powerPerFuel = 6;

// The goods1 a demand burns, as shown: power / 6 rounded.
int32_t fuelForPower(int32_t powerInUse);

struct MonthFuel {
    double fuel;      // the demand in goods1, unrounded
    int32_t burnt;    // what the month burns: the rounded demand, at least 1
    bool minimumUnit; // the demand rounded to less than one unit
    bool shortage;    // goods1 cannot pay the demand or the minimum unit
};

// The fuel a demand of `powerInUse` needs from `goods1`. The shortage test is
// on the unrounded demand (7 power with 1 unit in store is a shortage).
MonthFuel monthFuel(int32_t powerInUse, int32_t goods1);

// researchDone after one month: done + labs + labs x level of field 3 / 10,
// the whole sum rounded.
int32_t researchAfterMonth(int32_t done, int32_t labs, int32_t field3Level);
// Progress is kept in hundreds of points.
bool researchReached(int32_t done, int32_t needed);
// Points field `field` (1 to 9) needs for its next level after rising from
// `level` (0 to 9); 0 for anything else.
int32_t researchThreshold(int field, int32_t level);
constexpr int32_t highestTechLevel = 10;

// Points one lab yields a month: 100, and 10 more per level of field 3.
int64_t labOutput(int32_t field3Level);
// Whether a field takes one more lab: below level 10, a free lab and 10 free
// workers of kind 3, and the field's present output does not already cover
// the points it still needs.
bool labCanBeAdded(int32_t level, int32_t freeLabs, int32_t workers3, int32_t needed, int32_t done,
                   int32_t assigned, int32_t field3Level);

// One unit of power per 10 units of monthly output, rounded.
int32_t outputPowerFor(int32_t output1, int32_t output2, int32_t output3);

// Moves up to `most` units from `from` to `to`; a count of 0 or less gives
// nothing. Returns the units moved.
int32_t moveUnits(int32_t& from, int32_t& to, int32_t most);
