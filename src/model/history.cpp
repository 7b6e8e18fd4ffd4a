#include "model/history.h"

#include "model/state.h"

namespace {

size_t at(const ColonyHistory& h, int32_t row, int32_t player) {
    return (static_cast<size_t>(row) * h.players + (player - 1)) * 2;
}

void startRow(ColonyHistory& h, const int32_t* population, const int32_t* money) {
    for (int32_t q = 1; q <= h.players; ++q) {
        h.values.push_back(population[q]);
        h.values.push_back(money[q]);
    }
}

// Keeps rows 0, 2, 4, ...: each kept row now stands for two.
void thin(ColonyHistory& h) {
    const int32_t rows = historyRows(h);
    std::vector<int32_t> kept;
    for (int32_t r = 0; r < rows; r += 2)
        kept.insert(kept.end(), h.values.begin() + at(h, r, 1), h.values.begin() + at(h, r, 1) + 2 * h.players);
    h.values.swap(kept);
    h.step *= 2;
}

}  // namespace

int32_t monthIndex(int32_t year, int32_t month) { return year * 12 + month - 1; }

void recordHistory(ColonyHistory& h, int32_t index, int32_t players, int32_t player, const int32_t* population,
                   const int32_t* money) {
    if (players < 1 || players > historyPlayerLimit || player < 1 || player > players) return;
    const int64_t offset = int64_t{index} - h.firstMonth;
    const int64_t rows = historyRows(h);
    const int64_t row = h.step > 0 && offset >= 0 ? offset / h.step : -1;
    if (h.players != players || rows == 0 || row < rows - 1 || row > rows) {
        h = ColonyHistory{};
        h.firstMonth = index;
        h.players = players;
        startRow(h, population, money);
    } else if (row == rows) {
        if (rows >= historyRowLimit) {
            thin(h);
            // The month may now fall in the last row kept.
            recordHistory(h, index, players, player, population, money);
            return;
        }
        startRow(h, population, money);
    }
    const int32_t last = historyRows(h) - 1;
    h.values[at(h, last, player)] = population[player];
    h.values[at(h, last, player) + 1] = money[player];
}

void recordColonyHistory(GameState& game) {
    int32_t population[playerSlots] = {}, money[playerSlots] = {};
    for (int q = 1; q <= game.playerCount && q < playerSlots; ++q) {
        population[q] = game.population1[q] + game.population2[q] + game.population3[q] + game.population4[q];
        money[q] = game.money[q];
    }
    recordHistory(game.history, monthIndex(game.year, game.month), game.playerCount, game.currentPlayer, population,
                  money);
}

int32_t historyPopulation(const ColonyHistory& h, int32_t row, int32_t player) {
    if (row < 0 || row >= historyRows(h) || player < 1 || player > h.players) return 0;
    return h.values[at(h, row, player)];
}

int32_t historyMoney(const ColonyHistory& h, int32_t row, int32_t player) {
    if (row < 0 || row >= historyRows(h) || player < 1 || player > h.players) return 0;
    return h.values[at(h, row, player) + 1];
}

bool historyValid(const ColonyHistory& h) {
    if (h.players == 0) return h.values.empty();
    bool powerOfTwo = h.step >= 1 && (h.step & (h.step - 1)) == 0 && h.step <= (1 << 20);
    return powerOfTwo && h.players >= 1 && h.players <= historyPlayerLimit &&
           h.values.size() % (2 * static_cast<size_t>(h.players)) == 0 && historyRows(h) >= 1 &&
           historyRows(h) <= historyRowLimit;
}
