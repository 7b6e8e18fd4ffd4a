#include <string>

#include "commands/operations.h"
#include "commands/reports.h"
#include "model/operations.h"
#include "turn_fixture.h"
#include "ui/windows.h"

namespace {

// Group 4 and every product kind are all accounted for.
void expectForcesAccountedFor(const GameState& g, const std::string& where) {
    const int p = g.currentPlayer;
    EXPECT_EQ(g.population4[p], g.workers4[p] + g.raidUnits3[p] + 2 * g.raidUnits4[p] + g.forceWorkers4[p]) << where;
    EXPECT_EQ(g.units1[p], g.freeUnits1[p] + g.forceUnits1[p]) << where;
    EXPECT_EQ(g.units2[p], g.freeUnits2[p] + g.forceUnits2[p]) << where;
    EXPECT_EQ(g.units3[p], g.freeUnits3[p] + g.raidUnits3[p] + g.forceUnits3[p]) << where;
    EXPECT_EQ(g.units4[p], g.freeUnits4[p] + g.raidUnits4[p]) << where;
    EXPECT_EQ(g.units5[p], g.freeUnits5[p] + g.forceUnits5[p]) << where;
}

class OperationsTest : public TurnTest {
protected:
    void SetUp() override {
        TurnTest::SetUp();
        players({"Ala", "Bob", "Cyryl", "Dora", "Ewa"});
        game.currentPlayer = 3;
    }
    void forces(int32_t persons, int32_t kind3, int32_t kind4, int32_t kind5, int32_t money) {
        const int p = game.currentPlayer;
        game.population4[p] = game.workers4[p] = persons;
        game.units3[p] = game.freeUnits3[p] = kind3;
        game.units4[p] = game.freeUnits4[p] = kind4;
        game.units5[p] = game.freeUnits5[p] = kind5;
        game.money[p] = money;
    }
};

TEST_F(OperationsTest, RaidCommitsCrewAndCost) {
    forces(5, 3, 2, 0, 1000);
    int64_t pending = 0;
    EXPECT_TRUE(commitUnits(game, raidRows[0], 1, pending));
    EXPECT_TRUE(commitUnits(game, raidRows[0], 1, pending));
    EXPECT_TRUE(commitUnits(game, raidRows[1], 1, pending));
    EXPECT_EQ(pending, 200);
    EXPECT_EQ(game.workers4[3], 1);
    EXPECT_FALSE(commitUnits(game, raidRows[1], 1, pending)) << "a kind-4 unit needs two persons";
    EXPECT_TRUE(commitUnits(game, raidRows[0], 1, pending)) << "a kind-3 unit needs one";
    EXPECT_EQ(pending, 250);
    expectForcesAccountedFor(game, "raid of 3 and 1");
    EXPECT_FALSE(commitUnits(game, raidRows[0], 10, pending));
    EXPECT_FALSE(releaseUnits(game, raidRows[0], 10, pending));

    cancelRaid(game, pending);
    EXPECT_EQ(pending, 0);
    EXPECT_EQ(game.workers4[3], 5);
    EXPECT_EQ(game.freeUnits3[3], 3);
    EXPECT_EQ(game.freeUnits4[3], 2);
    EXPECT_EQ(game.money[3], 1000);

    game.money[3] = 120;
    pending = 100;
    EXPECT_FALSE(commitUnits(game, raidRows[0], 1, pending)) << "100 + 50 is more than 120";
    game.money[3] = 150;
    EXPECT_TRUE(commitUnits(game, raidRows[0], 1, pending)) << "100 + 50 is just enough";
    game.money[3] = 100000;
    EXPECT_TRUE(commitUnits(game, raidRows[0], 2, pending)) << "the last two of kind 3";
    EXPECT_FALSE(commitUnits(game, raidRows[0], 1, pending)) << "none of kind 3 is left";
    cancelRaid(game, pending);
    game.money[3] = INT32_MAX;
    pending = INT32_MAX - 10;
    EXPECT_FALSE(commitUnits(game, raidRows[0], 1, pending)) << "compared in 64 bits";
    cancelRaid(game, pending);
    EXPECT_FALSE(raidCanBeConfirmed(game)) << "nobody committed";
    game.money[3] = 1000;
    ASSERT_TRUE(commitUnits(game, raidRows[1], 1, pending));
    EXPECT_TRUE(raidCanBeConfirmed(game)) << "kind 4 alone makes a raid";
}

TEST_F(OperationsTest, ForceRoom) {
    forces(100, 4, 0, 2, 100000);
    game.techLevel[3][6] = 2;
    int64_t pending = 0;
    const OperationRow& persons = forceRows[0];
    const OperationRow& carriers = forceRows[forceCarrierRow];
    EXPECT_FALSE(commitUnits(game, persons, 1, pending)) << "no carrier, no room";
    EXPECT_TRUE(commitUnits(game, carriers, 1, pending));
    EXPECT_TRUE(commitUnits(game, carriers, 1, pending));
    EXPECT_EQ(forceRoomLeft(game), 240);
    for (int i = 0; i < 90; ++i) ASSERT_TRUE(commitUnits(game, persons, 1, pending));
    EXPECT_EQ(forceRoomLeft(game), 150);
    EXPECT_TRUE(releaseUnits(game, carriers, 1, pending, true)) << "150 is at least 100";
    EXPECT_EQ(forceRoomLeft(game), 30);
    EXPECT_FALSE(releaseUnits(game, carriers, 1, pending, true)) << "30 is not";
    EXPECT_EQ(pending, 50 + 90 * 10);
    expectForcesAccountedFor(game, "force of 90 and one carrier");

    cancelForce(game, pending);
    game.forceTarget[3] = 1;
    EXPECT_TRUE(commitUnits(game, carriers, 1, pending));
    EXPECT_TRUE(commitUnits(game, forceRows[3], 2, pending));  // kind 3 takes no room
    EXPECT_FALSE(forceCanBeConfirmed(game)) << "carriers and kind 3 alone";
    EXPECT_TRUE(commitUnits(game, persons, 1, pending));
    EXPECT_TRUE(forceCanBeConfirmed(game));
    game.units1[3] = game.freeUnits1[3] = game.units2[3] = game.freeUnits2[3] = 1;
    ASSERT_TRUE(commitUnits(game, forceRows[1], 1, pending));
    ASSERT_TRUE(commitUnits(game, forceRows[2], 1, pending));
    EXPECT_EQ(forceRoomLeft(game), 120 - 1 - 10 - 15) << "a kind-1 unit takes 10 places, a kind-2 unit 15";

    // Exactly at the room: the last person fits, a carrier leaves with exactly 100 free.
    cancelForce(game, pending);
    forces(200, 0, 0, 2, 100000);
    game.techLevel[3][6] = 0;
    ASSERT_TRUE(commitUnits(game, carriers, 1, pending));
    for (int i = 0; i < 99; ++i) ASSERT_TRUE(commitUnits(game, persons, 1, pending)) << i;
    EXPECT_TRUE(commitUnits(game, persons, 1, pending)) << "the last unit of room";
    EXPECT_FALSE(commitUnits(game, persons, 1, pending)) << "no room left";
    ASSERT_TRUE(commitUnits(game, carriers, 1, pending));
    EXPECT_TRUE(releaseUnits(game, carriers, 1, pending, true)) << "100 free is enough to leave";
    EXPECT_FALSE(releaseUnits(game, carriers, 1, pending, true)) << "0 free is not";
    expectForcesAccountedFor(game, "a full force");
}

TEST_F(OperationsTest, TargetListAndOneself) {
    forces(15, 13, 2, 0, 1000);
    keys("Enter Down Down Down Down Down");
    EXPECT_THROW(operations(game), OutOfKeys);
    const char* names[5] = {"Ala", "Bob", "Cyryl", "Dora", "Ewa"};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(textAt(13 + k, 11, 3), std::string(names[k - 1]).substr(0, 3));
    EXPECT_EQ(readCell(18, 10).character, 175) << "Down stops at the last player";

    keys("Enter Down Down Down Enter Space");  // player 3 chooses player 3
    operations(game);
    EXPECT_EQ(game.raidTarget[3], 0);

    keys("Enter Down Enter Right 6 4 Space Space");  // a raid on Ala: 4 takes back the ten of 6
    operations(game);
    EXPECT_EQ(game.raidTarget[3], 1);
    EXPECT_EQ(game.money[3], 950);
    keys("Enter");  // a second raid is refused with a message
    EXPECT_THROW(operations(game), OutOfKeys);
    EXPECT_EQ(frameRightCorner(7, 10), 10 + 21 + 1);
    expectForcesAccountedFor(game, "after the raid");
}

TEST_F(OperationsTest, ForceLeftWithEscGivesEverythingBack) {
    forces(20, 3, 0, 2, 5000);
    keys("Down Enter Down Enter Down Down Down Down Right Up Up Up Up Right Right Esc");
    operations(game);
    EXPECT_EQ(game.forceTarget[3], 0);
    EXPECT_EQ(game.money[3], 5000);
    EXPECT_EQ(game.workers4[3], 20);
    EXPECT_EQ(game.freeUnits5[3], 2);
    expectForcesAccountedFor(game, "cancelled force");

    // Space on the carriers' row confirms it: a carrier and a person paid for.
    keys("Down Enter Down Enter Down Down Down Down Right Up Up Up Up Right Down Down Down Down Space Space");
    operations(game);
    EXPECT_EQ(game.forceTarget[3], 1);
    EXPECT_EQ(game.money[3], 5000 - 50 - 10);
}

TEST(Layout, AutoSizedWidths) {
    EXPECT_EQ(autoSizedWidth(13, {989}, 99), 13);
    EXPECT_EQ(autoSizedWidth(13, {990}, 99), 13) << "equal adds nothing";
    EXPECT_EQ(autoSizedWidth(13, {991}, 99), 14);
    EXPECT_EQ(autoSizedWidth(13, {99001}, 99), 16);
    EXPECT_EQ(autoSizedWidth(19, {500}, 999), 19);
    EXPECT_EQ(autoSizedWidth(19, {10000}, 999), 20);
    EXPECT_EQ(autoSizedWidth(15, {25, 1000, 25, 25}, 99), 16) << "any value widens";
    EXPECT_EQ(autoSizedWidth(13, {INT32_MAX}, 99), 20) << "near 2^31 the scan still ends";
    EXPECT_EQ(centredColumn(13, 6, 35), 38) << "3.5 + 35 to the even 38";
}

TEST_F(OperationsTest, ReportWarnings) {
    game.currentPlayer = 1;

    const struct {
        int32_t goods4, storehouses;
        int64_t colour;
    } stores[] = {{350, 1, 4}, {349, 1, 26}, {0, 0, 4}};  // 425 and 424 of 500; no storehouse
    for (const auto& s : stores) {
        game.goods4[1] = s.goods4;
        game.storehouses[1] = s.storehouses;
        keys("");
        EXPECT_THROW(warehouseReport(game), OutOfKeys);
        EXPECT_EQ(colourAt(17, 43), s.colour) << s.goods4 << " food, " << s.storehouses << " storehouses";
    }

    const struct {
        int32_t population1;
        int64_t colour;
    } housing[] = {{39, 4}, {38, 2}};  // free 5 and 6 of 50
    for (const auto& h : housing) {
        game.population1[1] = h.population1;
        keys("");
        EXPECT_THROW(populationReport(game), OutOfKeys);
        EXPECT_EQ(colourAt(18, 23), h.colour) << h.population1;
    }

    const struct {
        int32_t inUse;
        const char* fuel;
        int64_t colour;
    } power[] = {{15, " 2", 27}, {21, " 4", 27}, {27, " 4", 27}, {3, " 0", 27}, {30, " 5", 4}, {29, " 5", 27}};
    for (const auto& w : power) {
        game.powerInUse[1] = w.inUse;
        keys("");
        EXPECT_THROW(powerOverview(game), OutOfKeys);
        const int column = 36 + static_cast<int>(textLine(68).size());
        EXPECT_EQ(textAt(20, column, 2), w.fuel) << w.inUse;
        EXPECT_EQ(colourAt(18, 44), w.colour) << w.inUse;
    }

    // Each report is one column wider as soon as a value is past its limit.
    const struct {
        void (*report)(GameState&);
        int row, left;
        PlayerTable PlayerTables::*table;
        int32_t value, width;
    } widths[] = {
        {holdingsReport, 8, 11, &PlayerTables::storehouses, 19, 19},  // 9500 of store
        {holdingsReport, 8, 11, &PlayerTables::storehouses, 20, 20},  // 10000
        {warehouseReport, 10, 40, &PlayerTables::goods1, 990, 15},
        {warehouseReport, 10, 40, &PlayerTables::goods1, 991, 16},
        {populationReport, 4, 20, &PlayerTables::population1, 990, 18},
        {populationReport, 4, 20, &PlayerTables::population1, 991, 19},
        {powerOverview, 14, 34, &PlayerTables::powerPlants, 33, 13},  // 990 of power
        {powerOverview, 14, 34, &PlayerTables::powerPlants, 34, 14},  // 1020
    };
    for (const auto& w : widths) {
        GameState g = game;
        (g.*w.table)[1] = w.value;
        clearScreen();
        keys("");
        EXPECT_THROW(w.report(g), OutOfKeys);
        EXPECT_EQ(frameRightCorner(w.row, w.left), w.left + w.width + 1) << w.row << ", " << w.value;
    }
}

}  // namespace
