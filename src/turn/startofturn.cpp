#include "turn/startofturn.h"

#include <string>

#include "model/rounding.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "turn/expeditionreturn.h"
#include "turn/missionvoyage.h"
#include "turn/monthlyupdate.h"
#include "turn/traderarrival.h"
#include "ui/confirm.h"
#include "ui/reportcopies.h"
#include "ui/standings.h"
#include "ui/windows.h"

namespace {

// The raid and death messages close on Space alone.
void monthBanner(GameState& game, int p) {
    clearScreen();
    drawStarfield();

    const std::string& monthName = textLine(244 + game.month);
    const std::string& name = game.playerName[p];
    int32_t width = static_cast<int32_t>(monthName.size()) + 17;
    // Kept for the rest of the run, so banners after a long name stay as wide.
    if (name.size() >= 8) game.bannerNameWidth = static_cast<int32_t>(name.size()) + 14;
    if (game.bannerNameWidth > width) width = game.bannerNameWidth;

    drawFrame(3, 3, width, 3);
    fillBlank(4, 4, width, 3);
    setColour(14);
    moveCursor(4, 5);
    printText(textLine(257), false);
    printText(name, true);
    setColour(26);
    moveCursor(6, 5);
    printText(textLine(258), false);
    printText(monthName, false);
    printNumber(game.year, true);
    waitForSpaceOrEnter();
    clearWindow(3, 3, width, 3);
}

// A raid prepared against this player ends the whole program; the lowest
// numbered raider is the one named.
void raidArrival(const GameState& game) {
    for (int k = 1; k <= game.playerCount && k < playerSlots; ++k) {
        if (game.raidTarget[k] != game.currentPlayer) continue;
        setColour(4);
        printText("", true);  // the banner left the cursor on row 7
        moveCursor(cursorRow(), 5);
        printText(textLine(259), false);
        printText(game.playerName[k], false);
        printText(textLine(260), true);
        moveCursor(cursorRow(), 5);
        printText(textLine(261), true);
        // The game is over at this message: closing the window keeps nothing.
        markGameOver();
        waitForSpace();
        standingsWindow(game);
        endProgram();
    }
}

// Feeds the colony for the month; false when it has starved for too long.
bool feedColony(GameState& game, int p) {
    const int32_t people = game.population1[p] + game.population2[p] + game.population3[p] + game.population4[p];
    const int32_t consumption = roundToInt(people * 0.2);
    game.goods4[p] -= consumption;

    // Food exactly used up is a famine month too: the test is food above zero.
    bool famine = false;
    if (game.goods4[p] > 0) {
        game.famineGrace[p] = 3;
    } else if (game.famineGrace[p] > 0) {
        --game.famineGrace[p];
        game.goods4[p] = 0;
        famine = true;
    } else {
        // The colony dies with an empty store, not a negative one.
        game.goods4[p] = 0;
        return false;
    }

    const int32_t width = famine ? 30 : 23;
    const int32_t height = famine ? 3 : 1;
    drawFrame(7, 14, width, height);
    fillBlank(8, 15, width, height);
    setColour(26);
    moveCursor(15, 8);
    printText(textLine(310), false);
    printNumber(consumption, false);
    printText(textLine(316), true);
    if (famine) {
        setColour(4);
        moveCursor(16, 8);
        printText(textLine(311), true);
        moveCursor(17, 8);
        printText(textLine(312), false);
        printNumber(game.famineGrace[p], false);
        printText(textLine(313), true);
    }
    waitForSpaceOrEnter();
    clearWindow(7, 14, width, height);
    return true;
}

void colonyDeath(GameState& game, int p) {
    drawFrame(5, 5, 31, 3);
    fillBlank(6, 6, 31, 3);
    setColour(4);
    moveCursor(6, 6);
    printText(textLine(306), true);
    moveCursor(7, 6);
    printText(textLine(307), true);
    moveCursor(8, 6);
    printText(textLine(308), false);
    printText(game.playerName[p], false);
    printText(textLine(309), true);
    markGameOver();
    waitForSpace();
    recordColonyHistory(game);
    standingsWindow(game);

    // One colony starving ends the game for everybody.
    game.menuCursor = 1;
    releaseTables(game);
}

}  // namespace

Flow startOfTurn(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    monthBanner(game, p);
    raidArrival(game);

    // The month's report windows are kept to be read again on the turn screen.
    beginReportCopies(p);
    expeditionReturn(game);
    missionVoyage(game);
    monthlyUpdate(game);

    if (!feedColony(game, p)) {
        endReportCopies();
        colonyDeath(game, p);
        return Flow::title;
    }

    traderArrivalDraw(game);
    endReportCopies();
    recordColonyHistory(game);
    return Flow::gameEntry;
}
