#include "game/flow.h"

#include <algorithm>

#include "game/setup.h"
#include "online/record.h"
#include "screen/backend_headless.h"
#include "model/options.h"
#include "model/savegame.h"
#include "model/texttable.h"
#include "screen/clockseed.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "screen/snapshot.h"
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
        case Flow::turnEndMenu:
        // An online game waiting for a turn elsewhere goes on from its
        // newest record when it is continued.
        case Flow::waiting: saveRecoveryGame(*runningGame); break;
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
    // An online game goes on from its newest record: a turn left half played
    // starts again, with the same readings.
    if (onlineGame(game)) {
        game.startOfTurnPending = false;
        game.startOfTurnReadings.clear();
        return Flow::waiting;
    }
    if (!game.startOfTurnPending) {
        beginLocalRecords(game, {}, true);
        return Flow::gameEntry;
    }
    std::vector<int32_t> readings = std::move(game.startOfTurnReadings);
    beginLocalRecords(game, readings);
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

namespace {

// A recorded turn played again reads its keys from its record, whoever's seat it is.
bool replaying = false;
bool replayPassed = false;
KeySource replaySource;
int replayPause = 0;
constexpr int replayOwner = 100;
constexpr int paddingKeys = 200;
struct RecordRanOut {};

}  // namespace

void useKeysOfSeat(const GameState& game, int seat, SeatTask task) {
    if (replaying) {
        useKeySource(replayOwner, replaySource, replayPause);
        return;
    }
    const int p = playerSlot(seat);
    if (!game.tablesExist || game.seatLevel[p] == seatPerson) {
        useKeyboard();
        return;
    }
    useKeySource(p, [&game, p, task] { return computerKey(game, p, task); }, paceMilliseconds(options().pace));
}

namespace {

// The screens of one seat's turn, from its set-up or its start to its end.
bool turnFlow(Flow f) {
    return f == Flow::seatSetUp || f == Flow::startOfTurn || f == Flow::gameEntry || f == Flow::turnScreen ||
           f == Flow::gameMenu || f == Flow::turnEndMenu;
}

Flow turnStep(GameState& game, Flow f) {
    switch (f) {
        case Flow::seatSetUp: return seatSetUpTurn(game);
        case Flow::startOfTurn: return startOfTurn(game);
        case Flow::gameEntry: return gameEntry(game);
        case Flow::turnScreen: return turnScreen(game);
        default: return gameMenu(game);
    }
}

}  // namespace

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
        // The menu over the waiting window is the keyboard's, whoever's turn is played elsewhere.
        if (next != Flow::gameMenu) leaveMenuOverWaiting();
        const bool turn = next == Flow::startOfTurn || next == Flow::gameEntry || next == Flow::turnScreen ||
                          (next == Flow::gameMenu && !menuOverWaiting());
        if (turn || next == Flow::seatSetUp)
            useKeysOfSeat(game, game.currentPlayer, SeatTask::turn);
        else
            useKeyboard();
        // A turn is kept key by key from its start, online or not.
        if (next == Flow::startOfTurn || next == Flow::seatSetUp) {
            if (onlineGame(game))
                onlineTurnStarts(game);
            else
                localTurnStarts(game);
        }
        if (next == Flow::title || next == Flow::mainMenu) {
            onlineTurnAbandoned();
            endLocalRecords();
        }
        if (!onlineGame(game)) onlineTurnAbandoned();
        if (turnFlow(next)) {
            const bool started = next == Flow::startOfTurn;
            next = turnStep(game, next);
            if (started) forgetTurnEnd();
            continue;
        }
        switch (next) {
            case Flow::title: next = titleScreen(game); break;
            case Flow::mainMenu: next = mainMenu(game); break;
            case Flow::options: next = optionsWindow(game); break;
            case Flow::createOnline: next = onlineCreation(game); break;
            case Flow::waiting: next = waitingWindow(game); break;
            case Flow::end: endProgram();
            default: break;
        }
    }
}

void runProgram() {
    static GameState game;
    startUp(game);
    runFlow(game, joiningAtStart() ? Flow::waiting : Flow::title);
}

bool replayingRecordedTurn() { return replaying; }
void recordedTurnPassed() { replayPassed = true; }

