#include "commands/operations.h"

#include <string>

#include "model/operations.h"
#include "model/rounding.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "ui/confirm.h"
#include "ui/listmark.h"
#include "ui/windows.h"

namespace {

enum class Kind { raid, force };

void printValueAt(int32_t row, int32_t column, int64_t value) {
    moveCursor(row, column);
    printNumber(nearestInt32(value), true);
}

// The three-line messages, drawn without a fill: each row is blanked as printed.
void message(int firstLine) {
    drawFrame(10, 7, 21, 3);
    for (int i = 0; i < 3; ++i) printLine(8 + i, 11, 21, 28, textLine(firstLine + i));
    waitForSpaceOrEnter();
    clearWindow(10, 7, 21, 3);
}

// The forces in total and free, and the menu; gives 1 (raid), 2 (force) or 0.
int32_t overview(const GameState& game, int p) {
    drawFrame(18, 2, 16, 17);
    fillBlank(19, 3, 16, 17);
    drawFrame(8, 7, 8, 5);
    setColour(31);
    moveCursor(3, 24);
    printText(textLine(184), true);
    const int32_t totals[6] = {game.population4[p], game.units1[p], game.units2[p],
                               game.units3[p],      game.units4[p], game.units5[p]};
    const int32_t free[6] = {game.workers4[p],   game.freeUnits1[p], game.freeUnits2[p],
                             game.freeUnits3[p], game.freeUnits4[p], game.freeUnits5[p]};
    for (int block = 0; block < 2; ++block) {
        const int32_t top = block == 0 ? 5 : 13;
        setColour(29);
        moveCursor(top, 19);
        printText(textLine(block == 0 ? 185 : 192), true);
        for (int i = 0; i < 6; ++i) {
            setColour(26 - i);
            moveCursor(top + 1 + i, 19);
            printText(textLine(186 + i), false);
            printNumber(block == 0 ? totals[i] : free[i], true);
        }
    }
    printTitledList(8, 9, 8, 193, 194, 3, 27);

    const int32_t s = chooseFromList(3, 10, 9);
    clearWindow(18, 2, 16, 17);
    clearWindow(8, 7, 8, 5);
    return s == 3 ? 0 : s;
}

// Every player is listed, the current one too; gives the chosen player or 0.
int32_t chooseTarget(const GameState& game, Kind kind) {
    const int32_t players = game.playerCount;
    drawFrame(9, 10, 13, players + 3);
    fillBlank(10, 11, 13, players + 3);
    setColour(31);
    if (kind == Kind::raid) {
        moveCursor(11, 11);
        printText(textLine(197), true);
    } else {
        moveCursor(11, 12);
        printText(textLine(198), true);
    }
    setColour(28);
    moveCursor(13, 11);
    printText(textLine(199), true);
    for (int32_t k = 1; k <= players && k < playerSlots; ++k) {
        setColour(28 - k);
        moveCursor(13 + k, 11);
        printText(game.playerName[k], true);
    }
    // The first row cancels, like Esc.
    const int32_t s = chooseFromList(players + 1, 13, 10);
    clearWindow(9, 10, 13, players + 3);
    return s == 0 ? 0 : s - 1;
}

// Space or Enter confirms what can be confirmed and pays for it; anything
// else (Esc, the last entry, too little committed) gives everything back.
void finishPreparation(GameState& game, bool confirmed, int64_t& pendingCost, int confirmationLine,
                       void (*cancel)(GameState&, int64_t&)) {
    releaseUndoneWork();
    if (confirmed) {
        payOperation(game, pendingCost);
        message(confirmationLine);
    } else {
        cancel(game, pendingCost);
    }
}

void drawRaid(const GameState& game, int p, int64_t pendingCost) {
    fillBlank(15, 10, 9, 1);
    fillBlank(18, 6, 7, 3);
    fillBlank(18, 13, 7, 3);
    setColour(23);
    printValueAt(6, 18, game.raidUnits3[p]);
    printValueAt(7, 18, game.raidUnits4[p]);
    setColour(14);
    printValueAt(10, 15, pendingCost);
    setColour(23);
    printValueAt(13, 18, game.freeUnits3[p]);
    printValueAt(14, 18, game.freeUnits4[p]);
    printValueAt(15, 18, game.workers4[p]);
}

void raidScreen(GameState& game, int p) {
    int64_t pendingCost = 0;
    drawFrame(7, 3, 17, 12);
    fillBlank(8, 5, 17, 11);
    printLine(4, 8, 17, 30, textLine(206));
    for (int i = 0; i < 3; ++i) printLine(6 + i, 8, 17, 27, textLine(207 + i));
    printLine(10, 8, 17, 14, textLine(210));
    printLine(12, 8, 17, 2, textLine(211));
    const int labels[3] = {189, 190, 186};
    for (int i = 0; i < 3; ++i) printLine(13 + i, 8, 17, 27, textLine(labels[i]));
    drawRaid(game, p, pendingCost);

    int32_t s = 1;
    for (;;) {
        drawListMark(s, 6, 8);
        const std::string key = pollKey();
        if (moveListMark(key, s, 3, 6, 8)) continue;
        if (key == keySpace || key == keyEnter || key == keyEsc) {
            clearWindow(7, 3, 17, 12);
            finishPreparation(game, key != keyEsc && s != 3 && raidCanBeConfirmed(game), pendingCost, 212, cancelRaid);
            return;
        }
        bool changed = false;
        if (s <= 2) {
            const OperationRow& row = raidRows[s - 1];
            if (key == keyRight) changed = commitUnits(game, row, 1, pendingCost);
            if (key == "6") changed = commitUnits(game, row, 10, pendingCost);
            if (key == keyLeft) changed = releaseUnits(game, row, 1, pendingCost);
            if (key == "4") changed = releaseUnits(game, row, 10, pendingCost);
        }
        if (changed) {
            drawRaid(game, p, pendingCost);
        } else {
            sleepMs(1);
        }
    }
}

void drawForce(const GameState& game, int p, int64_t pendingCost) {
    fillBlank(18, 6, 10, 5);
    fillBlank(21, 13, 7, 1);
    fillBlank(19, 14, 8, 1);
    setColour(25);
    for (int i = 0; i < 5; ++i) {
        printValueAt(6 + i, 16, (game.*forceRows[i].freePool)[p]);
        printValueAt(6 + i, 22, (game.*forceRows[i].committed)[p]);
    }
    setColour(14);
    printValueAt(13, 21, pendingCost);
    printValueAt(14, 19, forceRoomLeft(game));
}

void forceScreen(GameState& game, int p) {
    int64_t pendingCost = 0;
    drawFrame(4, 2, 23, 14);
    fillBlank(5, 3, 23, 14);
    setColour(30);
    moveCursor(3, 10);
    printText(textLine(215), true);
    const uint32_t colours[9] = {29, 27, 26, 25, 24, 24, 24, 24, 24};
    const int32_t rows[9] = {5, 6, 7, 8, 9, 10, 11, 13, 14};
    for (int i = 0; i < 9; ++i) {
        setColour(colours[i]);
        moveCursor(rows[i], 5);
        printText(textLine(216 + i), true);
    }
    drawForce(game, p, pendingCost);

    int32_t s = 1;
    for (;;) {
        drawListMark(s, 6, 5);
        const std::string key = pollKey();
        if (moveListMark(key, s, 6, 6, 5)) continue;
        if (key == keyLeft || key == keyRight) {
            if (s <= 5) {
                const OperationRow& row = forceRows[s - 1];
                if (key == keyRight) commitUnits(game, row, 1, pendingCost);
                if (key == keyLeft) releaseUnits(game, row, 1, pendingCost, s - 1 == forceCarrierRow);
            }
            // Drawn again after every press, whether or not anything changed.
            drawForce(game, p, pendingCost);
        } else if (key == keySpace || key == keyEnter || key == keyEsc) {
            clearWindow(4, 2, 23, 14);
            finishPreparation(game, key != keyEsc && s != 6 && forceCanBeConfirmed(game), pendingCost, 225,
                              cancelForce);
            return;
        } else {
            sleepMs(1);
        }
    }
}

// What a recovery save does to a preparation left open: Esc's give-back.
void giveBackRaid(GameState& game, const void*) {
    int64_t pendingCost = 0;
    cancelRaid(game, pendingCost);
}

void giveBackForce(GameState& game, const void*) {
    int64_t pendingCost = 0;
    cancelForce(game, pendingCost);
}

}  // namespace

void operations(GameState& game) {
    const int p = playerSlot(game.currentPlayer);
    const int32_t choice = overview(game, p);
    if (choice == 0) return;
    const Kind kind = choice == 1 ? Kind::raid : Kind::force;
    if ((kind == Kind::raid ? game.raidTarget[p] : game.forceTarget[p]) != 0) {
        message(203);  // that kind is already prepared
        return;
    }
    const int32_t target = chooseTarget(game, kind);
    if (target == 0) return;
    if (target == game.currentPlayer) {
        message(200);
        return;
    }
    // The target is recorded before any unit is chosen; a cancel clears it.
    if (kind == Kind::raid) {
        game.raidTarget[p] = target;
        holdUndoneWork(giveBackRaid, nullptr);
        raidScreen(game, p);
    } else {
        game.forceTarget[p] = target;
        holdUndoneWork(giveBackForce, nullptr);
        forceScreen(game, p);
    }
}
