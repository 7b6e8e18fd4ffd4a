#include "computer/plan.h"

#include <algorithm>

#include "model/capacity.h"
#include "model/options.h"
#include "model/rounding.h"
#include "model/works.h"

namespace {

int64_t ceilDiv(int64_t a, int64_t b) { return b <= 0 ? 0 : a <= 0 ? 0 : (a + b - 1) / b; }

// Persons kept back from missions for expeditions and building.
int32_t keptBack(const GameState& game, int p, int32_t level) {
    if (level == seatEasy) return 0;
    return game.expeditionProgress[p] < 100 ? 2 : 0;
}

}  // namespace

Colony colonyOf(const GameState& game, int p, int32_t level) {
    Colony c{};
    c.level = level;
    c.money = game.money[p];
    c.food = game.goods4[p];
    c.fuel = game.goods1[p];
    c.goods2 = game.goods2[p];
    c.goods3 = game.goods3[p];
    c.population = int64_t{game.population1[p]} + game.population2[p] + game.population3[p] + game.population4[p];
    c.consumption = roundToInt(static_cast<double>(c.population) * 0.2);
    // The game's own formulas: what the screens show is what the seat plans with.
    c.storeCapacity = storeCapacity(game, p);
    c.freeStore = freeRoom(game, p);
    c.baseFreeStore = baseFreeRoom(game, p);
    c.freeHousing = freeHousing(game, p);
    c.powerCapacity = powerCapacity(game, p);
    c.powerDemand = powerDemand(game, p);
    c.world = game.homeWorld[p];
    return c;
}

int64_t missionYieldTenths(const GameState& game, int p) {
    const int world = game.homeWorld[p];
    const int64_t base = world == 1 ? 149 : world == 2 ? 140 : world == 3 ? 198 : 140;
    return base + base * game.techLevel[p][4] / 10;
}

int32_t missionMonths(const GameState& game, int p) { return game.homeWorld[p] == 3 ? 5 : 6; }

int32_t missionCrew(const GameState& game, int p, int32_t level) {
    if (game.missionSent[p] != 0) return 0;
    const Colony c = colonyOf(game, p, level);
    const int64_t months = missionMonths(game, p);
    // Tenths of the months the food must last: to this mission's return and
    // on to the next one's, with room for damage on the way.
    const int64_t margin = level == seatEasy ? 25 : level == seatNormal ? 16 : 15;
    const int64_t need = std::max<int64_t>(1, c.consumption) * months * margin;
    int64_t crew = ceilDiv(need * 10, missionYieldTenths(game, p) * 10) + (level == seatEasy ? 0 : 1);
    // What the store cannot take is lost.
    const int64_t roomCrew = ceilDiv(foodRoom(c) * 10, missionYieldTenths(game, p));
    if (level != seatEasy) crew = std::min(crew, std::max<int64_t>(roomCrew, 1));
    const int64_t free = game.workers1[p] - keptBack(game, p, level);
    crew = std::min<int64_t>(crew, std::max<int64_t>(free, std::min<int64_t>(game.workers1[p], 1)));
    return static_cast<int32_t>(std::max<int64_t>(crew, 0));
}

int64_t foodRoom(const Colony& c) {
    const int64_t wanted = std::max<int64_t>(c.consumption, 3) * 16;
    return std::clamp<int64_t>(wanted, c.storeCapacity * 3 / 10, c.storeCapacity * 6 / 10);
}

int64_t foodWanted(const Colony& c) {
    const int64_t months = c.level == seatEasy ? 6 : c.level == seatNormal ? 8 : 9;
    return std::min(std::max<int64_t>(c.consumption, 1) * months, foodRoom(c));
}

int64_t goodsCap(const Colony& c, int good) {
    const int64_t rest = std::max<int64_t>(c.storeCapacity - foodRoom(c), 0);
    return good == 1 ? rest * 4 / 10 : rest * 3 / 10;
}

int64_t goodsKept(const GameState& game, int p, int32_t level, int good) {
    const Colony c = colonyOf(game, p, level);
    const Build b = buildWanted(game, p, level);
    if (b.type == 0) return goodsCap(c, good);
    const WorkCost cost = workCost(constructionTemplates[b.type - 1], b.count, b.months);
    const int64_t need = cost.line[good == 1 ? costGoods1 : good == 2 ? costGoods2 : costGoods3];
    return std::max(goodsCap(c, good), need + (good == 1 ? fuelPerMonth(c) * 4 : 0));
}

