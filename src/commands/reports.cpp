#include "commands/reports.h"

#include <string>

#include "model/capacity.h"
#include "model/economy.h"
#include "model/rounding.h"
#include "model/texttable.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

// A label at (row, column) and its value at `valueColumn`, in one colour.
void printLabelled(int32_t row, int32_t column, int32_t valueColumn, uint32_t colour, int line, int32_t value) {
    setColour(colour);
    moveCursor(row, column);
    printText(textLine(line), true);
    moveCursor(row, valueColumn);
    printNumber(value, true);
}

// A label with its value right after it.
void printLabelThenValue(int32_t row, int32_t column, int line, int64_t value) {
    moveCursor(row, column);
    printText(textLine(line), false);
    printNumber(nearestInt32(value), true);
}

}  // namespace

void holdingsReport(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t w = autoSizedWidth(19, {storeCapacity(game)}, 999);
    drawFrame(11, 8, w, 8);
    fillBlank(12, 9, w, 8);
    printCentredTitle(9, w, 12, 110);
    const double capacities[2] = {static_cast<double>(housingCapacity(game)), static_cast<double>(storeCapacity(game))};
    const int32_t counts[4] = {game.workshops[p], game.structures4[p], game.labs[p], game.structures6[p]};
    for (int i = 111; i <= 116; ++i) {
        setColour(139 - i);
        moveCursor(i - 100, 13);
        printText(textLine(i), true);
        moveCursor(i - 100, 25);
        if (i <= 112) {
            printReal(capacities[i - 111], true);
        } else {
            printNumber(counts[i - 113], true);
        }
    }
    waitForConfirm();
    clearWindow(11, 8, w, 8);
}

void warehouseReport(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t goods[4] = {game.goods1[p], game.goods2[p], game.goods3[p], game.goods4[p]};
    const int32_t w = autoSizedWidth(15, {goods[0], goods[1], goods[2], goods[3]}, 99);
    drawFrame(40, 10, w, 7);
    fillBlank(41, 11, w, 7);
    printCentredTitle(11, w, 41, 69);
    for (int i = 0; i < 4; ++i) printLabelled(13 + i, 42, 51, 27 - i, 70 + i, goods[i]);

    const int64_t capacity = storeCapacity(game);
    const int64_t stored = int64_t{goods[0]} + goods[1] + goods[2] + goods[3];
    const bool nearlyFull = storeNearlyFull(stored, capacity);
    setColour(nearlyFull ? 4 : 26);
    printLabelThenValue(17, 42, 74, capacity - stored);
    waitForConfirm();
    clearWindow(40, 10, w, 7);
}

void populationReport(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t people[4] = {game.population1[p], game.population2[p], game.population3[p], game.population4[p]};
    const int32_t workers[3] = {game.workers1[p], game.workers2[p], game.workers3[p]};
    const int32_t w = autoSizedWidth(18, {people[0], people[1], people[2], people[3]}, 99);
    drawFrame(20, 4, w, 15);
    fillBlank(21, 5, w, 15);
    printCentredTitle(5, w, 21, 53);

    const uint32_t groupColours[4] = {26, 25, 24, 24};
    setColour(29);
    moveCursor(7, 22);
    printText(textLine(54), true);
    for (int i = 0; i < 4; ++i) printLabelled(8 + i, 22, 34, groupColours[i], 55 + i, people[i]);
    setColour(29);
    moveCursor(13, 22);
    printText(textLine(59), true);
    for (int i = 0; i < 3; ++i) printLabelled(14 + i, 22, 34, 26 - i, 60 + i, workers[i]);

    const int64_t housed = int64_t{people[0]} + people[1] + people[2] + people[3];
    const int64_t capacity = housingCapacity(game);
    const int64_t free = capacity - housed;
    // Warned from a tenth of the capacity down.
    setColour(free * 10 <= capacity ? 4 : 2);
    printLabelThenValue(18, 22, 63, free);
    setColour(4);
    moveCursor(19, 22);
    printText(textLine(64), false);
    printNumber(roundToInt(housed * 0.2), false);
    printText("T", true);
    waitForConfirm();
    clearWindow(20, 4, w, 15);
}

void powerOverview(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t capacity = powerCapacity(game);
    const int32_t inUse = game.powerInUse[p];
    const int32_t w = autoSizedWidth(13, {capacity}, 99);
    drawFrame(34, 14, w, 6);
    fillBlank(35, 15, w, 6);
    printCentredTitle(15, w, 35, 65);
    setColour(27);
    moveCursor(17, 36);
    printText(textLine(66), true);
    moveCursor(17, 43);
    printNumber(capacity, true);

    setColour(inUse >= capacity ? 4 : 27);
    printLabelThenValue(18, 36, 67, inUse);
    // Printed once more in the value column, over the label's end.
    moveCursor(18, 43);
    printNumber(inUse, true);
    printLabelThenValue(20, 36, 68, fuelForPower(inUse));
    waitForConfirm();
    clearWindow(34, 14, w, 6);
}
