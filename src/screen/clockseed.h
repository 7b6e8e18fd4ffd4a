#pragma once
// The clock readings that seed the game's random numbers. A start of turn
// draws its finds, damage and trader from them, so a month continued from a
// recovery save is played from the readings it took before: readings handed
// in are used first, in order, and only then is the clock read.
#include <cstdint>
#include <functional>
#include <vector>

// Seeds the generator from the next reading. While readings are recorded the
// reading is kept, and the handler runs before anything is drawn from it.
void seedRandomFromClock();

// Records the readings from here on; `replay` gives the first ones.
void beginClockReadings(std::vector<int32_t> replay);
// Stops recording; handed-in readings left unused are dropped.
void endClockReadings();
// The readings recorded since beginClockReadings, as seedWord gives them.
const std::vector<int32_t>& clockReadings();
void setClockReadingHandler(void (*handler)());

// A turn of an online game keeps every reading it takes from the clock itself
// (not those handed in): the observer is told each. Played again, the turn
// takes them from a script instead, which stands for the clock until stopped.
void setClockObserver(std::function<void(int32_t)> observer);
void useScriptedClock(std::vector<int32_t> script);
// True when the script was used exactly: every reading, and no more.
bool stopScriptedClock();
