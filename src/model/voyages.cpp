#include "model/voyages.h"

#include <algorithm>

#include "model/rounding.h"

int32_t expeditionRoll(int32_t draw, int32_t homeWorld) {
    if (homeWorld != 1) return draw;
    return roundToInt(draw - draw * 10 / 100.0);
}

bool expeditionSucceeds(int32_t roll, int32_t length, int32_t workers1, int32_t workers3) {
    static const double base[3] = {25, 50, 80};
    if (length < 1 || length > 3) return false;
    return roll <= workers1 * 0.25 + workers3 + base[length - 1];
}

int32_t expeditionFind(int32_t draw, int32_t workers1, int32_t workers3, int32_t homeWorld) {
    const double amount = nearestInt32(draw + int64_t{workers1} * 10 + int64_t{workers3} * 50);
    switch (homeWorld) {
        case 1: return roundToInt(amount + amount * 15 / 100);
        case 2: return roundToInt(amount + amount * 5 / 100);
        case 3: return roundToInt(amount - amount * 10 / 100);
        default: return static_cast<int32_t>(amount);
    }
}

bool lossesStrike(int32_t roll, int32_t length) {
    return (length == 1 && roll < 31) || (length == 2 && roll < 36) || (length == 3 && roll < 41);
}

double lossRange(int32_t crew) { return crew / 2.0; }

int32_t missionDamage(int32_t percent, int32_t draw) {
    return nearestInt32(std::min<int64_t>(int64_t{percent} + draw, highestMissionDamage));
}

int32_t missionIncome(int32_t rate, int32_t crew, int32_t homeWorld, int32_t field4Level, int32_t damagePercent) {
    double income = nearestInt32(int64_t{rate} * crew);
    switch (homeWorld) {
        case 1: income = roundToInt(income - income * 10 / 100); break;
        case 2: income = roundToInt(income - income * 15 / 100); break;
        case 3: income = roundToInt(income + income * 20 / 100); break;
        default: break;
    }
    income = roundToInt(income + income * (field4Level / 10.0));
    return roundToInt(income - income * (damagePercent / 100.0));
}

int32_t foodStored(int32_t income, int64_t freeRoom) {
    return static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(income, freeRoom)));
}
