#include "commands/research.h"

#include <string>

#include "model/economy.h"
#include "model/rounding.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

namespace {

constexpr int32_t firstRow = 8;     // screen row of field 1
constexpr int32_t innerRight = 39;  // last column inside the window

void noLabs() {
    // Drawn without a fill: each row is blanked as it is printed.
    drawFrame(10, 7, 21, 3);
    for (int i = 0; i < 3; ++i) printLine(8 + i, 11, 21, 29 - i, textLine(228 + i));
    waitForConfirm();
    clearWindow(10, 7, 21, 3);
}

void drawFixedTexts() {
    drawFrame(1, 3, 38, 17);
    fillBlank(2, 4, 38, 17);
    setColour(31);
    moveCursor(4, 15);
    printText(textLine(231), true);
    setColour(30);
    moveCursor(6, 3);
    printText(textLine(232), true);
    for (int k = 1; k <= 9; ++k) {
        setColour(29 - (k - 1) / 2);
        moveCursor(firstRow + k - 1, 3);
        printText(textLine(232 + k), true);
    }
}

// "<label><value>" from column 3, the value's place blanked to the window's edge.
void printFreeLine(int32_t row, int label, int64_t value) {
    moveCursor(row, 3);
    printText(textLine(label), false);
    const int32_t column = cursorColumn();
    printNumberInPlace(row, column, innerRight - column + 1, nearestInt32(value));
}

void drawValues(const GameState& game, int p) {
    fillBlank(18, 8, 7, 10);
    fillBlank(2, 8, 1, 10);
    fillBlank(21, 18, 10, 3);
    const int64_t perLab = labOutput(game.techLevel[p][3]);
    for (int k = 1; k <= 9; ++k) {
        const int32_t row = firstRow + k - 1;
        setColour(2);
        moveCursor(row, 14);
        printNumber(game.techLevel[p][k], true);
        setColour(roundToInt(29 - k / 2.0));
        moveCursor(row, 18);
        printNumber(nearestInt32(game.labsAssigned[p][k] * perLab), true);
        moveCursor(row, 25);
        printNumber(nearestInt32(game.researchDone[p][k] * int64_t{100}), true);
        moveCursor(row, 32);
        printNumber(game.researchNeeded[p][k], true);
    }
    setColour(29);
    printFreeLine(18, 242, game.freeLabs[p] * perLab);
    printFreeLine(19, 243, game.freeLabs[p]);
    printFreeLine(20, 244, game.workers3[p]);
}

// One lab and its 10 workers of kind 3 between the free pools and a field.
void moveLab(GameState& game, int p, int field, int32_t labs) {
    game.labsAssigned[p][field] += labs;
    game.freeLabs[p] -= labs;
    game.workers3[p] -= 10 * labs;
    game.researchStaff[p] += 10 * labs;
}

}  // namespace

void research(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    if (game.labs[p] <= 0) {
        noLabs();
        return;
    }

    int field = 1;
    drawFixedTexts();
    drawValues(game, p);
    for (;;) {
        setColour(4);
        moveCursor(firstRow + field - 1, 2);
        printText("\xAF", true);
        const std::string key = pollKey();
        if (key == keyLeft) {
            // Only labs that are there can be taken off, whatever a file says.
            if (game.labsAssigned[p][field] <= 0) continue;
            moveLab(game, p, field, -1);
        } else if (key == keyRight) {
            if (!labCanBeAdded(game.techLevel[p][field], game.freeLabs[p], game.workers3[p],
                               game.researchNeeded[p][field], game.researchDone[p][field],
                               game.labsAssigned[p][field], game.techLevel[p][3]))
                continue;
            moveLab(game, p, field, 1);
        } else if (key == keyUp) {
            if (field == 1) continue;
            --field;
        } else if (key == keyDown) {
            if (field == 9) continue;
            ++field;
        } else if (key == keySpace || key == keyEnter || key == keyEsc) {
            clearWindow(1, 3, 38, 17);
            return;
        } else {
            sleepMs(1);
            continue;
        }
        drawValues(game, p);
    }
}
