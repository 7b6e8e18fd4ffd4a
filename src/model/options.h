#pragma once
// The player's choices for the next new game: who sits at each of the five
// seats, how fast computer turns go by, and the language the game starts in.
// They live in a small file of the game's field format in the game folder.
#include <cstdint>
#include <string>

// Who plays a seat: a person, or the computer at one of three levels.
enum SeatLevel : int32_t { seatPerson = 0, seatEasy = 1, seatNormal = 2, seatHard = 3 };
// How a computer turn goes by: a key about every 150 ms, every 20 ms, or at once.
enum Pace : int32_t { paceWatch = 0, paceQuick = 1, paceInstant = 2 };
enum Language : int32_t { languagePolish = 0, languageEnglish = 1 };

constexpr int optionSeats = 5;
constexpr const char* optionsFile = "options.cfg";

struct Options {
    int32_t seat[optionSeats + 1] = {};  // seats 1 to 5
    int32_t pace = paceWatch;
    int32_t language = languagePolish;
};

// The options in use; the defaults until readOptions or the options window
// change them.
Options& options();
// Reads `path`; a missing, short or damaged file gives the defaults.
Options readOptions(const std::string& path);
// False when the file could not be written (the options still hold for this run).
bool writeOptions(const Options& o, const std::string& path);
// Milliseconds between two keys of a computer seat at this pace.
int paceMilliseconds(int32_t pace);
// The language file of a language choice.
const char* languageFile(int32_t language);
