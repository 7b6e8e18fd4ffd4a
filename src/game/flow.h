#pragma once
#include "computer/computer.h"
#include "model/state.h"

#include <string>
#include <vector>

// Runs the game from start-up until the program ends.
void runProgram();

// Start-up: text table, start-up values, fixed text copies.
void startUp(GameState& game);
// Runs screens from `next` on, each returning where to go, until the end.
[[noreturn]] void runFlow(GameState& game, Flow next);

// The game as a turn has ended and passed on (or as a new game's set-up left
// it): what a recovery save writes while the next start of turn runs, with
// the clock readings that start of turn takes. `readings` are the ones it
// took before, when it is played again from a recovery save.
void keepTurnEnd(const GameState& game, std::vector<int32_t> readings = {});
// Where a game just read from a file goes: the game entry, or the start of
// turn a recovery save was written in, played again with its readings.
Flow gameLoaded(GameState& game);

// The main menu tells why the last program run could not keep its game: an
// errno value, 0 for a game no file could hold, -1 when nothing failed.
void noteLastGameNotKept(int error);

// The screens of the program's spine; each returns where to go next.
Flow titleScreen(GameState& game);
Flow mainMenu(GameState& game);
// The options window over the title picture; back to the main menu.
Flow optionsWindow(GameState& game);
Flow gameEntry(GameState& game);
Flow gameMenu(GameState& game);

// Online games. A new game with seats elsewhere goes onto the server; the
// waiting window shows whose turn is played elsewhere, checks each turn that
// comes in and watches it, and gives the turn to this client's seat when it
// comes; a seat elsewhere starts its first turn with its own set-up.
Flow onlineCreation(GameState& game);
Flow waitingWindow(GameState& game);
Flow seatSetUpTurn(GameState& game);
// The program starts by joining the game of an invitation link (--join, the
// page's #g=ID&s=SEAT) instead of showing the title.
void setJoinLink(const std::string& link);
// The main menu's window of online games (this client's, and joining one by
// link), and the hint that shows its key once a server is set or a game kept.
Flow onlineGamesWindow(GameState& game);
bool onlineGamesShown();
void printOnlineGamesHint();
// The game menu opened by Esc in the waiting window (resume goes back there).
bool menuOverWaiting();
void leaveMenuOverWaiting();
// Seconds between two questions to the server while nothing changes (30; tests less).
void setOnlinePollSeconds(int32_t seconds);
bool onlineGame(const GameState& game);
// A turn of this client's seat starts: its keys and clock readings are kept
// from here; at its end they go into its record, which is kept and committed.
void onlineTurnStarts(GameState& game);
void onlineTurnAbandoned();
Flow onlineTurnEnded(GameState& game);

// Plays a recorded turn again from `game` (as the record before it left it,
// its next start of turn taking `readings`), from the record's keys and
// clock readings: checked headless, each key at once; true when the turn
// ended exactly where its keys did with the game its record holds, else
// `why` says what differed. Nothing is saved or sent meanwhile.
struct TurnRecord;
bool checkRecordedTurn(GameState game, const std::vector<int32_t>& readings, const TurnRecord& record,
                       std::string& why);
// The same turn shown as it was played, at the pace of computer turns;
// Space or Enter hurries it to its end. Only for a turn already checked.
void watchRecordedTurn(GameState& game, const std::vector<int32_t>& readings, const TurnRecord& record);
// A record without keys that hands its seat, a person's, to the computer:
// the game's maker did that to a seat silent too long.
bool handsOver(const GameState& before, const TurnRecord& record);
// True while a recorded turn is played again: nothing may be written.
bool replayingRecordedTurn();
// The turn screen says a recorded turn played again has ended.
void recordedTurnPassed();
// Whether the program was given a link to join at its start.
bool joiningAtStart();

// A game at one keyboard keeps its turns' records too (records/ID/): a new
// game's or a loaded game's folder starts with the game as it is (`next`:
// the readings its start of turn is handed), or, loaded in the middle of a
// turn, when that turn ends.
void beginLocalRecords(const GameState& game, const std::vector<int32_t>& next, bool fromNextTurn = false);
void localTurnStarts(const GameState& game);
void localTurnAbandoned();
void localTurnEnded(const GameState& game);
void endLocalRecords();
// The keys the screens read and the clock readings taken go into `record`
// from now on (null: nowhere).
void recordTurnInputs(TurnRecord* record);

// Whose keys the screens read from now on: the keyboard's, or those of the
// computer player of `seat` when the game gives that seat to the computer.
void useKeysOfSeat(const GameState& game, int seat, SeatTask task);
// The seat in slot p was the computer's and could not end its turn: a window
// says so, and a person plays it from now on.
void seatHandedOver(GameState& game, int p);
