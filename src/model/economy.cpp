#include "model/economy.h"

#include <algorithm>

#include "model/rounding.h"

int32_t fuelForPower(int32_t powerInUse) { return roundToInt(powerInUse / static_cast<double>(powerPerFuel)); }

MonthFuel monthFuel(int32_t powerInUse, int32_t goods1) {
    MonthFuel m;
    m.fuel = powerInUse / static_cast<double>(powerPerFuel);
    const int32_t rounded = fuelForPower(powerInUse);
    // At least one unit is burnt every month; a demand below zero (only from a
    // saved game's otherPower) burns no more than that.
    m.minimumUnit = rounded < 1;
    m.burnt = m.minimumUnit ? 1 : rounded;
    m.shortage = m.fuel > goods1 || m.burnt > goods1;
    return m;
}

int32_t researchAfterMonth(int32_t done, int32_t labs, int32_t field3Level) {
    return roundToInt(static_cast<double>(done) + labs + labs * (field3Level / 10.0));
}

bool researchReached(int32_t done, int32_t needed) { return int64_t{done} * 100 >= needed; }

int32_t researchThreshold(int field, int32_t level) {
    static const int32_t common[10] = {1500, 3000, 5000, 7000, 10000, 12000, 15000, 19000, 25000, 0};
    static const int32_t advanced[10] = {3500, 6000, 9000, 12000, 15000, 19000, 23000, 27000, 35000, 0};
    if (field < 1 || field > 9 || level < 0 || level > 9) return 0;
    return field <= 6 ? common[level] : advanced[level];
}

int64_t labOutput(int32_t field3Level) { return 100 + int64_t{10} * field3Level; }

bool labCanBeAdded(int32_t level, int32_t freeLabs, int32_t workers3, int32_t needed, int32_t done,
                   int32_t assigned, int32_t field3Level) {
    if (level >= highestTechLevel || freeLabs <= 0 || workers3 < 10) return false;
    return needed - int64_t{done} * 100 > assigned * labOutput(field3Level);
}

int32_t outputPowerFor(int32_t output1, int32_t output2, int32_t output3) {
    return roundToInt((static_cast<double>(output1) + output2 + output3) / 10.0);
}

int32_t moveUnits(int32_t& from, int32_t& to, int32_t most) {
    if (from <= 0 || most <= 0) return 0;
    const int32_t moved = std::min(from, most);
    from -= moved;
    to += moved;
    return moved;
}
