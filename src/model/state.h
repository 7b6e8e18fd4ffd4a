#pragma once
// The one game-state record: calendar, turn order, cursors, trader, and the
// per-player tables. Every table has 7 slots (players 1 to playerCount are
// used) and the research tables 7 x 10 (fields 1 to 9 are used).
#include <cstdint>
#include <string>
#include <vector>

#include "model/history.h"

#include "model/texttable.h"

constexpr int playerSlots = 7;
constexpr int researchFields = 10;
constexpr int offerSlots = 16;

using PlayerTable = int32_t[playerSlots];
using ResearchTable = int32_t[playerSlots][researchFields];

// Where the program goes next: each screen returns one of these and one loop
// dispatches, so the stack never grows however long a game runs.
// turnEndMenu: the game menu at the end of a computer turn, on the keyboard.
// createOnline: a new game with seats elsewhere goes onto its server after
// its set-up; waiting: another seat's turn is played elsewhere; seatSetUp: a
// seat elsewhere names itself and chooses its world as its first turn starts.
enum class Flow {
    title,
    mainMenu,
    options,
    gameEntry,
    turnScreen,
    gameMenu,
    turnEndMenu,
    startOfTurn,
    createOnline,
    waiting,
    seatSetUp,
    end
};

// Every per-player and research table but the names, all plain numbers.
struct PlayerTables {
    PlayerTable playerActive, homeWorld, famineGrace, money;
    PlayerTable goods1, goods2, goods3, goods4;
    PlayerTable population1, population2, population3, population4;
    PlayerTable workers1, workers2, workers3, workers4;
    PlayerTable deposit1, deposit2, deposit3, output1, output2, output3;
    PlayerTable housing, storehouses, workshops, structures4, labs, structures6, powerPlants;
    PlayerTable powerInUse, buildPower, orderPower, outputPower, otherPower;
    PlayerTable buildType, buildCount, buildMonths, buildWorkers1, buildWorkers2, buildWorkers3;
    PlayerTable orderType, orderCount, orderMonths, orderWorkers1, orderWorkers2, orderWorkers3;
    ResearchTable techLevel, labsAssigned, researchDone, researchNeeded;
    PlayerTable freeLabs, researchStaff;
    PlayerTable expeditionWorkers1, expeditionWorkers3, expeditionMonths, expeditionLength, expeditionSent,
        expeditionProgress;
    PlayerTable missionWorkers, missionSent, missionMonths, missionPercent;
    PlayerTable units1, units2, units3, units4, units5;
    PlayerTable freeUnits1, freeUnits2, freeUnits3, freeUnits4, freeUnits5;
    PlayerTable raidTarget, raidUnits3, raidUnits4;
    PlayerTable forceTarget, forceWorkers4, forceUnits1, forceUnits2, forceUnits3, forceUnits5;
    PlayerTable spare1, spare2, spare3, spare4, spare5, spare6, spare7;
};

struct GameState : PlayerTables {
    GameState() : PlayerTables{} {}

    // Scalars.
    int32_t year = 2090;
    int32_t month = 1;
    int32_t playerCount = 0;
    int32_t currentPlayer = 1;
    int32_t selectedCommand = 0;
    int32_t menuCursor = 1;
    int32_t newGameFlag = 0;
    std::string fileName;
    int32_t traderPresent = 0;
    int32_t traderSize = 0;
    int32_t offerQuantity[offerSlots] = {};
    int32_t offerPrice[offerSlots] = {};
    int32_t storeFill = 0;
    int32_t housingFill = 0;
    int32_t bannerNameWidth = 0;

    // Fixed copies of text lines, taken once at start-up.
    std::string shortfallText[9];
    std::string fieldName[10];
    std::string titleText[6][3];
    // The program's own words (ownWord): its Polish literals, or these copies
    // when the fixed copies were taken from the English file.
    bool englishWords = false;
    std::string ownWords[ownWordCount];

    // Screen-local tables that live as long as the program.
    int32_t shortfallFlag[9] = {};
    int32_t fieldLevelledUp[10] = {};
    int32_t constructionTemplate[5][4] = {};

    // Per-player tables exist between dimensionTables and releaseTables.
    bool tablesExist = false;
    std::string playerName[playerSlots];
    // Who plays each seat (a person, or the computer at a level); kept in a
    // saved game after its last value.
    int32_t seatLevel[playerSlots] = {};
    // A start of turn still to be played, as a recovery save written during
    // one holds it: the game as the turn before ended, and the clock readings
    // the start of turn had taken, to be taken again in order.
    bool startOfTurnPending = false;
    std::vector<int32_t> startOfTurnReadings;
    // Each colony's population and money month by month; kept in a saved
    // game after the seats.
    ColonyHistory history;
    // A game played through a server; its id is empty for a game at one
    // keyboard. Kept in a saved game after the history, but `elsewhere`: that
    // is each client's own (its seat file).
    struct Online {
        std::string id;
        bool watchable = true;     // the other seats may watch a turn as played
        int32_t handOverDays = 0;  // the creator may give a seat idle this long to the computer; 0 never
        std::string notify;        // an address told of each turn, or empty
        bool elsewhere[playerSlots] = {};
    } online;
};

// A loaded file could name any player; outside the tables the unused slot 0 stands in.
inline int playerSlot(int32_t player) { return player >= 0 && player < playerSlots ? player : 0; }

// Start-up values of the scalars, trader tables cleared.
void setStartupValues(GameState& game);
// The calendar back to January 2090, player 1 to move, no trader.
void resetCalendarAndTrader(GameState& game);
// Creates every per-player and research table, all zero and names empty, and
// clears the construction template.
void dimensionTables(GameState& game);
// Discards every per-player and research table.
void releaseTables(GameState& game);
