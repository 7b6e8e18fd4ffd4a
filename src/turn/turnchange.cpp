#include "turn/turnchange.h"

#include <algorithm>

namespace {

bool isActive(const GameState& game, int32_t player) {
    return player >= 0 && player < playerSlots && game.playerActive[player] == 1;
}

}  // namespace

void advanceCalendar(GameState& game) {
    if (game.month == 12) {
        game.month = 1;
        ++game.year;
    } else {
        ++game.month;
    }
    const int32_t last = std::min(game.playerCount, playerSlots - 1);
    for (int p = 1; p <= last; ++p) {
        if (game.missionMonths[p] >= 1) --game.missionMonths[p];
        if (game.expeditionMonths[p] >= 1) --game.expeditionMonths[p];
    }
}

void endTurn(GameState& game) {
    const int32_t last = std::min(game.playerCount, playerSlots - 1);
    bool anyActive = false;
    for (int p = 1; p <= last; ++p) anyActive = anyActive || isActive(game, p);

    // A game nobody is left in can only come from a hand-made file; searching
    // for a next player would never end, so the same player goes on.
    if (game.playerCount == 1 || !anyActive) {
        advanceCalendar(game);
        return;
    }
    if (game.currentPlayer < 0) game.currentPlayer = 0;
    for (;;) {
        if (game.currentPlayer < game.playerCount) {
            ++game.currentPlayer;
            if (isActive(game, game.currentPlayer)) return;
        } else {
            game.currentPlayer = 1;
            advanceCalendar(game);
            if (isActive(game, game.currentPlayer)) return;
        }
    }
}
