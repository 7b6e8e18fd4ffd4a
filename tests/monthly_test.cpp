#include <string>

#include "game/flow.h"
#include "model/options.h"
#include "model/savegame.h"
#include "turn/monthlyupdate.h"
#include "turn/storeallocation.h"
#include "turn_fixture.h"

namespace {

class MonthlyTest : public TurnTest {
protected:
    void SetUp() override {
        TurnTest::SetUp();
        players({"Ala"});
    }
    // Runs one month with more closing keys than any month has windows.
    void runMonth() {
        keys("Space Space Space Space Space Space Space Space");
        monthlyUpdate(game);
    }
};

TEST_F(MonthlyTest, StoreAllocationKeys) {
    const struct {
        const char* name;
        int32_t goods[4];  // capacity 500
        int32_t output1;
        const char* script;
        int32_t wantGoods1;
        const char* wantPending;  // row 1 of the pending column
    } cases[] = {
        {"free 0: Left does nothing", {125, 125, 125, 125}, 10, "Left", 125, " 10 "},
        {"free 150, 30 pending: 4 moves 30", {50, 100, 100, 100}, 30, "4", 80, " 0  "},
        {"free 99: 4 does nothing even for 5", {101, 100, 100, 100}, 5, "4", 101, " 5  "},
        {"free 99: Left keeps one", {101, 100, 100, 100}, 5, "Left", 102, " 4  "},
        {"free 100: 4 moves a whole hundred", {100, 100, 100, 100}, 150, "4", 200, " 50 "},
        {"100 pending to 99 leaves no stale digit", {100, 0, 0, 0}, 100, "Left", 101, " 99 "},
        {"Right gives up stock", {7, 0, 0, 0}, 0, "Right Right", 5, " 2  "},
        {"6 gives up all of less than 100", {40, 0, 0, 0}, 0, "6", 0, " 40 "},
        {"an overfull store keeps nothing", {500, 100, 0, 0}, 10, "Left 4", 500, " 10 "},
        {"a negative output is nothing pending", {0, 0, 0, 0}, -20, "Left", 0, " 0  "},
    };
    for (const auto& c : cases) {
        game.goods1[1] = c.goods[0];
        game.goods2[1] = c.goods[1];
        game.goods3[1] = c.goods[2];
        game.goods4[1] = c.goods[3];
        game.output1[1] = c.output1;
        keys(c.script);
        EXPECT_THROW(storeAllocation(game), OutOfKeys) << c.name;
        EXPECT_EQ(game.goods1[1], c.wantGoods1) << c.name;
        EXPECT_EQ(textAt(16, 25, 4), c.wantPending) << c.name;
        EXPECT_EQ(game.output1[1], c.output1) << c.name << ": the output itself is not changed";
    }
    // The mark stops at the third row, and Up at the first.
    game.goods1[1] = game.goods2[1] = game.goods3[1] = game.goods4[1] = 0;
    game.output3[1] = 5;
    keys("Up Down Down Down Down Left");
    EXPECT_THROW(storeAllocation(game), OutOfKeys);
    EXPECT_EQ(game.goods3[1], 1);
    EXPECT_EQ(readCell(18, 6).character, 175);
    EXPECT_EQ(readCell(19, 6).character, ' ');
}

TEST_F(MonthlyTest, ProductionFitsOrOpensTheAllocationScreen) {
    const struct {
        const char* name;
        int32_t output1, output2;
        int32_t wantGoods1, wantGoods2;
        int wantWidth;  // of the window the month stops at
    } cases[] = {
        // Goods 25 each: 400 free before the one unit of fuel burns.
        {"free room equal to the output", 300, 100, 324, 125, 20},
        {"one unit more than the room", 301, 100, 24, 25, 30},
        {"a negative output takes nothing away", -50, 10, 24, 35, 20},
    };
    for (const auto& c : cases) {
        game.goods1[1] = game.goods2[1] = 25;
        game.output1[1] = c.output1;
        game.output2[1] = c.output2;
        keys("");
        EXPECT_THROW(monthlyUpdate(game), OutOfKeys) << c.name;
        EXPECT_EQ(frameRightCorner(9, 5), 5 + c.wantWidth + 1) << c.name;
        EXPECT_EQ(game.goods1[1], c.wantGoods1) << c.name;
        EXPECT_EQ(game.goods2[1], c.wantGoods2) << c.name;
    }
}

TEST_F(MonthlyTest, FuelShortageMovesNothing) {
    const struct {
        const char* name;
        int32_t goods1, otherPower;
    } cases[] = {
        {"no fuel for the minimum unit", 0, 0},
        {"7 power on 1 unit", 1, 5},
        {"a negative demand still needs a unit", 0, -100},
    };
    for (const auto& c : cases) {
        game.goods1[1] = c.goods1;
        game.otherPower[1] = c.otherPower;
        game.buildType[1] = 1;
        game.buildMonths[1] = 2;
        runMonth();
        EXPECT_EQ(game.goods1[1], c.goods1) << c.name;
        EXPECT_EQ(game.buildMonths[1], 2) << c.name;
    }
    game.goods1[1] = 5;
    runMonth();
    EXPECT_EQ(game.goods1[1], 4) << "a negative demand burns the minimum unit and no more";
    EXPECT_EQ(game.powerInUse[1], 6);

    // One power plant gives 30; the two structures of a new colony draw 2.
    const struct {
        const char* name;
        int32_t otherPower;
        const char* keys;
        int32_t wantGoods1, wantHousing;
        int frameRow, frameWidth;  // the window the month stops at, at column 5
    } power[] = {
        {"power use equal to the capacity is enough", 28, "Space", 25 - 5 + 10, 2, 5, 18},  // the delivery
        {"one unit of power more is a shortage", 29, "", 25 - 5, 1, 9, 20},
    };
    for (const auto& c : power) {
        game.goods1[1] = 25;
        game.otherPower[1] = c.otherPower;
        game.output1[1] = 10;
        game.housing[1] = 1;
        game.buildType[1] = game.buildCount[1] = game.buildMonths[1] = 1;
        keys(c.keys);  // the output report closes
        EXPECT_THROW(monthlyUpdate(game), OutOfKeys) << c.name;
        EXPECT_EQ(game.goods1[1], c.wantGoods1) << c.name;
        EXPECT_EQ(game.buildMonths[1], 0) << c.name << ": the countdown moves either way";
        EXPECT_EQ(game.housing[1], c.wantHousing) << c.name;
        EXPECT_EQ(frameRightCorner(c.frameRow, 5), 5 + c.frameWidth + 1) << c.name;
    }
}

TEST_F(MonthlyTest, TwoFieldsRisingShareOneWindow) {
    game.researchDone[1][2] = 10;
    game.researchDone[1][8] = 20;
    keys("");
    EXPECT_THROW(monthlyUpdate(game), OutOfKeys);  // at the output report
    keys("Space");
    EXPECT_THROW(monthlyUpdate(game), OutOfKeys);
    EXPECT_EQ(readCell(4 + 4 + 1, 14).character, 200) << "height 4: title, plural line, two fields";
    EXPECT_EQ(game.techLevel[1][2], 1);
    EXPECT_EQ(game.techLevel[1][8], 1);
    EXPECT_EQ(game.researchNeeded[1][8], 3500);

    // The next month one other field rises, the last, by its lab: only it is listed.
    game.fieldName[9] = "Piaty";
    game.researchDone[1][9] = 19;
    game.labsAssigned[1][9] = 1;
    keys("Space");
    EXPECT_THROW(monthlyUpdate(game), OutOfKeys);
    EXPECT_EQ(readCell(4 + 3 + 1, 14).character, 200) << "height 3: title, singular line, one field";
    EXPECT_EQ(textAt(7, 15, 8), "- Piaty ");
}

// A computer seat keeps fuel first, up to its share of the store, then goods2
// as far as the room beside the food's own allows.
TEST_F(MonthlyTest, ComputerSeatKeepsFuelFirst) {
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/pl.ini");  // the computer reads the real window
    game.seatLevel[1] = seatHard;
    game.storehouses[1] = 2;  // 1000, of which 300 is room for food
    game.goods1[1] = game.goods2[1] = game.goods4[1] = 0;
    game.goods3[1] = 360;
    game.output1[1] = game.output2[1] = game.output3[1] = 400;
    forgetComputerPlans();
    useKeysOfSeat(game, 1, SeatTask::turn);
    storeAllocation(game);
    useKeyboard();
    EXPECT_EQ(game.goods1[1], 230) << "two hundreds and 30";
    EXPECT_EQ(game.goods2[1], 110) << "the room left";
    EXPECT_EQ(game.goods3[1], 360);
}

TEST_F(MonthlyTest, EveryoneIsAccountedForAfterEveryMonth) {
    for (const char* name : {"overflow", "delivery", "levelup", "nofuel", "nopower"}) {
        const std::string path = std::string(COLONIES_TEST_DIR) + "/replay/fixtures/economy/" + name + ".dat";
        ASSERT_TRUE(readSavedGame(game, path)) << path;
        for (int month = 1; month <= 30; ++month) {
            runMonth();
            expectEverythingAccountedFor(game, std::string(name) + ", month " + std::to_string(month));
        }
    }
}

}  // namespace
