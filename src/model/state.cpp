#include "model/state.h"

#include <cstring>

void resetCalendarAndTrader(GameState& game) {
    game.year = 2090;
    game.month = 1;
    game.currentPlayer = 1;
    game.traderPresent = 0;
    game.traderSize = 0;
    std::memset(game.offerQuantity, 0, sizeof game.offerQuantity);
    std::memset(game.offerPrice, 0, sizeof game.offerPrice);
}

void setStartupValues(GameState& game) {
    resetCalendarAndTrader(game);
    game.playerCount = 0;
    game.selectedCommand = 0;
    game.menuCursor = 1;
    game.newGameFlag = 0;
    game.fileName.clear();
    game.storeFill = 0;
    game.housingFill = 0;
    game.bannerNameWidth = 0;
}

void dimensionTables(GameState& game) {
    static_cast<PlayerTables&>(game) = PlayerTables{};
    for (auto& name : game.playerName) name.clear();
    std::memset(game.constructionTemplate, 0, sizeof game.constructionTemplate);
    game.startOfTurnPending = false;
    game.startOfTurnReadings.clear();
    game.history = ColonyHistory{};
    game.tablesExist = true;
}

void releaseTables(GameState& game) {
    static_cast<PlayerTables&>(game) = PlayerTables{};
    for (auto& name : game.playerName) name.clear();
    game.startOfTurnPending = false;
    game.startOfTurnReadings.clear();
    game.history = ColonyHistory{};
    game.tablesExist = false;
}
