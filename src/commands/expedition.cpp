#include "commands/expedition.h"

#include <string>

#include "model/economy.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

constexpr int32_t firstRow = 8;  // row of line 1; line 3, the length, is on row 10

void printAt(int32_t row, int32_t column, uint32_t colour, int32_t value) {
    setColour(colour);
    moveCursor(row, column);
    printNumber(value, true);
}

void drawCrews(const GameState& game, int p) {
    fillBlank(30, 8, 10, 2);
    printAt(8, 30, 24, game.workers1[p]);
    printAt(8, 36, 24, game.expeditionWorkers1[p]);
    printAt(9, 30, 24, game.workers3[p]);
    printAt(9, 36, 24, game.expeditionWorkers3[p]);
}

void drawLength(const GameState& game, int p) {
    setColour(14);
    moveCursor(10, 24);
    printText(textLine(42), false);
    printNumber(game.expeditionMonths[p], false);
    printText(" " + textLine(317), true);
}

void drawScreen(const GameState& game, int p) {
    drawFrame(22, 4, 19, 8);
    fillBlank(23, 5, 19, 8);
    printCentredTitle(5, 19, 23, 38);
    setColour(27);
    moveCursor(7, 31);
    printText(textLine(39), true);
    setColour(25);
    moveCursor(8, 24);
    printText(textLine(40), true);
    moveCursor(9, 24);
    printText(textLine(41), true);
    drawCrews(game, p);
    drawLength(game, p);
    setColour(2);
    moveCursor(12, 24);
    printText(textLine(43), false);
    printNumber(game.expeditionProgress[p], false);
    printText(" %", true);
}

void printMark(int32_t line, const char* mark) {
    moveCursor(firstRow + line - 1, 41);
    printText(mark, true);
}

// Esc's give-back of a crew not yet sent; a recovery save does the same.
void giveBackCrew(GameState& game, const void*) {
    const int p = playerSlot(game.currentPlayer);
    if (game.expeditionSent[p] != 0) return;
    moveUnits(game.expeditionWorkers1[p], game.workers1[p], INT32_MAX);
    moveUnits(game.expeditionWorkers3[p], game.workers3[p], INT32_MAX);
}

}  // namespace

void expedition(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    // Only an expedition being prepared takes a length here; one under way
    // keeps the months it has.
    if (game.expeditionSent[p] == 0 && game.expeditionMonths[p] == 0) game.expeditionMonths[p] = 1;
    if (game.expeditionProgress[p] >= 100) return;

    drawScreen(game, p);
    holdUndoneWork(giveBackCrew, nullptr);
    int32_t line = 1;
    bool leftByEsc = false, sentNow = false;
    for (;;) {
        setColour(4);
        printMark(line, "\xAE");
        const std::string key = pollKey();
        const bool preparing = game.expeditionSent[p] == 0;
        if (preparing && (key == keyLeft || key == keyRight || key == "4" || key == "6")) {
            if (line == 3) {
                int32_t& months = game.expeditionMonths[p];
                if (key == keyLeft && months > 1) --months;
                if (key == keyRight && months < 3) ++months;
                if (key == keyLeft || key == keyRight) drawLength(game, p);
                continue;
            }
            int32_t& pool = line == 1 ? game.workers1[p] : game.workers3[p];
            int32_t& crew = line == 1 ? game.expeditionWorkers1[p] : game.expeditionWorkers3[p];
            const bool out = key == keyRight || key == "6";
            const int32_t most = key == "4" || key == "6" ? 10 : 1;
            if ((out ? moveUnits(pool, crew, most) : moveUnits(crew, pool, most)) > 0) drawCrews(game, p);
        } else if (key == keyUp || key == keyDown) {
            const int32_t next = key == keyUp ? line - 1 : line + 1;
            if (next < 1 || next > 3) continue;
            printMark(line, " ");
            line = next;
        } else if (key == keySpace || key == keyEnter) {
            if (!preparing) break;
            if (game.expeditionWorkers1[p] > 0 && game.expeditionWorkers3[p] > 0) {
                game.expeditionSent[p] = 1;
                game.expeditionLength[p] = game.expeditionMonths[p];
                sentNow = true;
                break;
            }
        } else if (key == keyEsc) {
            giveBackCrew(game, nullptr);
            leftByEsc = true;
            break;
        } else {
            sleepMs(1);
        }
    }

    releaseUndoneWork();
    clearWindow(22, 4, 19, 8);
    // The message belongs to this sending only, not to one sent long ago.
    if (leftByEsc || !sentNow) return;
    drawFrame(10, 7, 17, 1);
    printLine(8, 11, 17, 31, textLine(44));
    waitForConfirm();
    clearWindow(10, 7, 17, 1);
}
