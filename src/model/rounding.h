#pragma once
// The one way a computed value becomes a game number.
#include <cstdint>

// Nearest integer, ties to the even one. Values beyond the 32-bit range (only
// reachable from a hand-edited saved game) stop at its ends; not-a-number is 0.
int32_t roundToInt(double x);
// The 32-bit number nearest to a 64-bit one, for showing a sum or product
// that only an edited file can push past the range.
int32_t nearestInt32(int64_t x);

// Rounded down, for the values a rule takes whole (random draws), with the
// same ends and not-a-number as roundToInt.
int32_t floorToInt(double x);
// One random draw: floor(randomUnit() x n), from 0 to n - 1. The draw is made
// whatever n is, so a range of 0 or less never shifts the sequence.
int32_t randomBelow(int64_t n);