int64_t fuelPerMonth(const Colony& c) { return std::max<int64_t>(1, roundToInt(static_cast<double>(c.powerDemand) / 6.0)); }

int64_t populationFed(const GameState& game, int p) {
    const int64_t months = missionMonths(game, p);
    const int64_t food = game.goods4[p];
    if (game.missionSent[p] == 0) return food * 5 / (months + 1);
    // What is on its way, less a fifth for damage, must last one more mission.
    const int64_t coming = int64_t{game.missionWorkers[p]} * missionYieldTenths(game, p) / 10 *
                           (100 - game.missionPercent[p]) / 100 * 4 / 5;
    const int64_t left = std::max<int32_t>(game.missionMonths[p], 0);
    return std::min(food * 5 / (left + 1), (food + coming) * 5 / (left + months + 1));
}

int64_t colonistsWanted(const GameState& game, int p, const Colony& c, int64_t offered, int64_t takenSoFar) {
    if (c.level == seatEasy) return 0;
    // As many as the store can feed: a month's food must fit the food room
    // some nine times over.
    const int64_t fed = foodRoom(c) * 5 / 9;
    const int64_t limit = c.level == seatHard ? fed * 8 / 10 : fed * 6 / 10;
    const int64_t reserve = c.level == seatHard ? 4000 : 8000;
    const int64_t eaten = populationFed(game, p);
    int64_t n = std::min({offered, c.freeHousing - takenSoFar, limit - c.population - takenSoFar,
                          eaten - c.population - takenSoFar, (c.money - reserve) / 25 - takenSoFar});
    if (c.level == seatNormal) n = std::min<int64_t>(n, 10 - takenSoFar);
    return std::max<int64_t>(n, 0);
}

Build buildWanted(const GameState& game, int p, int32_t level) {
    Build b;
    if (level == seatEasy || game.buildType[p] != 0) return b;
    const Colony c = colonyOf(game, p, level);
    const int64_t fed = foodRoom(c) * 5 / 9;
    // More room for food before more houses: the store bounds the colony.
    if (c.population + 10 >= fed * 6 / 10 && game.storehouses[p] < (level == seatHard ? 40 : 12)) {
        b.type = 2;
        b.count = 1;
    } else if (c.freeHousing < 10 && c.money > (level == seatHard ? 6000 : 12000)) {
        b.type = 1;
        b.count = 1;
    }
    return b;
}

int32_t outputWanted(const GameState& game, int p, int32_t level, int good) {
    if (level == seatEasy) return 0;
    const Colony c = colonyOf(game, p, level);
    const int32_t known = good == 1 ? game.deposit1[p] + game.output1[p]
                          : good == 2 ? game.deposit2[p] + game.output2[p]
                                      : game.deposit3[p] + game.output3[p];
    // The power the structures and works leave, less what the construction
    // the colony wants takes when it starts; fuel has the first call on it.
    const Build b = buildWanted(game, p, level);
    const int64_t reserve = b.type == 0 ? 0 : constructionTemplates[b.type - 1].power[b.months - 1] * b.count;
    int64_t spare = std::max<int64_t>(c.powerCapacity - (c.powerDemand - game.outputPower[p]) - reserve - 2, 0);
    // Nothing more of a good whose share of the store is full: the room kept
    // for food must stay free for the missions' yield.
    auto wantedOf = [&](int k, int64_t power) {
        const int64_t held = k == 1 ? c.fuel : k == 2 ? c.goods2 : c.goods3;
        const int64_t kept = goodsKept(game, p, level, k);
        int64_t wanted = std::min(std::max<int64_t>(kept / 4, 10), (kept - held) / 2);
        if (k == 1 && held < fuelPerMonth(c) * 12) wanted = std::max(wanted, fuelPerMonth(c) + 5);
        // In steps of ten: every unit is a key.
        return std::clamp<int64_t>(std::min(wanted, power * 10) / 10 * 10, 0, int64_t{1} << 30);
    };
    const int64_t fuelKnown = int64_t{game.deposit1[p]} + game.output1[p];
    const int64_t fuel = std::min(wantedOf(1, spare), fuelKnown / 10 * 10);
    int64_t wanted = fuel;
    if (good != 1) {
        spare -= roundToInt(static_cast<double>(fuel) / 10.0);
        wanted = wantedOf(good, std::max<int64_t>(spare, 0) / 2);
    }
    return static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, std::max(known, 0)));
}
