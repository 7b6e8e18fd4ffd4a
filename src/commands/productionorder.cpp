#include "commands/productionorder.h"

#include <string>

#include "commands/work.h"
#include "model/texttable.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/listmark.h"
#include "ui/windows.h"

namespace {

const WorkScreen orderScreen = {
    &orderTables, orderTemplates, 123, 10, 6, 10, 9, 21, 10, 7, orderCountAfter,
};

constexpr int32_t listEntries = 6;

void noWorkshops() {
    drawFrame(10, 7, 23, 3);
    fillBlank(11, 8, 23, 3);
    for (int i = 0; i < 3; ++i) {
        setColour(29 - i);
        moveCursor(8 + i, 11);
        printText(textLine(143 + i), true);
    }
    waitForConfirm();
    clearWindow(10, 7, 23, 3);
}

// The six products; 0 when left with Esc. The window has no fill, so each of
// its rows is blanked as it is printed.
int32_t chooseType() {
    drawFrame(15, 3, 13, 9);
    printTitledList(4, 16, 13, 117, 118, 6, 30);
    fillBlank(16, 12, 13, 1);

    return chooseFromList(listEntries, 6, 16);
}

}  // namespace

void productionOrder(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    // Shown first, even while an order is under way. A count below zero (only
    // from an edited file) is no workshop either.
    if (game.workshops[p] <= 0) {
        noWorkshops();
        return;
    }
    if (game.orderType[p] != 0) {
        workUnderWay(game, orderTables, 23, 142, 129, 135);
        return;
    }

    game.orderCount[p] = 1;
    game.orderMonths[p] = 3;
    const int32_t entry = chooseType();
    clearWindow(15, 3, 13, 9);
    if (entry == 0) return;
    workDetail(game, orderScreen, entry);
}
