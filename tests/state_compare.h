#pragma once
// Whole-state comparison for the saved-game tests and the fuzz target: every
// scalar, every per-player and research table, every name and every fixed
// table, so "left untouched" means exactly that.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

#include "model/state.h"

#define COLONIES_PLAYER_TABLES(X)                                                                                \
    X(playerActive) X(homeWorld) X(famineGrace) X(money) X(goods1) X(goods2) X(goods3) X(goods4) X(population1) \
    X(population2) X(population3) X(population4) X(workers1) X(workers2) X(workers3) X(workers4) X(deposit1)    \
    X(deposit2) X(deposit3) X(output1) X(output2) X(output3) X(housing) X(storehouses) X(workshops)             \
    X(structures4) X(labs) X(structures6) X(powerPlants) X(powerInUse) X(buildPower) X(orderPower)              \
    X(outputPower) X(otherPower) X(buildType) X(buildCount) X(buildMonths) X(buildWorkers1) X(buildWorkers2)    \
    X(buildWorkers3) X(orderType) X(orderCount) X(orderMonths) X(orderWorkers1) X(orderWorkers2)              \
    X(orderWorkers3) X(freeLabs) X(researchStaff) X(expeditionWorkers1) X(expeditionWorkers3)                  \
    X(expeditionMonths) X(expeditionLength) X(expeditionSent) X(expeditionProgress) X(missionWorkers)          \
    X(missionSent) X(missionMonths) X(missionPercent) X(units1) X(units2) X(units3) X(units4) X(units5)         \
    X(freeUnits1) X(freeUnits2) X(freeUnits3) X(freeUnits4) X(freeUnits5) X(raidTarget) X(raidUnits3)          \
    X(raidUnits4) X(forceTarget) X(forceWorkers4) X(forceUnits1) X(forceUnits2) X(forceUnits3) X(forceUnits5)  \
    X(spare1) X(spare2) X(spare3) X(spare4) X(spare5) X(spare6) X(spare7)

#define COLONIES_RESEARCH_TABLES(X) X(techLevel) X(labsAssigned) X(researchDone) X(researchNeeded)

namespace stateCompare {

#define COLONIES_COUNT_ONE(name) +1
constexpr int playerTableCount = 0 COLONIES_PLAYER_TABLES(COLONIES_COUNT_ONE);
constexpr int researchTableCount = 0 COLONIES_RESEARCH_TABLES(COLONIES_COUNT_ONE);
#undef COLONIES_COUNT_ONE
// A table added to the record but not to the lists above fails here.
static_assert(sizeof(PlayerTables) ==
                  playerTableCount * sizeof(PlayerTable) + researchTableCount * sizeof(ResearchTable),
              "every table of the game state must be listed for comparison");

template <typename T>
void compareArray(std::ostringstream& out, const char* name, const T* a, const T* b, int n) {
    for (int i = 0; i < n; ++i)
        if (!(a[i] == b[i])) out << name << '[' << i << "]: " << a[i] << " vs " << b[i] << '\n';
}

template <typename T>
void compareValue(std::ostringstream& out, const char* name, const T& a, const T& b) {
    if (!(a == b)) out << name << ": " << a << " vs " << b << '\n';
}

}  // namespace stateCompare

