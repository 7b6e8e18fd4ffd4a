#include "game/turnscreen.h"

#include <algorithm>
#include <string>

#include "commands/construction.h"
#include "commands/forecast.h"
#include "commands/expedition.h"
#include "commands/mission.h"
#include "commands/operations.h"
#include "commands/outputallocation.h"
#include "commands/productionorder.h"
#include "commands/reports.h"
#include "commands/research.h"
#include "commands/trader.h"
#include "game/flow.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "turn/turnchange.h"
#include "model/capacity.h"
#include "ui/reportcopies.h"
#include "ui/standings.h"
#include "model/options.h"
#include "ui/windows.h"

uintptr_t turnScreenStackMark = 0;

namespace {

constexpr int32_t menuEntries = 13;
constexpr int32_t endOfTurnEntry = 13;
constexpr int32_t menuHeight = 13;

// The widest entry and a blank either side; the language can change between drawings.
int32_t menuWidth() {
    size_t width = 0;
    for (int i = 19; i <= 31; ++i) width = std::max(width, textLine(i).size() + 2);
    return static_cast<int32_t>(width);
}

void printMark(int32_t entry, const char* mark) {
    moveCursor(entry + 2, 3);
    printText(mark, true);
}

// ---- Commands plug in here ------------------------------------------------
// Starts the command of menu entry `entry` (1 to 12; 13 ends the turn and
// never comes here). Each command draws its windows over the turn screen,
// removes them and returns.
void runCommand(GameState& game, int32_t entry) {
    switch (entry) {
        case 1: construction(game); break;
        case 2: holdingsReport(game); break;
        case 3: productionOrder(game); break;
        case 4: research(game); break;
        case 5: expedition(game); break;
        case 6: mission(game); break;
        case 7: warehouseReport(game); break;
        case 8: populationReport(game); break;
        case 9: operations(game); break;
        case 10: outputAllocation(game); break;
        case 11: powerOverview(game); break;
        case 12: traderScreen(game); break;
        default: break;
    }
}
// ---------------------------------------------------------------------------

// The turn passes on; until the next turn screen a recovery save keeps the
// game as this turn ended, so a month is never half played.
Flow passTurn(GameState& game) {
    endTurn(game);
    if (replayingRecordedTurn()) {
        recordedTurnPassed();
        return Flow::startOfTurn;
    }
    if (onlineGame(game)) return onlineTurnEnded(game);
    localTurnEnded(game);
    keepTurnEnd(game);
    return Flow::startOfTurn;
}

// At the end of a computer turn the keyboard has its say before the turn
// passes: Esc pressed during the turn (or now, when no person plays in the
// game and so no key wait would ever come) opens the game menu.
bool menuAtTurnEnd(const GameState& game) {
    if (keyOwner() == 0) return false;
    bool person = false;
    for (int p = 1; p <= std::min(game.playerCount, playerSlots - 1); ++p)
        person = person || (game.playerActive[p] == 1 && game.seatLevel[p] == seatPerson);
    if (!person) lookAtKeyboard();
    return takeMenuRequest();
}

}  // namespace

int32_t drawTurnScreen(GameState& game) {
    const int32_t width = menuWidth();
    drawFrame(2, 2, width, menuHeight);
    fillBlank(3, 3, width, menuHeight);
    for (int i = 19; i <= 31; ++i) {
        setColour(50 - i);
        moveCursor(i - 16, 4);
        printText(textLine(i), true);
    }

    const int p = playerSlot(game.currentPlayer);
    setColour(100);
    moveCursor(29, 3);
    printText(textLine(32), false);
    printText(game.playerName[p], true);

    drawPlayerStatusPanel(game);
    return width;
}

Flow turnScreen(GameState& game) {
    volatile char here = 0;
    turnScreenStackMark = reinterpret_cast<uintptr_t>(&here);

    // Set to 1 by every game entry; anything else would put the mark on the frame.
    if (game.selectedCommand < 1 || game.selectedCommand > menuEntries) game.selectedCommand = 1;

    int32_t shownWidth = 0;
    for (;;) {
        const int32_t width = drawTurnScreen(game);
        // A narrower menu (another language) takes the old frame's right part away.
        if (shownWidth > width) fillBlank(width + 4, 2, shownWidth - width, menuHeight + 2);
        shownWidth = width;
        bool redraw = false;
        while (!redraw) {
            setColour(4);
            printMark(game.selectedCommand, "\xAF");
            const std::string key = pollKey();
            if (key == keyUp) {
                if (game.selectedCommand == 1) continue;
                printMark(game.selectedCommand, " ");
                --game.selectedCommand;
            } else if (key == keyDown) {
                if (game.selectedCommand == menuEntries) continue;
                printMark(game.selectedCommand, " ");
                ++game.selectedCommand;
            } else if (key == keyRight) {
                if (menuAtTurnEnd(game)) {
                    clearWindow(2, 2, width, menuHeight);
                    return Flow::turnEndMenu;
                }
                // Ends the turn without a question and without removing the menu.
                return passTurn(game);
            } else if (key == keyEsc) {
                clearWindow(2, 2, width, menuHeight);
                return Flow::gameMenu;
            } else if (key == keySpace || key == keyEnter) {
                clearWindow(2, 2, width, menuHeight);
                if (game.selectedCommand == endOfTurnEntry)
                    return menuAtTurnEnd(game) ? Flow::turnEndMenu : passTurn(game);
                runCommand(game, game.selectedCommand);
                redraw = true;
            } else if (key == "r") {
                // The month's reports again; what they covered comes back as it was.
                showReportCopies(game.currentPlayer);
            } else if (key == "f") {
                forecastWindow(game);
            } else if (key == "s") {
                standingsWindow(game);
            } else if (key == "p" || key == "e") {
                loadTextTable(key == "p" ? "pl.ini" : "eng.ini");
                redraw = true;
            } else {
                sleepMs(1);
            }
        }
    }
}
