// guide-figures: the figures the player's guide quotes from the game's own
// tables and rules, one "NAME<TAB>TEXT" a line, for tools/guide-check.
// Each is worked out with the functions the game itself plays with, so a
// changed rule changes the figure and the guide's claim of it fails.
#include <cstdio>
#include <functional>
#include <string>

#include "game/setup.h"
#include "model/capacity.h"
#include "model/economy.h"
#include "model/state.h"
#include "model/trader.h"
#include "model/voyages.h"
#include "model/works.h"
#include "ui/windows.h"

namespace {

void put(const std::string& name, const std::string& text) { std::printf("%s\t%s\n", name.c_str(), text.c_str()); }
void put(const std::string& name, long long value) { put(name, std::to_string(value)); }

// "a / b / c" for the three build times, one figure when they agree.
std::string perMonths(const int32_t v[3]) {
    if (v[0] == v[1] && v[1] == v[2]) return std::to_string(v[0]);
    return std::to_string(v[0]) + " / " + std::to_string(v[1]) + " / " + std::to_string(v[2]);
}

// A row of the guide's cost tables: the goods, then money, power and workers.
std::string costRow(const WorkTemplate& t) {
    return std::to_string(t.goods3) + " | " + std::to_string(t.goods2) + " | " + std::to_string(t.goods1) + " | " +
           perMonths(t.money) + " | " + perMonths(t.power) + " | " + perMonths(t.workers1) + " | " +
           perMonths(t.workers2) + " | " + perMonths(t.workers3);
}

// How many of the draws 0 to n - 1 pass.
int count(int n, const std::function<bool(int)>& passes) {
    int k = 0;
    for (int d = 0; d < n; ++d) k += passes(d) ? 1 : 0;
    return k;
}

// The first value from `from` on that passes.
int firstFrom(int from, const std::function<bool(int)>& passes) {
    int v = from;
    while (!passes(v)) ++v;
    return v;
}

// A one-player colony as a new game starts it.
GameState startingColony() {
    GameState game;
    game.currentPlayer = 1;
    setStartingColony(game, 1);
    return game;
}

}  // namespace

int main() {
    const char* structures[5] = {"habitat", "depot", "factory", "starport", "laboratory"};
    for (int i = 0; i < 5; ++i) put(std::string("cost.") + structures[i], costRow(constructionTemplates[i]));
    const char* products[6] = {"tank", "cannon", "fighter", "bomber", "shuttle", "reactor"};
    for (int i = 0; i < 6; ++i) put(std::string("cost.") + products[i], costRow(orderTemplates[i]));

    // Points for levels 1 to 10: a new colony's first goal, then the table.
    GameState game = startingColony();
    const int fields[2] = {1, 7};
    const char* fieldNames[2] = {"research.common", "research.advanced"};
    for (int f = 0; f < 2; ++f) {
        std::string row = std::to_string(game.researchNeeded[1][fields[f]]);
        for (int level = 0; level < 9; ++level) row += " | " + std::to_string(researchThreshold(fields[f], level));
        put(fieldNames[f], row);
    }
    put("research.lab", labOutput(0));
    put("research.computing", labOutput(1) - labOutput(0));
    put("research.scientists", firstFrom(0, [](int w) { return labCanBeAdded(0, 1, w, 1000, 0, 0, 0); }));
    // Progress is kept in whole hundreds: the level of Computing from which one
    // lab (from an even count) gains more than one hundred a month.
    const int pays = firstFrom(0, [](int level) { return researchAfterMonth(0, 1, level) > 1; });
    put("research.computing-pays", pays);
    put("research.computing-pays-points", researchAfterMonth(0, 1, pays) * 100);

    const char* goods[10] = {"iron", "copper", "uranium", "food", "tank", "cannon", "fighter", "bomber", "shuttle",
                             "reactor"};
    for (int i = 0; i < 10; ++i)
        put(std::string("price.") + goods[i], std::to_string(priceRanges[i].base) + " to " +
                                                 std::to_string(priceRanges[i].base + priceRanges[i].range - 1));
    put("price.colonist", colonistPrice);
    put("trader.chance", count(100, [](int d) { return traderComes(d, 0); }));
    put("trader.chance-per-starport", count(100, [](int d) { return traderComes(d, 1); }) -
                                          count(100, [](int d) { return traderComes(d, 0); }));
    put("trader.size", "0 to " + std::to_string(traderSizeRange(0) - 1));

    // Expeditions: the part of the threshold each length adds, and the odds.
    for (int length = 1; length <= 3; ++length) {
        const std::string l = std::to_string(length);
        put("expedition.base." + l, count(200, [length](int r) { return expeditionSucceeds(r, length, 0, 0); }) - 1);
        put("expedition.losses." + l, count(100, [length](int r) { return lossesStrike(r, length); }));
        put("expedition.odds." + l,
            count(100, [length](int d) { return expeditionSucceeds(expeditionRoll(d, 3), length, 1, 1); }));
    }
    put("expedition.odds-aurora.3", count(100, [](int d) { return expeditionSucceeds(expeditionRoll(d, 1), 3, 1, 1); }));
    put("expedition.find-settler", expeditionFind(0, 1, 0, 0));
    put("expedition.find-scientist", expeditionFind(0, 0, 1, 0));

    // Missions: eight settlers from Kalypso, and the trouble on the way.
    put("mission.rate", std::to_string(lowestMissionRate) + " to " +
                            std::to_string(lowestMissionRate + missionRateRange - 1));
    put("mission.kalypso-eight", std::to_string(missionIncome(lowestMissionRate, 8, 3, 0, 0)) + " to " +
                                     std::to_string(missionIncome(lowestMissionRate + missionRateRange - 1, 8, 3, 0, 0)));
    put("mission.trouble", missionTroubleChance);
    put("mission.damage", "0 to " + std::to_string(missionDamageRange - 1));
    put("mission.damage-most", highestMissionDamage);

    // The starting colony, its room and its power.
    const int p = 1;
    put("start.money", game.money[p]);
    put("start.goods", game.goods1[p]);
    put("start.people", std::to_string(game.population1[p]) + " settlers, " + std::to_string(game.population2[p]) +
                            " engineers, " + std::to_string(game.population3[p]) + " scientists and " +
                            std::to_string(game.population4[p]) + " soldiers");
    put("room.habitat", housingCapacity(game));
    put("room.depot", storeCapacity(game));
    put("power.reactor", powerCapacity(game));
    game.techLevel[p][5] = 1;
    put("power.energy", powerCapacity(game) - 30);
    // One unit of uranium idles the colony from this power in use on.
    put("fuel.one-unit-idles", firstFrom(1, [](int power) { return monthFuel(power, 1).shortage; }));

    // Where each warning turns red in a store of one depot.
    const int32_t depot = storeCapacity(startingColony());
    put("store.bar-red", firstFrom(0, [depot](int s) { return fillPercent(s, depot) >= barWarningPercent; }));
    put("store.window-red", firstFrom(0, [depot](int s) { return storeNearlyFull(s, depot); }));
    return 0;
}
