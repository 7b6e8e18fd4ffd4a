#include "game/flow.h"

#include "game/setup.h"
#include "model/options.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "turn/startofturn.h"
#include "game/turnscreen.h"
#include "ui/windows.h"

void startUp(GameState& game) {
    // A missing or damaged options file gives the defaults: Polish, every seat a person.
    options() = readOptions(optionsFile);
    loadTextTable(languageFile(options().language));
    clearScreen();
    setStartupValues(game);
    copyFixedTexts(game);
}

namespace {

// What a closed window or a signal must keep: the game, once it is under way
// (from its first start of turn or its loading on); the title, the menus and
// the set-up of a new game end without a save. During a start of turn it is
// the game as the turn before it ended (or as its set-up left it).
const GameState* runningGame = nullptr;
Flow currentFlow = Flow::title;
GameState turnEnd;
bool turnEndKept = false;

void keepGameInProgress() {
    if (!runningGame || !runningGame->tablesExist) return;
    switch (currentFlow) {
        case Flow::gameEntry:
        case Flow::turnScreen:
        case Flow::gameMenu:
        case Flow::turnEndMenu: saveRecoveryGame(*runningGame); break;
        case Flow::startOfTurn:
            if (turnEndKept) saveRecoveryGame(turnEnd);
            break;
        default: break;
    }
}

}  // namespace

void keepTurnEnd(const GameState& game) {
    turnEnd = game;
    turnEndKept = true;
}

namespace {

GameState* seatsGame = nullptr;

// A computer seat that cannot end its turn gives its seat to a person.
void handOverSeat(int p) {
    if (seatsGame && p >= 1 && p < playerSlots) seatHandedOver(*seatsGame, p);
}

}  // namespace

void useKeysOfSeat(const GameState& game, int seat, SeatTask task) {
    const int p = playerSlot(seat);
    if (!game.tablesExist || game.seatLevel[p] == seatPerson) {
        useKeyboard();
        return;
    }
    useKeySource(p, [&game, p, task] { return computerKey(game, p, task); }, paceMilliseconds(options().pace));
}

void runFlow(GameState& game, Flow next) {
    runningGame = &game;
    setCloseHandler(keepGameInProgress);
    seatsGame = &game;
    setGiveUpHandler(handOverSeat);
    resetRecovery();
    turnEndKept = false;
    for (;;) {
        currentFlow = next;
        // Back at the title or the menu, no game is under way or over.
        if (next == Flow::title || next == Flow::mainMenu) {
            resetRecovery();
            turnEndKept = false;
        }
        // A turn's screens read the keys of the seat whose turn it is; the
        // title and the menus read the keyboard.
        const bool turn = next == Flow::startOfTurn || next == Flow::gameEntry || next == Flow::turnScreen ||
                          next == Flow::gameMenu;
        if (turn)
            useKeysOfSeat(game, game.currentPlayer, SeatTask::turn);
        else
            useKeyboard();
        switch (next) {
            case Flow::title: next = titleScreen(game); break;
            case Flow::mainMenu: next = mainMenu(game); break;
            case Flow::options: next = optionsWindow(game); break;
            case Flow::gameEntry: next = gameEntry(game); break;
            case Flow::turnScreen: next = turnScreen(game); break;
            case Flow::gameMenu:
            case Flow::turnEndMenu: next = gameMenu(game); break;
            case Flow::startOfTurn: next = startOfTurn(game); break;
            case Flow::end: endProgram();
        }
    }
}

void runProgram() {
    static GameState game;
    startUp(game);
    runFlow(game, Flow::title);
}

Flow gameEntry(GameState& game) {
    // A game just loaded, or a new turn: computer seats plan afresh.
    forgetComputerPlans(true);
    clearScreen();
    game.selectedCommand = 1;
    drawStarfield();
    return Flow::turnScreen;
}
