#include "commands/mission.h"

#include <string>

#include "model/economy.h"
#include "model/rounding.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/windows.h"

namespace {

constexpr int32_t costPerWorker = 50;

int32_t missionLength(const GameState& game, int p) { return game.homeWorld[p] == 3 ? 5 : 6; }

void drawCrew(const GameState& game, int p) {
    setColour(25);
    fillBlank(47, 7, 12, 1);
    moveCursor(7, 47);
    printNumber(game.workers1[p], true);
    moveCursor(7, 54);
    printNumber(game.missionWorkers[p], true);
    const int32_t label = static_cast<int32_t>(textLine(37).size());
    fillBlank(47 + label, 9, 14 - label, 1);
    moveCursor(9, 47);
    printText(textLine(37), false);
    printNumber(nearestInt32(int64_t{game.missionWorkers[p]} * costPerWorker), true);
}

void drawScreen(const GameState& game, int p) {
    drawFrame(45, 3, 15, 8);
    fillBlank(46, 4, 15, 8);
    printCentredTitle(4, 15, 46, 33);
    setColour(27);
    moveCursor(6, 48);
    printText(textLine(34), true);
    drawCrew(game, p);
    // Any damage at all shows as a warning.
    setColour(game.missionPercent[p] > 0 ? 4 : 2);
    moveCursor(10, 47);
    printText(textLine(35), false);
    printNumber(game.missionPercent[p], false);
    printText(" %", true);
    setColour(45);
    moveCursor(11, 47);
    printText(textLine(36), false);
    printNumber(game.missionMonths[p], false);
    printText(" " + textLine(317), true);
}

// Esc's give-back of a crew not yet sent; a recovery save does the same.
void giveBackCrew(GameState& game, const void*) {
    const int p = playerSlot(game.currentPlayer);
    if (game.missionSent[p] == 0) moveUnits(game.missionWorkers[p], game.workers1[p], INT32_MAX);
}

// The key that ends the program keeps the game: it is saved first to
// "autosave", which the main menu can continue.
[[noreturn]] void saveAndEnd(const GameState& game) {
    saveRecoveryGame(game);
    endProgram();
}

}  // namespace

void mission(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    // Only a mission being prepared takes a length here.
    if (game.missionSent[p] == 0) game.missionMonths[p] = missionLength(game, p);
    drawScreen(game, p);
    holdUndoneWork(giveBackCrew, nullptr);

    for (;;) {
        const std::string key = pollKey();
        const bool preparing = game.missionSent[p] == 0;
        if (key == "a") {
            saveAndEnd(game);
        } else if (preparing && (key == keyLeft || key == keyRight || key == "4" || key == "6")) {
            const int32_t most = key == "4" || key == "6" ? 10 : 1;
            const bool out = key == keyRight || key == "6";
            const int32_t moved = out ? moveUnits(game.workers1[p], game.missionWorkers[p], most)
                                      : moveUnits(game.missionWorkers[p], game.workers1[p], most);
            if (moved > 0) drawCrew(game, p);
        } else if ((key == keySpace || key == keyEnter) && game.missionWorkers[p] >= 1) {
            if (preparing) {
                // Sent on credit: money may go below zero, but not past 32 bits.
                const int64_t money = game.money[p] - int64_t{game.missionWorkers[p]} * costPerWorker;
                if (money < INT32_MIN) continue;
                game.money[p] = static_cast<int32_t>(money);
                game.missionSent[p] = 1;
            }
            break;
        } else if (key == keyEsc) {
            giveBackCrew(game, nullptr);
            break;
        } else {
            sleepMs(1);
        }
    }
    releaseUndoneWork();
    clearWindow(45, 3, 15, 8);
}
