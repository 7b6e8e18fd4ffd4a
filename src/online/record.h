#pragma once
// The record of one seat's turn: what a client writes to the server when the
// turn ends, and what every other seat reads to check it by playing it again.
// Plain text, LF lines:
//   colonies turn 1
//   turn N            1, 2, ... in the order turns were played; 0 the game
//                     as set up, with nothing before it
//   seat S            1 to 5
//   before HASH       16 hex digits: the hash of the record before (0s first)
//   key HEX           each key of the turn, its bytes in hex ...
//   clock N           ... with each clock reading where the turn took it
//   next N            the readings the next seat's start of turn will use
//   game BYTES        then exactly BYTES bytes of the saved game
//   end
// The reader is strict: anything else, in another order, or too large is
// refused whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A key of the turn, or (key empty) a clock reading taken at that point.
struct RecordedInput {
    std::string key;
    int32_t clock = 0;
    bool operator==(const RecordedInput& other) const { return key == other.key && clock == other.clock; }
};

struct TurnRecord {
    int32_t turn = 1;
    int32_t seat = 1;
    uint64_t before = 0;
    std::vector<RecordedInput> inputs;
    std::vector<int32_t> nextClock;
    std::string game;  // the saved game at the end of the turn, as savedGameText gives it
};

constexpr int largestSeat = 5;
// A turn of a person or a computer seat stays far below these; a longer
// record is damaged or not ours, and is refused unread.
constexpr size_t largestTurnRecord = 512 * 1024;
constexpr size_t largestRecordInputs = 40000;
constexpr size_t largestNextClock = 64;

// FNV-1a, 64 bits: a few lines the same on every platform, enough to tell a
// damaged or misplaced record from the one a seat read. It is no seal against
// a forger; replaying the turn is what checks a record's contents.
uint64_t recordHash(const std::string& text);
std::string hashText(uint64_t hash);

// "turns/000012": the record's file below the game's folder.
std::string turnRecordPath(int32_t turn);

std::string turnRecordText(const TurnRecord& record);
// False (and `record` untouched) unless the whole text is one good record.
bool readTurnRecord(const std::string& text, TurnRecord& record);

// Checks records read in order: each must be whole, number its turn one past
// the one before, and hold the hash of the text before it (`before` and
// `firstTurn` for the first: what the chain so far ends with). Returns the
// index of the first bad one, or -1 when all are good.
int firstBrokenRecord(const std::vector<std::string>& texts, uint64_t before, int32_t firstTurn);
