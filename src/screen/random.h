#pragma once
// The game's random numbers: MT19937 with its own seeding from a double.
#include <cstdint>

void seedRandom(double x);
// What seeding keeps of x: truncated toward zero to 64 bits, then the low 32
// bits, as a signed number. seedRandom(seedWord(x)) seeds as seedRandom(x).
int32_t seedWord(double x);
double randomUnit();
// The next `count` randomUnit() values, in order, in one call.
void randomUnits(double* out, int count);

// The next tempered 32-bit word; randomUnit() is this divided by 2^32.
uint32_t randomWord();
// For tests: the 624 words of the state and the position in them.
const uint32_t* randomState();
int randomPosition();
