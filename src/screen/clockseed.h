#pragma once
// The clock readings that seed the game's random numbers. A start of turn
// draws its finds, damage and trader from them, so a month continued from a
// recovery save is played from the readings it took before: readings handed
// in are used first, in order, and only then is the clock read.
#include <cstdint>
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
