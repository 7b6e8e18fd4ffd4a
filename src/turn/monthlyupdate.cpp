#include "turn/monthlyupdate.h"

#include <algorithm>
#include <string>

#include "model/capacity.h"
#include "model/economy.h"
#include "model/texttable.h"
#include "screen/screen.h"
#include "turn/storeallocation.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

// "<label> <amount> T" in colour 26 on the first inner row of a window at (9, 5).
void printFuelLine(int label, int32_t amount) {
    setColour(26);
    moveCursor(10, 6);
    printText(textLine(label), false);
    printNumber(amount, false);
    printText(textLine(316), true);
}

// The fuel and power shortages: the amount, then two warning lines.
void shortageWindow(int firstLine, int32_t amount) {
    drawFrame(5, 9, 20, 3);
    fillBlank(6, 10, 20, 3);
    printFuelLine(firstLine, amount);
    setColour(4);
    moveCursor(11, 6);
    printText(textLine(firstLine + 1), true);
    moveCursor(12, 6);
    printText(textLine(firstLine + 2), true);
    waitForSpaceOrEnter();
    clearWindow(5, 9, 20, 3);
}

void outputReport(int32_t powerInUse) {
    drawFrame(5, 9, 20, 1);
    fillBlank(6, 10, 20, 1);
    printFuelLine(280, fuelForPower(powerInUse));
    waitForSpaceOrEnter();
    clearWindow(5, 9, 20, 1);
}

// A one-line window in colour 10 at (row + 1, column + 1): a label and a name.
void deliveryWindow(int32_t column, int32_t row, int label, const std::string& name, int32_t extraWidth) {
    const int32_t width = static_cast<int32_t>(name.size()) + extraWidth;
    drawFrame(column, row, width, 1);
    fillBlank(column + 1, row + 1, width, 1);
    setColour(10);
    moveCursor(row + 1, column + 1);
    printText(textLine(label), false);
    printText(name, true);
    waitForSpaceOrEnter();
    clearWindow(column, row, width, 1);
}

void produce(GameState& game, int p, int64_t free) {
    // A negative output (only from an edited file) produces nothing.
    const int32_t o1 = std::max(game.output1[p], 0);
    const int32_t o2 = std::max(game.output2[p], 0);
    const int32_t o3 = std::max(game.output3[p], 0);
    if (free >= int64_t{o1} + o2 + o3) {
        game.goods1[p] += o1;
        game.goods2[p] += o2;
        game.goods3[p] += o3;
        outputReport(game.powerInUse[p]);
    } else {
        storeAllocation(game);
    }
}

// The workers of a finished task are free again.
void giveBackWorkers(GameState& game, int p, PlayerTable& tied1, PlayerTable& tied2, PlayerTable& tied3) {
    game.workers1[p] += tied1[p];
    game.workers2[p] += tied2[p];
    game.workers3[p] += tied3[p];
    tied1[p] = tied2[p] = tied3[p] = 0;
}

void deliverConstruction(GameState& game, int p) {
    const int32_t type = game.buildType[p];
    if (type < 1 || type > 5 || game.buildMonths[p] != 0) return;
    const int32_t count = game.buildCount[p];
    PlayerTable* const delivered[] = {&game.housing, &game.storehouses, &game.workshops, &game.structures4,
                                      &game.labs};
    (*delivered[type - 1])[p] += count;
    if (type == 5) game.freeLabs[p] += count;

    // The new structures draw one unit of power each from now on, so this
    // turn's free power is not overstated.
    game.powerInUse[p] += count - game.buildPower[p];
    game.buildPower[p] = game.buildCount[p] = game.buildType[p] = game.buildMonths[p] = 0;
    giveBackWorkers(game, p, game.buildWorkers1, game.buildWorkers2, game.buildWorkers3);

    deliveryWindow(5, 5, 301, textLine(295 + type), 18);
}

