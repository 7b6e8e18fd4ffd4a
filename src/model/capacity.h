#pragma once
// What the current player's colony can hold: store, housing and power, derived
// from its structures and research whenever needed and never stored.
#include <cstdint>

struct GameState;

// 500 per storehouse plus 10% per level of research field 2; bounds the four goods.
int32_t storeCapacity(const GameState& game);
// 50 per housing structure plus 10% per level of research field 1; bounds the population.
int32_t housingCapacity(const GameState& game);
// 30 per power plant plus 10% per level of research field 5.
int32_t powerCapacity(const GameState& game);
// The same three, the month's power demand and the base free room for any
// player's colony (slot p): the computer seats plan with these.
int32_t storeCapacity(const GameState& game, int p);
int32_t housingCapacity(const GameState& game, int p);
int32_t powerCapacity(const GameState& game, int p);
int32_t powerDemand(const GameState& game, int p);
int64_t baseFreeRoom(const GameState& game, int p);

// What the store can still take: its capacity less the four goods, in 64 bits
// so that no saved values can make it wrap.
int64_t freeRoom(const GameState& game);
// The same for any player's colony (slot p).
int64_t freeRoom(const GameState& game, int p);
int64_t freeHousing(const GameState& game, int p);
// Store room without the research bonus: 500 per storehouse less the goods.
int64_t baseFreeRoom(const GameState& game);
// Housing capacity less the people housed.
int64_t freeHousing(const GameState& game);
// The month's power demand: the terms of construction, orders, outputs and
// otherPower, and one unit per structure of the first five kinds.
int32_t powerDemand(const GameState& game);

// Goods in store and people housed, summed the way the game sums them (32 bits, wrapping).
int32_t goodsInStore(const GameState& game);
int32_t peopleHoused(const GameState& game);

// The Stores window warns from 85 % full, unrounded; a store of no capacity
// (only from an edited file) is full.
bool storeNearlyFull(int64_t stored, int64_t capacity);

// Percentage for a status bar: amount / (capacity / 100), rounded half to even.
// A capacity of 0 shows a full bar (100); the result always fits 32 bits.
int32_t fillPercent(int32_t amount, int32_t capacity);
