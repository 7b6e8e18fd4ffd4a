#include "turn/storeallocation.h"

#include <algorithm>
#include <string>

#include "model/capacity.h"
#include "model/economy.h"
#include "model/rounding.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/listmark.h"
#include "ui/windows.h"

namespace {

constexpr int32_t firstRow = 16;  // screen row of goods1; the cursor row r is 1 to 3

void drawValues(const GameState& game, int32_t* const goods[3], const int32_t pending[3]) {
    setColour(26);
    for (int i = 0; i < 3; ++i) {
        moveCursor(firstRow + i, 6);
        printText(textLine(289 + i), true);
    }
    moveCursor(20, 6);
    printText(textLine(292), true);
    // Each value owns the cells up to the next column or the window's edge.
    for (int i = 0; i < 3; ++i) {
        printNumberInPlace(firstRow + i, 15, 10, *goods[i]);
        printNumberInPlace(firstRow + i, 25, 11, pending[i]);
    }
    printNumberInPlace(20, 21, 15, nearestInt32(freeRoom(game)));
}


}  // namespace

void storeAllocation(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    // The month's output waits here; the outputs themselves stay as set.
    int32_t pending[3] = {std::max(game.output1[p], 0), std::max(game.output2[p], 0),
                          std::max(game.output3[p], 0)};
    int32_t* const goods[3] = {&game.goods1[p], &game.goods2[p], &game.goods3[p]};

    drawFrame(5, 9, 30, 11);
    fillBlank(6, 10, 30, 11);
    setColour(26);
    moveCursor(10, 6);
    printText(textLine(284), false);
    printNumber(fuelForPower(game.powerInUse[p]), false);
    printText(textLine(316), true);
    setColour(4);
    moveCursor(11, 6);
    printText(textLine(285), true);
    setColour(26);
    moveCursor(12, 6);
    printText(textLine(286), true);
    moveCursor(13, 6);
    printText(textLine(287), true);
    setColour(14);
    moveCursor(15, 6);
    printText(textLine(288), true);

    int32_t r = 1;
    drawValues(game, goods, pending);
    for (;;) {
        drawListMark(r, firstRow, 6);
        const std::string key = pollKey();
        int32_t& stock = *goods[r - 1];
        int32_t& waiting = pending[r - 1];
        // Room is checked before keeping: "4" needs room for a whole hundred.
        const int64_t free = freeRoom(game);
        if (key == keyLeft) {
            if (free > 0) moveUnits(waiting, stock, 1);
        } else if (key == keyRight) {
            moveUnits(stock, waiting, 1);
        } else if (key == "4") {
            if (free >= 100) moveUnits(waiting, stock, 100);
        } else if (key == "6") {
            moveUnits(stock, waiting, 100);
        } else if (moveListMark(key, r, 3, firstRow, 6)) {
            continue;
        } else if (key == keySpace || key == keyEnter || key == keyEsc) {
            clearWindow(5, 9, 30, 11);
            return;
        } else {
            sleepMs(1);
            continue;
        }
        drawValues(game, goods, pending);
    }
}
