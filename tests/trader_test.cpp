#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/capacity.h"
#include "model/invariants.h"
#include "model/state.h"
#include "model/trader.h"
#include "commands/trader.h"
#include "screen/random.h"
#include "turn_fixture.h"

namespace {

// The first seed from 1 on whose first draw floor(rnd x 100) is `d`.
double seedForFirstDraw(int d) {
    for (double seed = 1;; ++seed) {
        seedRandom(seed);
        if (static_cast<int>(std::floor(randomUnit() * 100)) == d) return seed;
    }
}

TEST(TraderDraw, PresenceFollowsTheFirstDraw) {
    const struct {
        int d;
        int32_t structures4;
        bool present;
        int draws;
    } cases[] = {
        {40, 0, true, 36}, {41, 0, false, 1}, {99, 59, true, 36}, {99, 58, false, 1}, {0, 0, true, 36},
    };
    for (const auto& c : cases) {
        GameState game;
        game.traderSize = 7;
        game.offerQuantity[3] = 55;
        seedRandom(seedForFirstDraw(c.d));
        EXPECT_EQ(drawTrader(game, c.structures4), c.present) << "d " << c.d << ", structures4 " << c.structures4;
        EXPECT_EQ(game.traderPresent, c.present ? 1 : 0);
        // Presence, size, 4 x 2 goods, 6 x 2 equipment, 4 colonists, 10 prices.
        EXPECT_EQ(randomPosition(), c.draws) << "d " << c.d;
        if (!c.present) {
            EXPECT_EQ(game.traderSize, 7) << "the old offer stays";
            EXPECT_EQ(game.offerQuantity[3], 55);
        }
    }
}

TEST(TraderDraw, SizeZeroStillMakesEveryDraw) {
    GameState game;
    // -5 structures (only from a file): the size range is 0.
    seedRandom(seedForFirstDraw(10));
    ASSERT_TRUE(drawTrader(game, -5));
    EXPECT_EQ(randomPosition(), 36);
    EXPECT_EQ(game.traderSize, 0);
    for (int i = 1; i <= 14; ++i) EXPECT_EQ(game.offerQuantity[i], 0) << "item " << i;
}

TEST(TraderDraw, OfferPinnedForOneSeed) {
    GameState game;
    seedRandom(2090);
    ASSERT_TRUE(drawTrader(game, 59));
    EXPECT_EQ(game.traderSize, 11);
    EXPECT_EQ(std::vector<int32_t>(game.offerQuantity + 1, game.offerQuantity + 15), (std::vector<int32_t>{241, 172, 246, 20, -3, -6, -6, 7, -10, -9, 11, 18, 7, 20}));
    EXPECT_EQ(std::vector<int32_t>(game.offerPrice + 1, game.offerPrice + 11), (std::vector<int32_t>{10, 24, 93, 21, 3985, 4448, 1023, 1359, 2177, 6440}));
}

TEST(TraderDraw, PricesStayInTheirRanges) {
    const int32_t low[10] = {9, 22, 85, 18, 3000, 3500, 1000, 1200, 1500, 4000};
    const int32_t high[10] = {13, 27, 119, 21, 4999, 5999, 1499, 1999, 2499, 6499};
    GameState game;
    seedRandom(7);
    for (int n = 0; n < 2000; ++n) {
        if (!drawTrader(game, 59)) continue;
        for (int i = 0; i < 10; ++i) {
            ASSERT_GE(game.offerPrice[i + 1], low[i]) << "item " << i + 1;
            ASSERT_LE(game.offerPrice[i + 1], high[i]) << "item " << i + 1;
        }
        for (int i = 11; i <= 14; ++i) ASSERT_GE(game.offerQuantity[i], 0) << "colonists are never wanted";
    }
}

TEST(Market, Goods) {
    using K = TradeKey;
    const struct {
        const char* name;
        K key;
        int32_t held, quantity, price, money;
        int64_t freeStore, baseFreeStore;
        bool done;
        int32_t wantHeld, wantQuantity, wantMoney;
    } cases[] = {
        {"one unit fits the research bonus", K::buyOne, 0, 500, 10, 1000, 150, 50, true, 1, 499, 990},
        {"4 needs 100 of base room", K::buyMany, 0, 500, 10, 5000, 150, 50, false, 0, 500, 5000},
        {"4 buys 100", K::buyMany, 0, 500, 10, 1000, 150, 100, true, 100, 400, 0},
        {"4 with the money for 99", K::buyMany, 0, 500, 10, 999, 150, 100, false, 0, 500, 999},
        {"4 with 99 of base room", K::buyMany, 0, 500, 10, 1000, 150, 99, false, 0, 500, 1000},
        {"money equal to the price", K::buyOne, 0, 5, 10, 10, 1, 1, true, 1, 4, 0},
        {"the last one on offer", K::buyOne, 0, 1, 10, 10, 1, 1, true, 1, 0, 0},
        {"nothing on offer", K::buyOne, 0, 0, 10, 10, 1, 1, false, 0, 0, 10},
        {"4 takes an offer of exactly 100", K::buyMany, 0, 100, 1, 100, 100, 100, true, 100, 0, 0},
        {"4 on an offer of 99", K::buyMany, 0, 99, 1, 100, 100, 100, false, 0, 99, 100},
        {"Right to a trader that wants exactly one", K::sellOne, 5, -1, 10, 0, 0, 0, true, 4, 0, 10},
        {"6 to a trader that wants exactly 100", K::sellMany, 101, -100, 1, 0, 0, 0, true, 1, 0, 100},
        {"6 to a trader that wants 99", K::sellMany, 101, -99, 1, 0, 0, 0, false, 101, -99, 0},
        {"money one short", K::buyOne, 0, 5, 10, 9, 1, 1, false, 0, 5, 9},
        {"6 with exactly 100 held", K::sellMany, 100, -300, 10, 0, 0, 0, false, 100, -300, 0},
        {"6 with 101 held", K::sellMany, 101, -300, 10, 0, 0, 0, true, 1, -200, 1000},
        {"Right sells the last one", K::sellOne, 1, -3, 10, 0, 0, 0, true, 0, -2, 10},
        {"Right to a trader that sells", K::sellOne, 5, 3, 10, 0, 0, 0, false, 5, 3, 0},
        {"5 on -30 with 20 held", K::takeAll, 20, -30, 10, 0, 100, 100, false, 20, -30, 0},
        {"5 on -30 with 30 held", K::takeAll, 30, -30, 10, 0, 100, 100, true, 0, 0, 300},
        {"5 buys all that fits", K::takeAll, 0, 40, 10, 400, 40, 40, true, 40, 0, 0},
        {"5 finds no base room", K::takeAll, 0, 40, 10, 400, 100, 39, false, 0, 40, 400},
        {"5 on -30 fails when the store is over its base", K::takeAll, 30, -30, 10, 0, -31, -31, false, 30, -30, 0},
        {"a price of 0 trades nothing", K::sellOne, 5, -5, 0, 0, 0, 0, false, 5, -5, 0},
        {"money up to the most there is", K::sellOne, 5, -5, 10, INT32_MAX - 10, 0, 0, true, 4, -4, INT32_MAX},
        {"money past 32 bits trades nothing", K::sellOne, 5, -5, 10, INT32_MAX - 5, 0, 0, false, 5, -5,
         INT32_MAX - 5},
    };
    for (const auto& c : cases) {
        int32_t held = c.held, quantity = c.quantity, money = c.money;
        EXPECT_EQ(tradeGoods(c.key, held, quantity, c.price, money, c.freeStore, c.baseFreeStore), c.done) << c.name;
        EXPECT_EQ(held, c.wantHeld) << c.name;
        EXPECT_EQ(quantity, c.wantQuantity) << c.name;
        EXPECT_EQ(money, c.wantMoney) << c.name;
    }
}

TEST(Market, EquipmentSellsOnlyFreeUnits) {
    using K = TradeKey;
    const struct {
        const char* name;
        K key;
        int32_t units, freeUnits, quantity;
        bool done;
        int32_t wantUnits, wantFree;
    } cases[] = {
        {"sell one of two free", K::sellOne, 5, 2, -10, true, 4, 1},
        {"sell none of none free", K::sellOne, 5, 0, -10, false, 5, 0},
        {"6 needs 11 free", K::sellMany, 20, 10, -20, false, 20, 10},
        {"6 with 11 free", K::sellMany, 20, 11, -20, true, 10, 1},
        {"6 to a trader that wants exactly 10", K::sellMany, 20, 20, -10, true, 10, 10},
        {"6 to a trader that wants 9", K::sellMany, 20, 20, -9, false, 20, 20},
        {"4 when 9 are offered", K::buyMany, 5, 2, 9, false, 5, 2},
        {"buying adds to both", K::buyMany, 5, 2, 10, true, 15, 12},
        {"no 5 key here", K::takeAll, 5, 5, -10, false, 5, 5},
    };
    for (const auto& c : cases) {
        int32_t units = c.units, freeUnits = c.freeUnits, quantity = c.quantity, money = 100000;
        EXPECT_EQ(tradeEquipment(c.key, units, &freeUnits, quantity, 1000, money), c.done) << c.name;
        EXPECT_EQ(units, c.wantUnits) << c.name;
        EXPECT_EQ(freeUnits, c.wantFree) << c.name;
    }
    // Five units of kind 3 with three committed: only two are ever sold.
    int32_t units = 5, freeUnits = 2, quantity = -71, money = 0;
    int sold = 0;
    while (tradeEquipment(TradeKey::sellOne, units, &freeUnits, quantity, 1306, money)) ++sold;
    EXPECT_EQ(sold, 2);
    EXPECT_EQ(units, 3);
    EXPECT_EQ(freeUnits, 0);
    // Power plants have no free part.
    int32_t plants = 1;
    EXPECT_TRUE(tradeEquipment(TradeKey::sellOne, plants, nullptr, quantity, 5000, money));
    EXPECT_EQ(plants, 0);
}

TEST(Market, ColonistsComeOnCredit) {
    int32_t population = 10, workers = 8, quantity = 12, money = 10;
    EXPECT_TRUE(takeColonists(TradeKey::buyOne, population, workers, quantity, money, 1));
    EXPECT_EQ(money, -15);
    EXPECT_EQ(population, 11);
    EXPECT_EQ(workers, 9);
    EXPECT_FALSE(takeColonists(TradeKey::buyOne, population, workers, quantity, money, 0)) << "no room";
    EXPECT_FALSE(takeColonists(TradeKey::buyMany, population, workers, quantity, money, 9)) << "10 need 10 places";
    EXPECT_TRUE(takeColonists(TradeKey::buyMany, population, workers, quantity, money, 10));
    EXPECT_EQ(quantity, 1);
    EXPECT_EQ(money, -265);
    for (TradeKey k : {TradeKey::sellOne, TradeKey::sellMany, TradeKey::takeAll})
        EXPECT_FALSE(takeColonists(k, population, workers, quantity, money, 100));
    money = INT32_MIN + 25, quantity = 2;
    EXPECT_TRUE(takeColonists(TradeKey::buyOne, population, workers, quantity, money, 100)) << "the least money there is";
    EXPECT_EQ(money, INT32_MIN);
    money = INT32_MIN + 10;
    EXPECT_FALSE(takeColonists(TradeKey::buyOne, population, workers, quantity, money, 100)) << "money would wrap";
    money = 0;
    EXPECT_TRUE(takeColonists(TradeKey::buyOne, population, workers, quantity, money, 1)) << "the last one offered";
    EXPECT_EQ(quantity, 0);
}

// Random trades on one colony: buying never overfills the store or the
// housing, and no unit is free without being owned.
TEST(Market, InvariantsHoldAfterEveryTrade) {
    GameState game;
    const int p = 1;
    game.currentPlayer = p;
    game.storehouses[p] = 2;
    game.housing[p] = 3;
    game.techLevel[p][2] = 3;
    game.money[p] = 1000000;
    game.goods1[p] = game.goods2[p] = game.goods3[p] = game.goods4[p] = 200;
    game.population1[p] = game.workers1[p] = 100;
    game.units2[p] = 30;
    game.freeUnits2[p] = 12;
    seedRandom(99);
    const TradeKey keys[5] = {TradeKey::buyOne, TradeKey::sellOne, TradeKey::buyMany, TradeKey::sellMany,
                              TradeKey::takeAll};
    PlayerTable* const goods[4] = {&game.goods1, &game.goods2, &game.goods3, &game.goods4};
    for (int n = 0; n < 20000; ++n) {
        if (n % 50 == 0) drawTrader(game, 59);
        const TradeKey key = keys[static_cast<int>(randomUnit() * 5)];
        const int row = static_cast<int>(randomUnit() * 4);
        const int item = 1 + row;
        const bool buying = game.offerQuantity[item] > 0 && key != TradeKey::sellOne && key != TradeKey::sellMany;
        tradeGoods(key, (*goods[row])[p], game.offerQuantity[item], game.offerPrice[item], game.money[p],
                   freeRoom(game), baseFreeRoom(game));
        if (buying) {
            ASSERT_GE(freeRoom(game), 0) << "trade " << n;
        }
        tradeEquipment(key, game.units2[p], &game.freeUnits2[p], game.offerQuantity[6], game.offerPrice[6],
                       game.money[p]);
        ASSERT_LE(game.freeUnits2[p], game.units2[p]) << "trade " << n;
        ASSERT_GE(game.freeUnits2[p], 0) << "trade " << n;
        takeColonists(key, game.population1[p], game.workers1[p], game.offerQuantity[11], game.money[p],
                      freeHousing(game));
        ASSERT_GE(freeHousing(game), 0) << "trade " << n;
    }
}

TEST_F(TurnTest, TraderScreenWithNothingToTrade) {
    players({"Ala"});
    keys("Esc");  // no trader: the message closes on Esc too
    traderScreen(game);
    EXPECT_FALSE(keysLeft());

    game.traderPresent = 1;  // size 0: every quantity 0, nothing trades
    keys("Enter Left 4 5 Down Right 6 Esc Down Enter Left 4 Right 6 Esc Down Down Enter Left 4");
    EXPECT_THROW(traderScreen(game), OutOfKeys);
    EXPECT_EQ(game.money[1], 50000);
    EXPECT_EQ(game.goods2[1], 25);
    EXPECT_EQ(game.population1[1], 10);
    EXPECT_EQ(textAt(12, 27, 2), " 0") << "the colonists on offer";

    keys("Down Enter Space");  // a market left puts the menu back on entry 1
    EXPECT_THROW(traderScreen(game), OutOfKeys);
    EXPECT_EQ(readCell(7, 10).character, 175);
    EXPECT_EQ(readCell(8, 10).character, ' ');
}

// Each trade makes the row's numbers one digit shorter: the row, from the
// mark's column to the frame, shows the new numbers and not a digit more, in
// every row of every market, and so do the free room and housing lines.
TEST_F(TurnTest, EveryMarketRowRedrawsWithNoDigitLeftStanding) {
    const std::string mark = "\xAF";
    const struct {
        const char* keys;
        int32_t quantity;  // of every offer but the colonists'
        int row, from, width;
        std::vector<std::pair<int, std::string>> shown;  // at their columns, blanks between
    } cases[] = {
        {"Enter Right", -10, 9, 10, 27, {{10, mark}, {19, " 9"}, {26, "-9"}, {32, " 12"}}},
        {"Enter Down Right", -10, 10, 10, 27, {{10, mark}, {19, " 9"}, {26, "-9"}, {32, " 13"}}},
        {"Enter Down Down Right", -10, 11, 10, 27, {{10, mark}, {19, " 9"}, {26, "-9"}, {32, " 14"}}},
        {"Enter Down Down Down Right", -10, 12, 10, 27, {{10, mark}, {19, " 9"}, {26, "-9"}, {32, " 15"}}},
        {"Enter Left", 10, 9, 10, 27, {{10, mark}, {19, " 11"}, {26, " 9"}, {32, " 12"}}},
        {"Enter Left", 10, 14, 10, 27, {{25, " 9"}}},
        {"Down Enter Right", -10, 10, 8, 29, {{8, mark}, {18, " 9"}, {25, "-9"}, {31, " 16"}}},
        {"Down Enter Down Right", -10, 11, 8, 29, {{8, mark}, {18, " 9"}, {25, "-9"}, {31, " 17"}}},
        {"Down Enter Down Down Right", -10, 12, 8, 29, {{8, mark}, {18, " 9"}, {25, "-9"}, {31, " 18"}}},
        {"Down Enter Down Down Down Right", -10, 13, 8, 29, {{8, mark}, {18, " 9"}, {25, "-9"}, {31, " 19"}}},
        {"Down Enter Down Down Down Down Right", -10, 14, 8, 29, {{8, mark}, {18, " 9"}, {25, "-9"}, {31, " 20"}}},
        {"Down Enter Down Down Down Down Down Right", -10, 15, 8, 29, {{8, mark}, {18, " 9"}, {25, "-9"}, {31, " 21"}}},
        {"Down Down Enter Left", 0, 12, 11, 23, {{11, mark}, {21, " 11"}, {27, " 9"}}},
        {"Down Down Enter Down Left", 0, 13, 11, 23, {{11, mark}, {21, " 11"}, {27, " 9"}}},
        {"Down Down Enter Down Down Left", 0, 14, 11, 23, {{11, mark}, {21, " 11"}, {27, " 9"}}},
        {"Down Down Enter Down Down Down Left", 0, 15, 11, 23, {{11, mark}, {21, " 11"}, {27, " 9"}}},
        {"Down Down Enter Left", 0, 17, 11, 23, {{26, " 9"}}},
    };
    for (const auto& c : cases) {
        dimensionTables(game);
        players({"Ala"});
        game.traderPresent = 1;
        PlayerTable* const held[] = {&game.goods2, &game.goods3, &game.goods1, &game.goods4, &game.units1,
                                     &game.units2, &game.units3, &game.units4, &game.units5, &game.powerPlants};
        for (PlayerTable* table : held) (*table)[1] = 10;
        game.freeUnits1[1] = game.freeUnits2[1] = game.freeUnits3[1] = game.freeUnits4[1] = game.freeUnits5[1] = 10;
        game.goods4[1] = c.quantity > 0 ? 460 : 10;  // a buying row: 10 free of 500
        for (int item = 1; item <= 10; ++item) {
            game.offerQuantity[item] = c.quantity;
            game.offerPrice[item] = 11 + item;
        }
        game.population1[1] = game.population2[1] = game.population3[1] = game.population4[1] = 10;  // 10 of 50 free
        for (int item = 11; item <= 14; ++item) game.offerQuantity[item] = 10;
        keys(c.keys);
        EXPECT_THROW(traderScreen(game), OutOfKeys) << c.keys;
        std::string want(c.width, ' ');
        for (const auto& [column, text] : c.shown) want.replace(column - c.from, text.size(), text);
        EXPECT_EQ(textAt(c.row, c.from, c.width), want) << c.keys << ", row " << c.row;
        // The mark in red, a row's numbers in grey 23, the room and housing lines in yellow.
        const bool tradingRow = c.shown[0].second == mark;
        for (int column = c.from; column < c.from + c.width; ++column) {
            const char shown = want[column - c.from];
            const int64_t colour = shown == ' ' ? 0 : shown == mark[0] ? 4 : tradingRow ? 23 : 14;
            EXPECT_EQ(colourAt(c.row, column), colour) << c.keys << ", row " << c.row << ", column " << column;
        }
    }
}

}  // namespace

