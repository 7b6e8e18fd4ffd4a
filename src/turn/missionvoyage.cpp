#include "turn/missionvoyage.h"

#include "model/capacity.h"
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

// Two lines of the report: a title, then a value between two texts.
void printPiece(int32_t row, uint32_t titleColour, int title, uint32_t colour, int before, int32_t value,
                int after) {
    setColour(titleColour);
    moveCursor(row, 7);
    printText(textLine(title), true);
    setColour(colour);
    moveCursor(row + 1, 7);
    if (before >= 0) printText(textLine(before), false);
    printNumber(value, after < 0);
    if (after >= 0) printText(textLine(after), true);
}

}  // namespace

void missionVoyage(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    if (game.missionSent[p] == 0) return;

    int32_t height = 0;
    bool damaged = false;
    int32_t damage = 0;
    // At 70 % the chance is still drawn every month, but no damage is added.
    if (randomBelow(100) < missionTroubleChance && game.missionPercent[p] < highestMissionDamage) {
        damage = randomBelow(missionDamageRange);
        game.missionPercent[p] = missionDamage(game.missionPercent[p], damage);
        damaged = true;
        height += 2;
    }

    bool arrived = false, storeFull = false;
    int32_t income = 0, stored = 0;
    if (game.missionSent[p] == 1 && game.missionMonths[p] == 0) {
        seedRandomFromClock();
        const int32_t rate = randomBelow(missionRateRange) + lowestMissionRate;
        income = missionIncome(rate, game.missionWorkers[p], game.homeWorld[p], game.techLevel[p][4],
                               game.missionPercent[p]);
        arrived = true;
        height += 2;
        const int64_t free = freeRoom(game);
        game.workers1[p] += game.missionWorkers[p];
        game.missionWorkers[p] = 0;
        stored = foodStored(income, free);
        if (free < income) {
            storeFull = true;
            height += 2;
        }
        game.goods4[p] += stored;
        game.missionSent[p] = 0;
        game.missionPercent[p] = 0;
    }
    if (height == 0) return;

    drawFrame(6, 6, 30, height);
    fillBlank(7, 7, 30, height);
    int32_t row = 7;
    if (damaged) {
        printPiece(row, 4, 273, 4, -1, damage, 274);
        row += 2;
    }
    if (arrived) {
        printPiece(row, 26, 275, 10, 276, income, 277);
        row += 2;
    }
    if (storeFull) printPiece(row, 4, 278, 4, 279, stored, -1);
    waitForSpaceOrEnter();
    clearWindow(6, 6, 30, height);
}