// Every difference between two game states, one per line; empty when equal.
inline std::string stateDifference(const GameState& a, const GameState& b) {
    using namespace stateCompare;
    std::ostringstream out;
#define COLONIES_COMPARE_TABLE(name) compareArray(out, #name, a.name, b.name, playerSlots);
    COLONIES_PLAYER_TABLES(COLONIES_COMPARE_TABLE)
#undef COLONIES_COMPARE_TABLE
#define COLONIES_COMPARE_RESEARCH(name) \
    for (int p = 0; p < playerSlots; ++p) compareArray(out, #name, a.name[p], b.name[p], researchFields);
    COLONIES_RESEARCH_TABLES(COLONIES_COMPARE_RESEARCH)
#undef COLONIES_COMPARE_RESEARCH
    compareValue(out, "year", a.year, b.year);
    compareValue(out, "month", a.month, b.month);
    compareValue(out, "playerCount", a.playerCount, b.playerCount);
    compareValue(out, "currentPlayer", a.currentPlayer, b.currentPlayer);
    compareValue(out, "selectedCommand", a.selectedCommand, b.selectedCommand);
    compareValue(out, "menuCursor", a.menuCursor, b.menuCursor);
    compareValue(out, "newGameFlag", a.newGameFlag, b.newGameFlag);
    compareValue(out, "fileName", a.fileName, b.fileName);
    compareValue(out, "traderPresent", a.traderPresent, b.traderPresent);
    compareValue(out, "traderSize", a.traderSize, b.traderSize);
    compareArray(out, "offerQuantity", a.offerQuantity, b.offerQuantity, offerSlots);
    compareArray(out, "offerPrice", a.offerPrice, b.offerPrice, offerSlots);
    compareValue(out, "storeFill", a.storeFill, b.storeFill);
    compareValue(out, "housingFill", a.housingFill, b.housingFill);
    compareValue(out, "bannerNameWidth", a.bannerNameWidth, b.bannerNameWidth);
    compareArray(out, "shortfallText", a.shortfallText, b.shortfallText, 9);
    compareArray(out, "fieldName", a.fieldName, b.fieldName, 10);
    for (int r = 0; r < 6; ++r) compareArray(out, "titleText", a.titleText[r], b.titleText[r], 3);
    compareArray(out, "shortfallFlag", a.shortfallFlag, b.shortfallFlag, 9);
    compareArray(out, "fieldLevelledUp", a.fieldLevelledUp, b.fieldLevelledUp, 10);
    for (int t = 0; t < 5; ++t)
        compareArray(out, "constructionTemplate", a.constructionTemplate[t], b.constructionTemplate[t], 4);
    compareValue(out, "tablesExist", a.tablesExist, b.tablesExist);
    compareArray(out, "playerName", a.playerName, b.playerName, playerSlots);
    compareValue(out, "startOfTurnPending", a.startOfTurnPending, b.startOfTurnPending);
    compareArray(out, "startOfTurnReadings", a.startOfTurnReadings.data(), b.startOfTurnReadings.data(),
                 static_cast<int>(std::min(a.startOfTurnReadings.size(), b.startOfTurnReadings.size())));
    compareValue(out, "startOfTurnReadings count", a.startOfTurnReadings.size(), b.startOfTurnReadings.size());
    compareValue(out, "history.firstMonth", a.history.firstMonth, b.history.firstMonth);
    compareValue(out, "history.step", a.history.step, b.history.step);
    compareValue(out, "history.players", a.history.players, b.history.players);
    if (a.history.values != b.history.values) out << "history.values differ\n";
    return out.str();
}

// Fills every entry of every table, slot 0 and unused slots included, with
// values that differ from each other and from zero (many negative), and the
// scalars likewise; the result is a game nobody could load, used as the state
// a refused load must leave alone.
inline void fillEveryEntry(GameState& game, int32_t seed) {
    int32_t next = seed;
    auto value = [&next] {
        next = next * 1103515245 + 12345;  // wraps; any distinct-looking run will do
        return next == 0 ? 1 : next;
    };
#define COLONIES_FILL_TABLE(name) \
    for (int p = 0; p < playerSlots; ++p) game.name[p] = value();
    COLONIES_PLAYER_TABLES(COLONIES_FILL_TABLE)
#undef COLONIES_FILL_TABLE
#define COLONIES_FILL_RESEARCH(name) \
    for (int p = 0; p < playerSlots; ++p)  \
        for (int k = 0; k < researchFields; ++k) game.name[p][k] = value();
    COLONIES_RESEARCH_TABLES(COLONIES_FILL_RESEARCH)
#undef COLONIES_FILL_RESEARCH
    game.year = value();
    game.month = value();
    game.playerCount = value();
    game.currentPlayer = value();
    game.selectedCommand = value();
    game.menuCursor = value();
    game.newGameFlag = value();
    game.fileName = "old";
    game.traderPresent = value();
    game.traderSize = value();
    for (int i = 0; i < offerSlots; ++i) {
        game.offerQuantity[i] = value();
        game.offerPrice[i] = value();
    }
    game.storeFill = value();
    game.housingFill = value();
    game.bannerNameWidth = value();
    game.tablesExist = true;
    for (int p = 0; p < playerSlots; ++p) game.playerName[p] = "old" + std::to_string(p);
    game.startOfTurnPending = true;
    game.startOfTurnReadings = {value(), value()};
}

// A game of `players` players whose every saved value is distinct (negative
// ones and the 32-bit extremes among them) while every value the saved game
// leaves out stays 0; the values that pick a table entry are kept in range.
inline GameState sampleGame(int players, int32_t seed = 7) {
    GameState game;
    dimensionTables(game);
    int32_t next = seed;
    auto value = [&next] {
        next = next * 1103515245 + 12345;
        return next == 0 ? 1 : next;
    };
#define COLONIES_FILL_TABLE(name) \
    for (int p = 1; p <= players; ++p) game.name[p] = value();
    COLONIES_PLAYER_TABLES(COLONIES_FILL_TABLE)
#undef COLONIES_FILL_TABLE
#define COLONIES_FILL_RESEARCH(name)     \
    for (int p = 1; p <= players; ++p)   \
        for (int k = 1; k < researchFields; ++k) game.name[p][k] = value();
    COLONIES_RESEARCH_TABLES(COLONIES_FILL_RESEARCH)
#undef COLONIES_FILL_RESEARCH
    game.year = 2090 + players;
    game.month = 1 + (seed & 0x7fffffff) % 12;
    game.playerCount = players;
    game.currentPlayer = players;
    game.traderPresent = 1;
    game.traderSize = value();
    for (int i = 1; i <= 15; ++i) {
        game.offerQuantity[i] = value();
        game.offerPrice[i] = value();
    }
    game.offerQuantity[1] = INT32_MIN;
    game.offerPrice[1] = INT32_MAX;
    game.money[1] = -1;
    game.goods4[players] = INT32_MIN;
    game.population1[players] = INT32_MAX;
    game.researchDone[1][1] = -100;
    for (int p = 1; p <= players; ++p) {
        game.structures6[p] = 0;  // not saved
        game.playerName[p] = "Gracz " + std::to_string(p);
        game.playerActive[p] = p == 2 ? 0 : 1;
        game.homeWorld[p] = 1 + p % 3;
        game.buildType[p] = p % 6;
        game.orderType[p] = (p + 3) % 7;
        game.raidTarget[p] = players - p;
        game.forceTarget[p] = p % (players + 1);
        for (int k = 1; k < researchFields; ++k) game.techLevel[p][k] = (p + k) % 11;
    }
    return game;
}
