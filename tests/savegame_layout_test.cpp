// The saved-game layout pinned value by value: a golden file in which the
// values differ, read through a layout written out here on its own, so that
// a swap made in both the writer and the reader still shows.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/savegame.h"

namespace {

using Table = PlayerTable PlayerTables::*;

// The lines of a player after the name, then four research tables a field.
const char* const playerLayout[] = {
    "playerActive homeWorld spare1",
    "money goods4 goods3 goods2 goods1",
    "deposit3 deposit2 deposit1",
    "output3 output2 output1",
    "population1 population2 population3 population4",
    "missionWorkers missionSent missionMonths missionPercent famineGrace",
    "expeditionWorkers1 expeditionWorkers3 expeditionMonths expeditionLength expeditionProgress expeditionSent",
    "workers1 workers2 workers3 workers4",
    "buildWorkers1 buildWorkers2 buildWorkers3 buildCount buildMonths buildType",
    "orderWorkers1 orderWorkers2 orderWorkers3 orderCount orderMonths orderType",
    "housing storehouses workshops structures4 labs",
    "units1 units2 units3 units4 units5",
    "freeUnits1 freeUnits2 freeUnits3 freeUnits4 freeUnits5",
    "spare2 spare3 spare4 spare5 spare6 spare7",
    "raidTarget raidUnits3 raidUnits4",
    "forceTarget forceWorkers4 forceUnits1 forceUnits2 forceUnits3 forceUnits5",
    "powerPlants powerInUse buildPower orderPower outputPower otherPower",
    "researchStaff freeLabs",
};

const std::map<std::string, Table>& tablesByName() {
#define T(name) {#name, &PlayerTables::name}
    static const std::map<std::string, Table> tables = {
        T(playerActive), T(homeWorld), T(spare1), T(money), T(goods1), T(goods2), T(goods3), T(goods4),
        T(deposit1), T(deposit2), T(deposit3), T(output1), T(output2), T(output3), T(population1),
        T(population2), T(population3), T(population4), T(missionWorkers), T(missionSent), T(missionMonths),
        T(missionPercent), T(famineGrace), T(expeditionWorkers1), T(expeditionWorkers3), T(expeditionMonths),
        T(expeditionLength), T(expeditionProgress), T(expeditionSent), T(workers1), T(workers2), T(workers3),
        T(workers4), T(buildWorkers1), T(buildWorkers2), T(buildWorkers3), T(buildCount), T(buildMonths),
        T(buildType), T(orderWorkers1), T(orderWorkers2), T(orderWorkers3), T(orderCount), T(orderMonths),
        T(orderType), T(housing), T(storehouses), T(workshops), T(structures4), T(labs), T(units1), T(units2),
        T(units3), T(units4), T(units5), T(freeUnits1), T(freeUnits2), T(freeUnits3), T(freeUnits4),
        T(freeUnits5), T(spare2), T(spare3), T(spare4), T(spare5), T(spare6), T(spare7), T(raidTarget),
        T(raidUnits3), T(raidUnits4), T(forceTarget), T(forceWorkers4), T(forceUnits1), T(forceUnits2),
        T(forceUnits3), T(forceUnits5), T(powerPlants), T(powerInUse), T(buildPower), T(orderPower),
        T(outputPower), T(otherPower), T(researchStaff), T(freeLabs),
    };
#undef T
    return tables;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

TEST(SavedGameLayout, EveryValueLandsWhereTheLayoutSays) {
    const std::string path = std::string(COLONIES_TEST_DIR) + "/golden/every-value.dat";
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::istringstream split(bytes);
    for (std::string l; std::getline(split, l);) lines.push_back(l.substr(0, l.find('\r')));
    ASSERT_EQ(lines.size(), 17u + 2 * 28);

    GameState game;
    ASSERT_TRUE(readSavedGame(game, path));
    EXPECT_EQ(words(lines[0]), (std::vector<std::string>{"2091", "7", "2", "2"}));
    EXPECT_EQ(game.year, 2091);
    EXPECT_EQ(game.month, 7);
    EXPECT_EQ(game.currentPlayer, 2);
    EXPECT_EQ(game.traderPresent, 1);
    EXPECT_EQ(game.traderSize, -17);
    for (int i = 1; i <= 15; ++i) {
        EXPECT_EQ(std::to_string(game.offerQuantity[i]), words(lines[1 + i])[0]) << "offer " << i;
        EXPECT_EQ(std::to_string(game.offerPrice[i]), words(lines[1 + i])[1]) << "offer " << i;
    }
    const char* const research[4] = {"techLevel", "labsAssigned", "researchDone", "researchNeeded"};
    const ResearchTable PlayerTables::* const researchTables[4] = {
        &PlayerTables::techLevel, &PlayerTables::labsAssigned, &PlayerTables::researchDone,
        &PlayerTables::researchNeeded};
    for (int p = 1; p <= 2; ++p) {
        const size_t first = 17 + (p - 1) * 28;
        EXPECT_EQ(game.playerName[p], p == 1 ? "Ala, the first" : "Olek");
        for (size_t l = 0; l < std::size(playerLayout); ++l) {
            const auto names = words(playerLayout[l]);
            const auto values = words(lines[first + 1 + l]);
            ASSERT_EQ(names.size(), values.size()) << "player " << p << ", line " << l;
            for (size_t c = 0; c < names.size(); ++c)
                EXPECT_EQ(std::to_string((game.*tablesByName().at(names[c]))[p]), values[c])
                    << "player " << p << ", " << names[c];
        }
        for (int k = 1; k <= 9; ++k) {
            const auto values = words(lines[first + 19 + k - 1]);
            for (int t = 0; t < 4; ++t)
                EXPECT_EQ(std::to_string((game.*researchTables[t])[p][k]), values[t])
                    << "player " << p << ", " << research[t] << " of field " << k;
        }
    }

    std::string written;
    ASSERT_TRUE(savedGameText(game, written));
    EXPECT_EQ(written, bytes) << "written back, the same bytes";
}

}  // namespace
