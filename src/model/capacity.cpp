#include "model/capacity.h"

#include "model/rounding.h"
#include "model/state.h"

namespace {

int player(const GameState& game) { return playerSlot(game.currentPlayer); }

int32_t storeCapacityOf(const GameState& game, int p) {
    return game.storehouses[p] * 500 + game.techLevel[p][2] * game.storehouses[p] * 50;
}

int32_t housingCapacityOf(const GameState& game, int p) {
    return game.housing[p] * 50 + game.techLevel[p][1] * game.housing[p] * 5;
}

}  // namespace

int32_t storeCapacity(const GameState& game) { return storeCapacityOf(game, player(game)); }

int32_t housingCapacity(const GameState& game) { return housingCapacityOf(game, player(game)); }

int32_t powerCapacity(const GameState& game) { return powerCapacity(game, player(game)); }

int32_t storeCapacity(const GameState& game, int p) { return storeCapacityOf(game, playerSlot(p)); }

int32_t housingCapacity(const GameState& game, int p) { return housingCapacityOf(game, playerSlot(p)); }

int32_t powerCapacity(const GameState& game, int p) {
    p = playerSlot(p);
    return game.powerPlants[p] * 30 + game.techLevel[p][5] * game.powerPlants[p] * 3;
}

int32_t goodsInStore(const GameState& game) {
    const int p = player(game);
    return game.goods1[p] + game.goods2[p] + game.goods3[p] + game.goods4[p];
}

int32_t peopleHoused(const GameState& game) {
    const int p = player(game);
    return game.population1[p] + game.population2[p] + game.population3[p] + game.population4[p];
}

int64_t freeRoom(const GameState& game) { return freeRoom(game, player(game)); }

int64_t freeRoom(const GameState& game, int p) {
    p = playerSlot(p);
    return int64_t{storeCapacityOf(game, p)} - game.goods1[p] - game.goods2[p] - game.goods3[p] - game.goods4[p];
}

int64_t baseFreeRoom(const GameState& game) { return baseFreeRoom(game, player(game)); }

int64_t baseFreeRoom(const GameState& game, int p) {
    p = playerSlot(p);
    return int64_t{game.storehouses[p]} * 500 - game.goods1[p] - game.goods2[p] - game.goods3[p] - game.goods4[p];
}

int64_t freeHousing(const GameState& game) { return freeHousing(game, player(game)); }

int64_t freeHousing(const GameState& game, int p) {
    p = playerSlot(p);
    return int64_t{housingCapacityOf(game, p)} - game.population1[p] - game.population2[p] - game.population3[p] -
           game.population4[p];
}

int32_t powerDemand(const GameState& game) { return powerDemand(game, player(game)); }

int32_t powerDemand(const GameState& game, int p) {
    p = playerSlot(p);
    return game.buildPower[p] + game.orderPower[p] + game.outputPower[p] + game.otherPower[p] + game.housing[p] +
           game.storehouses[p] + game.workshops[p] + game.structures4[p] + game.labs[p];
}

bool storeNearlyFull(int64_t stored, int64_t capacity) { return capacity <= 0 || stored * 100 >= capacity * 85; }

int32_t fillPercent(int32_t amount, int32_t capacity) {
    if (capacity == 0) return 100;
    // A tiny capacity in a hand-made file can give more than 32 bits hold.
    return roundToInt(amount / (capacity / 100.0));
}
