#include "turn/expeditionreturn.h"

#include <algorithm>
#include <string>

#include "model/rounding.h"
#include "model/texttable.h"
#include "model/voyages.h"
#include "screen/clockseed.h"
#include "screen/keys.h"
#include "screen/random.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

void printLines(int32_t row, uint32_t colour, int first, int second) {
    setColour(colour);
    moveCursor(row, 6);
    printText(textLine(first), true);
    moveCursor(row + 1, 6);
    printText(textLine(second), true);
}

}  // namespace

void expeditionReturn(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    if (game.expeditionSent[p] != 1 || game.expeditionMonths[p] != 0) return;

    seedRandomFromClock();
    const int32_t length = game.expeditionLength[p];
    const int32_t w1 = game.expeditionWorkers1[p];
    const int32_t w3 = game.expeditionWorkers3[p];
    const int32_t roll = expeditionRoll(randomBelow(100), game.homeWorld[p]);
    const bool success = expeditionSucceeds(roll, length, w1, w3);
    int32_t amount = 0;
    int findName = 0;
    if (success) {
        const int32_t kind = randomBelow(3);
        amount = expeditionFind(randomBelow(1000), w1, w3, game.homeWorld[p]);
        PlayerTable* const deposits[3] = {&game.deposit1, &game.deposit2, &game.deposit3};
        (*deposits[kind])[p] += amount;
        findName = 262 + kind;
    }

    int32_t lossA = 0, lossB = 0;
    if (lossesStrike(randomBelow(100), length)) {
        // Both draws are made; a crew of 0 or less (only from a file) loses nobody.
        lossA = std::max(0, floorToInt(randomUnit() * lossRange(w1)));
        lossB = std::max(0, floorToInt(randomUnit() * lossRange(w3)));
        game.expeditionWorkers1[p] -= lossA;
        game.expeditionWorkers3[p] -= lossB;
        game.population1[p] -= lossA;
        game.population3[p] -= lossB;
    }
    const bool lossLines = lossA != 0 || lossB != 0;

    game.expeditionSent[p] = 0;
    game.expeditionLength[p] = 0;
    game.expeditionProgress[p] += 2;
    game.workers1[p] += game.expeditionWorkers1[p];
    game.workers3[p] += game.expeditionWorkers3[p];
    game.expeditionWorkers1[p] = game.expeditionWorkers3[p] = 0;

    const int32_t width = success ? 27 : lossLines ? 26 : 24;
    const int32_t height = lossLines ? 4 : 2;
    drawFrame(5, 5, width, height);
    // The short failure window has no fill; its rows are blanked as printed.
    fillBlank(6, 6, width, height);
    if (success) {
        setColour(26);
        moveCursor(6, 6);
        printText(textLine(270), true);
        setColour(14);
        moveCursor(7, 6);
        printText(textLine(271) + textLine(findName) + ":", false);
        printNumber(amount, true);
    } else {
        printLines(6, 26, 265, 266);
    }
    if (lossLines) {
        setColour(26);
        moveCursor(8, 6);
        printText(textLine(267), true);
        setColour(4);
        moveCursor(9, 6);
        printNumber(lossA, false);
        printText(textLine(268), false);
        printNumber(lossB, false);
        printText(textLine(269), true);
    }
    waitForSpaceOrEnter();
    clearWindow(5, 5, width, height);
}
