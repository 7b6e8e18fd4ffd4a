#pragma once
// Each colony's population and money month by month, for the standings chart.
// A row holds every player's pair; a colony's pair is taken at the end of its
// own start of turn, and a new row starts from everybody's present figures.
// A long game is thinned rather than cut: when a row would be added beyond
// historyRowLimit, every second row is dropped (the first kept) and a row
// stands for twice as many months as before.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t historyRowLimit = 144;
constexpr int32_t historyPlayerLimit = 5;

struct ColonyHistory {
    int32_t firstMonth = 0;  // year x 12 + month - 1 of the first row
    int32_t step = 1;        // months a row stands for: 1, 2, 4, ...
    int32_t players = 0;
    // rows x players pairs: population, then money.
    std::vector<int32_t> values;
};

inline int32_t historyRows(const ColonyHistory& h) {
    return h.players > 0 ? static_cast<int32_t>(h.values.size() / (2 * static_cast<size_t>(h.players))) : 0;
}
// A month's index on the calendar, the way the history counts months.
int32_t monthIndex(int32_t year, int32_t month);
// Records `player`'s (1-based) figures for month `index`. `population` and
// `money` hold every player's present figures (index 1 to players), used to
// start a new row. A month before the last row, a jump past the next one or a
// change of player count starts the history afresh at this month.
void recordHistory(ColonyHistory& h, int32_t index, int32_t players, int32_t player, const int32_t* population,
                   const int32_t* money);
struct GameState;
// Records the current player's colony as its start of turn leaves it.
void recordColonyHistory(GameState& game);
// The value of row `row` for `player` (1-based): population or money.
int32_t historyPopulation(const ColonyHistory& h, int32_t row, int32_t player);
int32_t historyMoney(const ColonyHistory& h, int32_t row, int32_t player);
// Whether a history read from a file is one recordHistory could have made.
bool historyValid(const ColonyHistory& h);
