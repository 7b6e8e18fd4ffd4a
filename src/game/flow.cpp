#include "game/flow.h"

#include "game/setup.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "turn/startofturn.h"
#include "game/turnscreen.h"
#include "ui/windows.h"

void startUp(GameState& game) {
    loadTextTable("pl.ini");
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
        case Flow::gameMenu: saveRecoveryGame(*runningGame); break;
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

void runFlow(GameState& game, Flow next) {
    runningGame = &game;
    setCloseHandler(keepGameInProgress);
    resetRecovery();
    turnEndKept = false;
    for (;;) {
        currentFlow = next;
        // Back at the title or the menu, no game is under way or over.
        if (next == Flow::title || next == Flow::mainMenu) {
            resetRecovery();
            turnEndKept = false;
        }
        switch (next) {
            case Flow::title: next = titleScreen(game); break;
            case Flow::mainMenu: next = mainMenu(game); break;
            case Flow::gameEntry: next = gameEntry(game); break;
            case Flow::turnScreen: next = turnScreen(game); break;
            case Flow::gameMenu: next = gameMenu(game); break;
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
    clearScreen();
    game.selectedCommand = 1;
    drawStarfield();
    return Flow::turnScreen;
}
