#include "commands/outputallocation.h"

#include <string>

#include "model/economy.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/listmark.h"
#include "ui/windows.h"

namespace {

constexpr int32_t firstRow = 8;  // screen row of goods1; the cursor row r is 1 to 3

// The window has no fill: each row is blanked as it is printed.
void drawValues(PlayerTable* const deposits[3], PlayerTable* const outputs[3], int p) {
    printLine(5, 2, 22, 31, textLine(146));
    fillBlank(2, 6, 22, 1);
    printLine(7, 2, 22, 14, textLine(147));
    // The grey ramp fades one step per row and column.
    for (int i = 0; i < 3; ++i) printLine(firstRow + i, 2, 22, 27 - i, textLine(148 + i));
    fillBlank(2, 11, 22, 1);
    for (int i = 0; i < 3; ++i) {
        setColour(29 - i);
        printNumberInPlace(firstRow + i, 9, 7, (*deposits[i])[p]);
        setColour(28 - i);
        printNumberInPlace(firstRow + i, 16, 8, (*outputs[i])[p]);
    }
}

// Leaving by any key keeps the outputs and counts their power again; a
// recovery save does the same, so the power set aside on opening comes back.
void countOutputPower(GameState& game, const void*) {
    const int p = playerSlot(game.currentPlayer);
    game.outputPower[p] = outputPowerFor(game.output1[p], game.output2[p], game.output3[p]);
    game.powerInUse[p] += game.outputPower[p];
}

}  // namespace

void outputAllocation(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    PlayerTable* const deposits[3] = {&game.deposit1, &game.deposit2, &game.deposit3};
    PlayerTable* const outputs[3] = {&game.output1, &game.output2, &game.output3};

    int32_t r = 1;
    drawFrame(1, 4, 22, 7);
    game.powerInUse[p] -= game.outputPower[p];
    game.outputPower[p] = 0;
    holdUndoneWork(countOutputPower, nullptr);
    drawValues(deposits, outputs, p);

    for (;;) {
        drawListMark(r, firstRow, 2);
        const std::string key = pollKey();
        int32_t& deposit = (*deposits[r - 1])[p];
        int32_t& output = (*outputs[r - 1])[p];
        if (key == keyLeft) {
            moveUnits(output, deposit, 1);
        } else if (key == keyRight) {
            moveUnits(deposit, output, 1);
        } else if (key == "4") {
            moveUnits(output, deposit, 100);
        } else if (key == "6") {
            moveUnits(deposit, output, 100);
        } else if (moveListMark(key, r, 3, firstRow, 2)) {
            continue;
        } else if (key == keySpace || key == keyEnter || key == keyEsc) {
            // There is no way out that drops the changes.
            releaseUndoneWork();
            countOutputPower(game, nullptr);
            clearWindow(1, 4, 22, 7);
            return;
        } else {
            sleepMs(1);
            continue;
        }
        drawValues(deposits, outputs, p);
    }
}
