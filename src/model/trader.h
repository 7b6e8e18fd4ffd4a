#pragma once
// The trader: its arrival draw and the transactions of its three markets, as
// functions of the game state and of plain numbers.
#include <cstdint>

#include "model/state.h"

// Offer items: 1 to 4 goods, 5 to 10 equipment, 11 to 14 colonists.
constexpr int firstGoodsItem = 1;
constexpr int firstEquipmentItem = 5;
constexpr int firstColonistItem = 11;
constexpr int32_t colonistPrice = 25;

// Prices of items 1 to 10: a draw below `range`, plus `base`.
struct PriceRange {
    int32_t range, base;
};
extern const PriceRange priceRanges[10];

// A trader comes when the presence draw (0 to 99) is at most structures4 + 40.
bool traderComes(int32_t draw, int32_t structures4);
// Its size is a draw below this.
int64_t traderSizeRange(int32_t structures4);

// The draw at the start of a turn, for a colony with `structures4`: whether a
// trader is present and, if so, a whole new offer. Every draw is made in its
// order, also for a trader of size 0; without a trader nothing but the
// presence draw is made and the old offer stays. True when one is present.
bool drawTrader(GameState& game, int32_t structures4);

enum class TradeKey { buyOne, sellOne, buyMany, sellMany, takeAll };

// A goods row: `held` is the player's good, `quantity` and `price` the offer
// (positive: the trader sells; negative: it buys). Bulk purchases test the
// store's room without the research bonus. False when nothing happened.
bool tradeGoods(TradeKey key, int32_t& held, int32_t& quantity, int32_t price, int32_t& money, int64_t freeStore,
                int64_t baseFreeStore);
// An equipment row: `units` owned and, for products, `freeUnits` those not
// committed to an operation (null for power plants). Only units both owned
// and free can be sold, and a sale lowers both.
bool tradeEquipment(TradeKey key, int32_t& units, int32_t* freeUnits, int32_t& quantity, int32_t price,
                    int32_t& money);
// A colonist row: bought on credit, so money may go below zero.
bool takeColonists(TradeKey key, int32_t& population, int32_t& workers, int32_t& quantity, int32_t& money,
                   int64_t freeHousing);
