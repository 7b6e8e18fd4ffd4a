#pragma once
// The arithmetic of expeditions and missions: each formula of a number of
// draws, evaluated in double precision and rounded with the one helper.
#include <cstdint>

// The success roll: a tenth off on home world 1, rounded.
int32_t expeditionRoll(int32_t draw, int32_t homeWorld);
// Success for a length of 1, 2 or 3 months when the roll is at most
// w1 x 0.25 + w3 + 25, 50 or 80; any other length fails.
bool expeditionSucceeds(int32_t roll, int32_t length, int32_t workers1, int32_t workers3);
// A find: the draw (0 to 999) plus 10 per person of kind 1 and 50 per person
// of kind 3, then 15 % more on home world 1, 5 % more on 2, 10 % less on 3.
int32_t expeditionFind(int32_t draw, int32_t workers1, int32_t workers3, int32_t homeWorld);
// Losses strike below 31, 36 or 41 for a length of 1, 2 or 3.
bool lossesStrike(int32_t roll, int32_t length);
// The range of a loss draw: half the crew, unrounded, so one person is never lost.
double lossRange(int32_t crew);

// Each month on the way trouble strikes below this draw of 0 to 99 and costs
// a draw below missionDamageRange per cent; the damage is held to 70 %.
constexpr int32_t missionTroubleChance = 16;
constexpr int32_t missionDamageRange = 30;
constexpr int32_t highestMissionDamage = 70;
// Food per person of the crew: lowestMissionRate plus a draw below missionRateRange.
constexpr int32_t lowestMissionRate = 15;
constexpr int32_t missionRateRange = 4;
int32_t missionDamage(int32_t percent, int32_t draw);
// The food a mission brings: rate x crew, adjusted by home world (10 % less on
// 1, 15 % less on 2, 20 % more on 3), a tenth more per level of research
// field 4, less the damage percentage; each step rounded.
int32_t missionIncome(int32_t rate, int32_t crew, int32_t homeWorld, int32_t field4Level, int32_t damagePercent);
// What of the income the store takes: no more than its free room, never
// less than nothing (an overfull store must not lose food).
int32_t foodStored(int32_t income, int64_t freeRoom);