namespace {

enum class Replayed { ended, ranOut, leftTurn };

// Plays `record`'s turn on `game` through the turn's own screens, with its
// keys at `pauseMs` each. The flow's own state (what a close keeps, the
// handler of clock readings) is put back afterwards.
Replayed playTurnAgain(GameState& game, const std::vector<int32_t>& readings, const TurnRecord& record,
                       int pauseMs, bool& inputsWhole) {
    const GameState* keptRunning = runningGame;
    const Flow keptFlow = currentFlow;
    const GameState keptTurnEnd = turnEnd;
    const bool keptTurnEndKept = turnEndKept;
    setClockReadingHandler(nullptr);

    std::vector<std::string> keys;
    std::vector<int32_t> clocks;
    for (const RecordedInput& input : record.inputs) {
        if (input.key.empty())
            clocks.push_back(input.clock);
        else
            keys.push_back(input.key);
    }
    size_t nextKey = 0;
    int padded = 0;
    replaySource = [&keys, &nextKey, &padded, &game]() -> std::string {
        if (nextKey < keys.size()) return keys[nextKey++];
        // Past its record's end the turn is led out of its screens to its
        // end, as a computer seat that cannot end its turn is (the check
        // fails all the same); only a turn even that cannot end is left
        // by an exception, which the page, built without them, cannot catch.
        if (++padded > paddingKeys) throw RecordRanOut{};
        const int32_t entry = std::clamp<int32_t>(game.selectedCommand, 1, 13);
        if (readCell(2, 2).character == 201 && readCell(entry + 2, 3).character == 175) return keyRight;
        return padded % 2 == 1 ? keyEsc : keySpace;
    };
    replayPause = pauseMs;
    replaying = true;
    replayPassed = false;
    forgetComputerPlans();
    beginClockReadings(readings);
    useScriptedClock(clocks);
    Flow flow = game.playerName[playerSlot(game.currentPlayer)].empty() ? Flow::seatSetUp : Flow::startOfTurn;
    Replayed result = Replayed::ended;
    try {
        while (!replayPassed) {
            if (!turnFlow(flow)) {
                result = Replayed::leftTurn;
                break;
            }
            useKeySource(replayOwner, replaySource, replayPause);
            const bool started = flow == Flow::startOfTurn;
            flow = turnStep(game, flow);
            if (started) endClockReadings();
        }
    } catch (const RecordRanOut&) {
        result = Replayed::ranOut;
    }
    if (padded > 0) result = Replayed::ranOut;
    const bool clockWhole = stopScriptedClock();
    inputsWhole = clockWhole && nextKey == keys.size();
    endClockReadings();
    replaying = false;
    replaySource = nullptr;
    useKeyboard();
    // A screen left by the record's end holds nothing any more; the game the
    // program keeps is the one it had.
    resetRecovery();
    forgetReportCopies();
    forgetComputerPlans();
    runningGame = keptRunning;
    currentFlow = keptFlow;
    turnEnd = keptTurnEnd;
    turnEndKept = keptTurnEndKept;
    setClockReadingHandler(keepClockReading);
    return result;
}

}  // namespace

bool checkRecordedTurn(GameState game, const std::vector<int32_t>& readings, const TurnRecord& record,
                       std::string& why) {
    if (game.currentPlayer != record.seat) {
        why = "seat " + std::to_string(record.seat) + " is not the one to play";
        return false;
    }
    Backend* shown = currentBackend();
    static HeadlessBackend unseen;
    unseen.script.clear();
    unseen.nextKey = 0;
    installBackend(&unseen);
    bool whole = false;
    const Replayed result = playTurnAgain(game, readings, record, 0, whole);
    installBackend(shown);
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    clearScreen();
    std::string text;
    if (result == Replayed::ranOut) {
        why = "its keys end before the turn does";
    } else if (result == Replayed::leftTurn) {
        why = "its keys leave the game";
    } else if (!whole) {
        why = "the turn ends before its keys do";
    } else if (!savedGameText(game, text) || text != record.game) {
        why = "the game it holds is not the one its keys make";
    } else {
        return true;
    }
    return false;
}

void watchRecordedTurn(GameState& game, const std::vector<int32_t>& readings, const TurnRecord& record) {
    bool whole = false;
    playTurnAgain(game, readings, record, paceMilliseconds(options().pace), whole);
    setScreenMode(640, 480, 8);
    setTextGrid(80, 30);
    clearScreen();
}

Flow gameEntry(GameState& game) {
    // A game just loaded, or a new turn: computer seats plan afresh.
    forgetComputerPlans(true);
    clearScreen();
    game.selectedCommand = 1;
    drawStarfield();
    return Flow::turnScreen;
}
