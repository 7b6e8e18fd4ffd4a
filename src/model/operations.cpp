#include "model/operations.h"

#include "model/rounding.h"

const OperationRow raidRows[2] = {
    {&PlayerTables::freeUnits3, &PlayerTables::raidUnits3, 50, 1, 0},
    {&PlayerTables::freeUnits4, &PlayerTables::raidUnits4, 100, 2, 0},
};

const OperationRow forceRows[5] = {
    {&PlayerTables::workers4, &PlayerTables::forceWorkers4, 10, 0, 1},
    {&PlayerTables::freeUnits1, &PlayerTables::forceUnits1, 50, 0, 10},
    {&PlayerTables::freeUnits2, &PlayerTables::forceUnits2, 80, 0, 15},
    {&PlayerTables::freeUnits3, &PlayerTables::forceUnits3, 100, 0, 0},
    {&PlayerTables::freeUnits5, &PlayerTables::forceUnits5, 50, 0, 0},
};

int64_t forceRoomLeft(const GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    const int64_t carriers = game.forceUnits5[p];
    return carriers * 100 + int64_t{game.techLevel[p][6]} * carriers * 10 - game.forceWorkers4[p] -
           int64_t{game.forceUnits1[p]} * 10 - int64_t{game.forceUnits2[p]} * 15;
}

bool commitUnits(GameState& game, const OperationRow& row, int32_t count, int64_t& pendingCost) {
    const int p = playerSlot(game.currentPlayer);
    int32_t& pool = (game.*row.freePool)[p];
    const int64_t crew = int64_t{row.crew} * count;
    const int64_t cost = int64_t{row.cost} * count;
    if (pool < count || game.workers4[p] < crew) return false;
    if (row.room > 0 && forceRoomLeft(game) < row.room) return false;
    if (game.money[p] < pendingCost + cost) return false;
    pool -= count;
    (game.*row.committed)[p] += count;
    game.workers4[p] -= static_cast<int32_t>(crew);
    pendingCost += cost;
    return true;
}

bool releaseUnits(GameState& game, const OperationRow& row, int32_t count, int64_t& pendingCost, bool carrier) {
    const int p = playerSlot(game.currentPlayer);
    int32_t& committed = (game.*row.committed)[p];
    if (committed < count) return false;
    // A carrier leaves only while 100 room is free, whatever it carries.
    if (carrier && forceRoomLeft(game) < 100) return false;
    committed -= count;
    (game.*row.freePool)[p] += count;
    game.workers4[p] += row.crew * count;
    pendingCost -= int64_t{row.cost} * count;
    return true;
}

namespace {

void giveBack(GameState& game, const OperationRow* rows, int n) {
    const int p = playerSlot(game.currentPlayer);
    for (int i = 0; i < n; ++i) {
        int32_t& committed = (game.*rows[i].committed)[p];
        (game.*rows[i].freePool)[p] += committed;
        game.workers4[p] += rows[i].crew * committed;
        committed = 0;
    }
}

}  // namespace

void cancelRaid(GameState& game, int64_t& pendingCost) {
    giveBack(game, raidRows, 2);
    game.raidTarget[playerSlot(game.currentPlayer)] = 0;
    pendingCost = 0;
}

void cancelForce(GameState& game, int64_t& pendingCost) {
    giveBack(game, forceRows, 5);
    game.forceTarget[playerSlot(game.currentPlayer)] = 0;
    pendingCost = 0;
}

bool raidCanBeConfirmed(const GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    return game.raidUnits3[p] != 0 || game.raidUnits4[p] != 0;
}

bool forceCanBeConfirmed(const GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    // Products of kind 3 alone do not count.
    return game.forceUnits5[p] != 0 &&
           (game.forceWorkers4[p] != 0 || game.forceUnits1[p] != 0 || game.forceUnits2[p] != 0);
}

void payOperation(GameState& game, int64_t& pendingCost) {
    const int p = playerSlot(game.currentPlayer);
    // pendingCost never exceeds the money, so the result fits.
    game.money[p] = nearestInt32(game.money[p] - pendingCost);
    pendingCost = 0;
}
