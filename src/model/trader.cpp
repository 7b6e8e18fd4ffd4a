#include "model/trader.h"

#include <algorithm>

#include "model/rounding.h"

const PriceRange priceRanges[10] = {{5, 9},      {6, 22},     {35, 85},   {4, 18},    {2000, 3000},
                                    {2500, 3500}, {500, 1000}, {800, 1200}, {1000, 1500}, {2500, 4000}};

bool traderComes(int32_t draw, int32_t structures4) { return draw <= int64_t{structures4} + 40; }

int64_t traderSizeRange(int32_t structures4) { return int64_t{structures4} * 3 + 15; }

namespace {

int32_t signedDraw(int64_t range) {
    const int32_t q = randomBelow(range);
    return randomBelow(2) == 0 ? -q : q;
}

bool fits(int64_t x) { return x >= INT32_MIN && x <= INT32_MAX; }

// Moves `amount` units to the player (negative: from the player) for
// amount x price, when the money stays a 32-bit number.
bool settle(int32_t& held, int32_t& quantity, int32_t& money, int64_t amount, int64_t price) {
    const int64_t newMoney = money - amount * price;
    const int64_t newHeld = held + amount;
    if (!fits(newMoney) || !fits(newHeld)) return false;
    money = static_cast<int32_t>(newMoney);
    held = static_cast<int32_t>(newHeld);
    quantity = static_cast<int32_t>(quantity - amount);
    return true;
}

}  // namespace

bool drawTrader(GameState& game, int32_t structures4) {
    if (!traderComes(randomBelow(100), structures4)) {
        game.traderPresent = 0;
        return false;
    }
    game.traderPresent = 1;
    game.traderSize = randomBelow(traderSizeRange(structures4));
    const int64_t size = game.traderSize;
    for (int i = firstGoodsItem; i < firstEquipmentItem; ++i) game.offerQuantity[i] = signedDraw(size * 25);
    for (int i = firstEquipmentItem; i < firstColonistItem; ++i) game.offerQuantity[i] = signedDraw(size);
    for (int i = firstColonistItem; i < firstColonistItem + 4; ++i) game.offerQuantity[i] = randomBelow(size * 2);
    for (int i = 0; i < 10; ++i) game.offerPrice[i + 1] = randomBelow(priceRanges[i].range) + priceRanges[i].base;
    return true;
}

bool tradeGoods(TradeKey key, int32_t& held, int32_t& quantity, int32_t price, int32_t& money, int64_t freeStore,
                int64_t baseFreeStore) {
    // A price below 1 comes only from an edited file.
    if (price < 1) return false;
    const int64_t q = quantity;
    switch (key) {
        case TradeKey::buyOne:
            return q >= 1 && freeStore >= 1 && money >= price && settle(held, quantity, money, 1, price);
        case TradeKey::sellOne:
            return q <= -1 && held >= 1 && settle(held, quantity, money, -1, price);
        case TradeKey::buyMany:
            return q >= 100 && baseFreeStore >= 100 && money >= 100 * int64_t{price} &&
                   settle(held, quantity, money, 100, price);
        case TradeKey::sellMany:
            // More than 100 held, not 100, as the game always had it.
            return q <= -100 && held >= 101 && settle(held, quantity, money, -100, price);
        case TradeKey::takeAll:
            // The same three tests whatever the sign of the offer.
            return baseFreeStore >= q && money >= q * price && held + q >= 0 &&
                   settle(held, quantity, money, q, price);
    }
    return false;
}

bool tradeEquipment(TradeKey key, int32_t& units, int32_t* freeUnits, int32_t& quantity, int32_t price,
                    int32_t& money) {
    if (price < 1) return false;
    const int64_t q = quantity;
    // Units committed to an operation stay with it.
    const int32_t sellable = freeUnits ? std::min(units, *freeUnits) : units;
    int64_t amount = 0;
    switch (key) {
        case TradeKey::buyOne: amount = q >= 1 && money >= price ? 1 : 0; break;
        case TradeKey::sellOne: amount = q <= -1 && sellable >= 1 ? -1 : 0; break;
        case TradeKey::buyMany: amount = q >= 10 && money >= 10 * int64_t{price} ? 10 : 0; break;
        case TradeKey::sellMany: amount = q <= -10 && sellable >= 11 ? -10 : 0; break;
        case TradeKey::takeAll: break;
    }
    if (amount == 0) return false;
    if (freeUnits && !fits(int64_t{*freeUnits} + amount)) return false;
    if (!settle(units, quantity, money, amount, price)) return false;
    if (freeUnits) *freeUnits = static_cast<int32_t>(*freeUnits + amount);
    return true;
}

bool takeColonists(TradeKey key, int32_t& population, int32_t& workers, int32_t& quantity, int32_t& money,
                   int64_t freeHousing) {
    int64_t amount = 0;
    if (key == TradeKey::buyOne && quantity >= 1 && freeHousing >= 1) amount = 1;
    if (key == TradeKey::buyMany && quantity >= 10 && freeHousing >= 10) amount = 10;
    if (amount == 0 || !fits(int64_t{workers} + amount)) return false;
    if (!settle(population, quantity, money, amount, colonistPrice)) return false;
    workers = static_cast<int32_t>(workers + amount);
    return true;
}