// The monkey and the arena stop on the first broken rule; each rule must hold
// exactly at its limit and break just past it, with a message that says where.
TEST(Market, InvariantsBreakJustPastTheirLimits) {
    GameState base;
    base.tablesExist = true;
    base.playerCount = 2;
    base.currentPlayer = 1;
    for (int p = 1; p <= 2; ++p) {
        base.storehouses[p] = base.housing[p] = 1;
        base.goods1[p] = 100;
        base.population1[p] = base.workers1[p] = 10;
    }
    struct Case {
        const char* broken;  // "" when the rule still holds
        void (*change)(GameState&);
    } cases[] = {
        {"", [](GameState& g) { g.buildType[2] = 5, g.orderType[2] = 6, g.raidTarget[2] = g.forceTarget[2] = 2; }},
        {"player 2: buildType is 6, wants 5", [](GameState& g) { g.buildType[2] = 6; }},
        {"player 2: buildType is -1, wants 5", [](GameState& g) { g.buildType[2] = -1; }},
        {"player 2: orderType is 7, wants 6", [](GameState& g) { g.orderType[2] = 7; }},
        {"player 2: raidTarget is 3, wants 2", [](GameState& g) { g.raidTarget[2] = 3; }},
        {"player 2: forceTarget is -1, wants 2", [](GameState& g) { g.forceTarget[2] = -1; }},
        {"", [](GameState& g) { g.techLevel[2][9] = 10, g.goods4[2] = 400, g.population1[2] = g.workers1[2] = 50; }},
        {"player 2: a research level is 11, wants 10", [](GameState& g) { g.techLevel[2][9] = 11; }},
        {"player 2: free store room is -1, wants 0", [](GameState& g) { g.goods4[2] = 401; }},
        {"player 2: free housing is -1, wants 0", [](GameState& g) { g.population1[2] = g.workers1[2] = 51; }},
        {"player 2: goods3 is -1, wants 0", [](GameState& g) { g.goods3[2] = -1; }},
        {"player 1: population1 against its workers is 10, wants 9", [](GameState& g) { --g.workers1[1]; }},
        {"player 2: population2 against its workers is 1, wants 0", [](GameState& g) { g.population2[2] = 1; }},
        {"player 2: population3 against its workers is 0, wants 1", [](GameState& g) { g.workers3[2] = 1; }},
        {"player 2: population4 against its persons is 0, wants 2", [](GameState& g) { g.raidUnits4[2] = 1; }},
        {"player 2: researchStaff is 0, wants 10", [](GameState& g) { g.labsAssigned[2][4] = 1, g.labs[2] = 1; }},
        {"player 2: labs is 1, wants 0", [](GameState& g) { g.labs[2] = 1; }},
        {"player 2: units of a kind is 0, wants 1", [](GameState& g) { g.freeUnits5[2] = 1; }},
    };
    for (const Case& k : cases) {
        GameState g = base;
        k.change(g);
        EXPECT_EQ(brokenInvariant(g), k.broken) << k.broken;
    }
}
