#include "turn/traderarrival.h"

#include "model/texttable.h"
#include "model/trader.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/windows.h"

void traderArrivalDraw(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    if (!drawTrader(game, game.structures4[p])) return;

    // Left standing: the game entry clears the whole screen next.
    drawFrame(10, 18, 18, 2);
    fillBlank(11, 19, 18, 2);
    setColour(6);
    moveCursor(19, 11);
    printText(textLine(314), true);
    moveCursor(20, 11);
    printText(textLine(315), false);
    printNumber(game.traderSize, true);
    waitForSpaceOrEnter();
}
