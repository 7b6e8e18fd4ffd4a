#pragma once
// The player's choices for the next new game: who sits at each of the five
// seats, how fast computer turns go by, the language the game starts in and
// how a game with seats elsewhere is played. They live in a small file of the
// game's field format in the game folder.
#include <cstdint>
#include <string>

// Who plays a seat: a person, or the computer at one of three levels. A
// game's seats take only these; the options also have a person elsewhere,
// who plays the seat through the game's server.
enum SeatLevel : int32_t { seatPerson = 0, seatEasy = 1, seatNormal = 2, seatHard = 3 };
constexpr int32_t seatElsewhere = 4;
// How a computer turn goes by: a key about every 150 ms, every 20 ms, or at once.
enum Pace : int32_t { paceWatch = 0, paceQuick = 1, paceInstant = 2 };
enum Language : int32_t { languagePolish = 0, languageEnglish = 1 };

constexpr int optionSeats = 5;
constexpr const char* optionsFile = "options.cfg";

struct Options {
    int32_t seat[optionSeats + 1] = {};  // seats 1 to 5
    int32_t pace = paceWatch;
    int32_t language = languagePolish;
    // For a game with seats elsewhere: whether the other seats may watch each
    // turn, after how many silent days the creator may hand a seat to the
    // computer (0 never), and the address told of each turn (may be empty).
    bool watchable = true;
    int32_t handOverDays = 0;
    std::string notify;
};

// The choices of the hand-over days, in the order the options window steps them.
constexpr int32_t handOverChoices[] = {0, 3, 7, 14};
constexpr int handOverChoiceCount = 4;

// The options in use; the defaults until readOptions or the options window
// change them.
Options& options();
// Reads `path`; a missing, short or damaged file gives the defaults. A file
// that ends after the language (as written before online games) keeps what it
// holds and gives the defaults of the online choices, as does a damaged rest.
Options readOptions(const std::string& path);
// False when the file could not be written (the options still hold for this run).
bool writeOptions(const Options& o, const std::string& path);
// Milliseconds between two keys of a computer seat at this pace.
int paceMilliseconds(int32_t pace);
// The language file of a language choice.
const char* languageFile(int32_t language);