void deliverOrder(GameState& game, int p) {
    const int32_t type = game.orderType[p];
    if (type < 1 || type > 6 || game.orderMonths[p] != 0) return;
    const int32_t count = game.orderCount[p];
    PlayerTable* const units[] = {&game.units1, &game.units2, &game.units3, &game.units4, &game.units5};
    PlayerTable* const freeUnits[] = {&game.freeUnits1, &game.freeUnits2, &game.freeUnits3, &game.freeUnits4,
                                      &game.freeUnits5};
    if (type == 6) {
        game.powerPlants[p] += count;
    } else {
        (*units[type - 1])[p] += count;
        (*freeUnits[type - 1])[p] += count;
    }

    game.powerInUse[p] -= game.orderPower[p];
    game.orderPower[p] = game.orderCount[p] = game.orderType[p] = game.orderMonths[p] = 0;
    giveBackWorkers(game, p, game.orderWorkers1, game.orderWorkers2, game.orderWorkers3);

    deliveryWindow(7, 7, 302, textLine(129 + type), 21);
}

void advanceResearch(GameState& game, int p) {
    for (int k = 1; k <= 9; ++k) {
        game.researchDone[p][k] = researchAfterMonth(game.researchDone[p][k], game.labsAssigned[p][k],
                                                     game.techLevel[p][3]);
        game.fieldLevelledUp[k] = 0;
    }
    int32_t risen = 0;
    for (int k = 1; k <= 9; ++k) {
        const int32_t level = game.techLevel[p][k];
        if (level < 0 || level >= highestTechLevel) continue;
        if (!researchReached(game.researchDone[p][k], game.researchNeeded[p][k])) continue;
        game.researchNeeded[p][k] = researchThreshold(k, level);
        game.researchDone[p][k] = 0;
        game.techLevel[p][k] = level + 1;
        // The field's labs and their staff are free again.
        const int32_t labs = game.labsAssigned[p][k];
        game.freeLabs[p] += labs;
        game.workers3[p] += labs * 10;
        game.researchStaff[p] -= labs * 10;
        game.labsAssigned[p][k] = 0;
        game.fieldLevelledUp[k] = 1;
        ++risen;
    }
    if (risen == 0) return;

    drawFrame(14, 4, 23, risen + 2);
    fillBlank(15, 5, 23, risen + 2);
    setColour(10);
    moveCursor(5, 15);
    printText(textLine(303), true);
    moveCursor(6, 15);
    printText(textLine(risen == 1 ? 304 : 305), true);
    setColour(15);
    int row = 7;
    for (int k = 1; k <= 9; ++k) {
        if (game.fieldLevelledUp[k] != 1) continue;
        moveCursor(row++, 15);
        printText("- " + game.fieldName[k], true);
    }
    waitForSpaceOrEnter();
    clearWindow(14, 4, 23, risen + 2);
}

}  // namespace

void monthlyUpdate(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    // The room left in the store before any fuel is burnt.
    const int64_t free = freeRoom(game);
    game.powerInUse[p] = powerDemand(game);

    // Without the fuel nothing moves this month, not even the countdowns.
    const MonthFuel fuel = monthFuel(game.powerInUse[p], game.goods1[p]);
    if (fuel.shortage) {
        shortageWindow(293, fuel.burnt);
        return;
    }

    if (game.orderMonths[p] >= 1) --game.orderMonths[p];
    if (game.buildMonths[p] >= 1) --game.buildMonths[p];
    game.goods1[p] -= fuel.burnt;
    if (fuel.minimumUnit) game.powerInUse[p] = powerPerFuel;

    // Short of power the fuel is burnt and the countdowns have moved, but
    // nothing is made, delivered or researched.
    if (game.powerInUse[p] > powerCapacity(game)) {
        shortageWindow(281, fuelForPower(game.powerInUse[p]));
        return;
    }

    produce(game, p, free);
    deliverConstruction(game, p);
    deliverOrder(game, p);
    advanceResearch(game, p);
}
