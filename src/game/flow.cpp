#include "game/flow.h"

#include "game/setup.h"
#include "model/options.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/clockseed.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "turn/startofturn.h"
#include "game/turnscreen.h"
#include "ui/reportcopies.h"
#include "ui/windows.h"

void startUp(GameState& game) {
    // A missing or damaged options file gives the defaults: Polish, every seat a person.
    options() = readOptions(optionsFile);
    loadTextTable(languageFile(options().language));
    clearScreen();
    setStartupValues(game);
    copyFixedTexts(game, options().language == languageEnglish);
    noteLastGameNotKept(takeRecoveryFailure());
}

namespace {

// What a closed window or a signal must keep: the game, once it is under way
// (from its first start of turn or its loading on); the title, the menus and
// the set-up of a new game end without a save. During a start of turn it is
// the game as the turn before ended (or as its set-up left it) with the clock
// readings the start of turn has taken, so that continuing it plays the same
// month again.
const GameState* runningGame = nullptr;
Flow currentFlow = Flow::title;
GameState turnEnd;
bool turnEndKept = false;

void keepStartOfTurn() {
    GameState kept = turnEnd;
    kept.startOfTurnPending = true;
    kept.startOfTurnReadings = clockReadings();
    saveRecoveryGame(kept);
}

void keepGameInProgress() {
    if (!runningGame || !runningGame->tablesExist) return;
    switch (currentFlow) {
        case Flow::gameEntry:
        case Flow::turnScreen:
        case Flow::gameMenu:
        case Flow::turnEndMenu: saveRecoveryGame(*runningGame); break;
        case Flow::startOfTurn:
            if (turnEndKept) keepStartOfTurn();
            break;
        default: break;
    }
}

// Each reading is on the disk before anything drawn from it is shown, so even
// a program killed outright continues the same month. The first one, the
// month banner's, is taken as the turn has passed on: this is also the save
// of every end of turn.
void keepClockReading() {
    if (currentFlow == Flow::startOfTurn && turnEndKept) keepStartOfTurn();
}

void forgetTurnEnd() {
    turnEndKept = false;
    endClockReadings();
}

}  // namespace

void keepTurnEnd(const GameState& game, std::vector<int32_t> readings) {
    turnEnd = game;
    turnEndKept = true;
    beginClockReadings(std::move(readings));
}

Flow gameLoaded(GameState& game) {
    if (!game.startOfTurnPending) return Flow::gameEntry;
    std::vector<int32_t> readings = std::move(game.startOfTurnReadings);
    game.startOfTurnPending = false;
    game.startOfTurnReadings.clear();
    forgetComputerPlans();
    keepTurnEnd(game, std::move(readings));
    return Flow::startOfTurn;
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
    setClockReadingHandler(keepClockReading);
    seatsGame = &game;
    setGiveUpHandler(handOverSeat);
    resetRecovery();
    forgetTurnEnd();
    for (;;) {
        currentFlow = next;
        // Back at the title or the menu, no game is under way or over.
        if (next == Flow::title || next == Flow::mainMenu) {
            resetRecovery();
            forgetTurnEnd();
            forgetReportCopies();
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
            case Flow::startOfTurn:
                next = startOfTurn(game);
                forgetTurnEnd();
                break;
            case Flow::createOnline: next = onlineCreation(game); break;
            case Flow::waiting: next = waitingWindow(game); break;
            case Flow::seatSetUp: next = seatSetUpTurn(game); break;
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
