#include "model/works.h"

#include <algorithm>

#include "model/capacity.h"

const WorkTemplate constructionTemplates[5] = {
    {50, 50, 5, {2000, 1500, 1000}, {30, 25, 20}, {20, 15, 10}, {10, 8, 5}, {0, 0, 0}},
    {200, 150, 25, {2000, 1000, 500}, {15, 12, 10}, {30, 20, 15}, {15, 12, 10}, {3, 1, 1}},
    {250, 200, 50, {5000, 3000, 2500}, {50, 45, 40}, {40, 30, 20}, {20, 18, 15}, {8, 5, 3}},
    {400, 50, 50, {4000, 3500, 3000}, {45, 40, 35}, {40, 25, 20}, {25, 25, 20}, {5, 5, 1}},
    {100, 250, 100, {10000, 7500, 5000}, {55, 45, 35}, {30, 20, 15}, {15, 12, 10}, {20, 15, 10}},
};

const WorkTemplate orderTemplates[6] = {
    {25, 15, 5, {600, 400, 250}, {4, 3, 2}, {3, 2, 1}, {2, 1, 1}, {1, 0, 0}},
    {30, 25, 15, {650, 500, 300}, {5, 4, 3}, {3, 3, 2}, {3, 2, 1}, {2, 1, 1}},
    // The power of this one does not fall with a longer build time.
    {25, 20, 15, {1200, 800, 500}, {4, 6, 5}, {6, 4, 3}, {6, 5, 3}, {3, 2, 1}},
    {75, 100, 50, {4000, 2500, 1500}, {10, 8, 6}, {10, 7, 5}, {8, 7, 5}, {6, 5, 3}},
    {50, 75, 10, {2500, 1500, 800}, {5, 4, 3}, {8, 6, 4}, {7, 4, 3}, {4, 2, 1}},
    {50, 50, 50, {3000, 2000, 1000}, {14, 12, 10}, {7, 6, 4}, {9, 6, 4}, {7, 5, 3}},
};

const WorkTables constructionTables = {&PlayerTables::buildType,     &PlayerTables::buildCount,
                                       &PlayerTables::buildMonths,   &PlayerTables::buildPower,
                                       &PlayerTables::buildWorkers1, &PlayerTables::buildWorkers2,
                                       &PlayerTables::buildWorkers3};
const WorkTables orderTables = {&PlayerTables::orderType,     &PlayerTables::orderCount,
                                &PlayerTables::orderMonths,   &PlayerTables::orderPower,
                                &PlayerTables::orderWorkers1, &PlayerTables::orderWorkers2,
                                &PlayerTables::orderWorkers3};

WorkCost workCost(const WorkTemplate& item, int32_t count, int32_t months) {
    const int m = std::clamp(months, 1, 3) - 1;
    const int64_t c = count;
    return {{c * item.goods3, c * item.goods2, c * item.goods1, c * item.money[m], c * item.workers1[m],
             c * item.workers2[m], c * item.workers3[m], c * item.power[m]}};
}

WorkCost colonyMeans(const GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    return {{game.goods3[p], game.goods2[p], game.goods1[p], game.money[p], game.workers1[p], game.workers2[p],
             game.workers3[p], int64_t{powerCapacity(game)} - game.powerInUse[p]}};
}

int32_t findShortfall(const WorkCost& means, const WorkCost& cost, int32_t flags[9]) {
    flags[0] = 0;
    for (int k = 1; k <= costLines; ++k) flags[k] = means.line[k - 1] < cost.line[k - 1] ? 1 : 0;
    return shortfallCount(flags);
}

int32_t shortfallCount(const int32_t flags[9]) {
    int32_t n = 0;
    for (int k = 1; k <= costLines; ++k) n += flags[k] == 1 ? 1 : 0;
    return n;
}

void payWork(GameState& game, const WorkTables& work, int32_t type, const WorkCost& cost) {
    const int p = playerSlot(game.currentPlayer);
    // Every amount was checked against a stock of 32 bits, so it fits them.
    auto take = [&](PlayerTable& stock, CostLine line) { stock[p] -= static_cast<int32_t>(cost.line[line]); };
    auto tie = [&](PlayerTable& freeWorkers, WorkTable tied, CostLine line) {
        take(freeWorkers, line);
        (game.*tied)[p] += static_cast<int32_t>(cost.line[line]);
    };
    take(game.goods3, costGoods3);
    take(game.goods2, costGoods2);
    take(game.goods1, costGoods1);
    take(game.money, costMoney);
    tie(game.workers1, work.workers1, costWorkers1);
    tie(game.workers2, work.workers2, costWorkers2);
    tie(game.workers3, work.workers3, costWorkers3);
    (game.*work.power)[p] = static_cast<int32_t>(cost.line[costPower]);
    game.powerInUse[p] += static_cast<int32_t>(cost.line[costPower]);
    (game.*work.type)[p] = type;
}

int32_t constructionCountAfter(CountStep step, int32_t count, int32_t) {
    switch (step) {
        case CountStep::less: return count > 1 ? count - 1 : count;
        case CountStep::more: return count < 999 ? count + 1 : count;
        case CountStep::tenLess: return count >= 11 ? count - 10 : 1;
        case CountStep::tenMore: return count <= 989 ? count + 10 : 999;
    }
    return count;
}

int32_t orderCountAfter(CountStep step, int32_t count, int32_t workshops) {
    switch (step) {
        case CountStep::less: return count > 1 ? count - 1 : count;
        case CountStep::more: return count < 999 && count < workshops ? count + 1 : count;
        case CountStep::tenLess: return count >= 11 ? count - 10 : 1;
        case CountStep::tenMore:
            if (count > 989) return count;
            return count + 10 < workshops ? count + 10 : workshops;
    }
    return count;
}
