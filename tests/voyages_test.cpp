#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "commands/expedition.h"
#include "commands/mission.h"
#include "model/savegame.h"
#include "model/voyages.h"
#include "screen/random.h"
#include "turn/expeditionreturn.h"
#include "turn/missionvoyage.h"
#include "turn_fixture.h"

namespace {

TEST(Voyages, ExpeditionRules) {
    const struct {
        int32_t draw, homeWorld, roll;
        bool successLength1;  // one person of each kind
    } rolls[] = {{28, 1, 25, true}, {29, 1, 26, true}, {30, 1, 27, false}, {28, 2, 28, false}, {5, 1, 4, true},
                 {15, 1, 14, true}};
    for (const auto& r : rolls) {
        EXPECT_EQ(expeditionRoll(r.draw, r.homeWorld), r.roll) << r.draw << " on " << r.homeWorld;
        EXPECT_EQ(expeditionSucceeds(r.roll, 1, 1, 1), r.successLength1) << r.draw << " on " << r.homeWorld;
    }
    EXPECT_TRUE(expeditionSucceeds(81, 3, 1, 1)) << "81.25";
    EXPECT_FALSE(expeditionSucceeds(82, 3, 1, 1));
    EXPECT_FALSE(expeditionSucceeds(0, 0, 50, 50)) << "no other length succeeds";
    EXPECT_FALSE(expeditionSucceeds(0, 4, 50, 50));

    EXPECT_EQ(expeditionFind(645, 1, 1, 3), 634) << "705 less 70.5, to the even 634";
    EXPECT_EQ(expeditionFind(90, 0, 0, 1), 104) << "103.5";
    EXPECT_EQ(expeditionFind(90, 0, 0, 2), 94) << "94.5";
    EXPECT_EQ(expeditionFind(999, INT32_MAX, INT32_MAX, 1), INT32_MAX) << "no wrap from an edited crew";

    const struct {
        int32_t roll, length;
        bool strike;
    } losses[] = {{40, 3, true}, {41, 3, false}, {30, 1, true}, {31, 1, false}, {35, 2, true}, {36, 2, false},
                  {0, 0, false}};
    for (const auto& l : losses) EXPECT_EQ(lossesStrike(l.roll, l.length), l.strike) << l.roll << ", " << l.length;
    EXPECT_EQ(std::floor(0.999999 * lossRange(1)), 0) << "one person is never lost";
}

TEST(Voyages, MissionRules) {
    const struct {
        int32_t rate, crew, homeWorld, field4, damage, income;
    } cases[] = {
        {15, 1, 1, 0, 0, 14},   {15, 10, 3, 0, 0, 180}, {15, 10, 3, 5, 0, 270}, {15, 10, 3, 5, 25, 202},
        {15, 1, 2, 0, 0, 13},   {16, 1, 2, 0, 0, 14},   {17, 1, 2, 0, 0, 14},   {18, 1, 2, 0, 0, 15},
    };
    for (const auto& c : cases)
        EXPECT_EQ(missionIncome(c.rate, c.crew, c.homeWorld, c.field4, c.damage), c.income)
            << "rate " << c.rate << ", crew " << c.crew << ", home " << c.homeWorld << ", field 4 " << c.field4
            << ", damage " << c.damage;
    EXPECT_EQ(missionDamage(65, 20), 70);
    EXPECT_EQ(missionDamage(10, 29), 39);
    const struct {
        int32_t income;
        int64_t free;
        int32_t stored;
    } store[] = {{100, 0, 0}, {100, -50, 0}, {100, 40, 40}, {100, 200, 100}, {-5, 100, 0}};
    for (const auto& s : store) EXPECT_EQ(foodStored(s.income, s.free), s.stored) << s.income << " into " << s.free;
}

class VoyageTest : public TurnTest {
protected:
    void SetUp() override {
        TurnTest::SetUp();
        players({"Ala"});
    }
    // Sets the virtual clock so that the next reseed uses `seed`.
    void clockForSeed(int seed) { backend.clock = seed + 0.5 - clockReadStep; }
    // The first seed whose draws give an expedition of `length` a loss roll
    // below `below` (success, if any, takes two draws before it).
    int seedWithLosses(int32_t length, int32_t w1, int32_t w3, int32_t below) {
        for (int seed = 1;; ++seed) {
            seedRandom(seed);
            const int32_t roll = static_cast<int32_t>(std::floor(randomUnit() * 100));
            if (expeditionSucceeds(roll, length, w1, w3)) {
                randomUnit();
                randomUnit();
            }
            if (std::floor(randomUnit() * 100) < below) return seed;
        }
    }
    // A seed whose first draw brings no damage on the way.
    static int seedWithoutDamage() {
        for (int seed = 1;; ++seed) {
            seedRandom(seed);
            if (randomUnit() * 100 >= 16) return seed;
        }
    }
    void expeditionBack(int32_t w1, int32_t w3) {
        game.homeWorld[1] = 2;
        game.expeditionSent[1] = 1;
        game.expeditionMonths[1] = 0;
        game.expeditionLength[1] = 3;
        game.expeditionWorkers1[1] = w1;
        game.expeditionWorkers3[1] = w3;
        clockForSeed(seedWithLosses(3, w1, w3, 41));
    }
};

// Expeditions and missions coming back under many seeds: every draw is made
// in its order and range, and what they decide lands where it belongs.
TEST_F(VoyageTest, DrawsInTheirOrderForManySeeds) {
    auto draw = [](int n) { return static_cast<int32_t>(randomUnit() * n); };
    for (int seed = 1; seed <= 40; ++seed) {
        dimensionTables(game);
        players({"Ala"});
        const int32_t length = 1 + seed % 3, w1 = 4 + seed % 5, w3 = 2 + seed % 3, home = 1 + seed % 3;
        game.homeWorld[1] = home;
        game.expeditionSent[1] = 1;
        game.expeditionLength[1] = length;
        game.expeditionWorkers1[1] = w1, game.expeditionWorkers3[1] = w3;
        game.population1[1] += w1, game.population3[1] += w3;
        int32_t deposits[3] = {0, 0, 0}, lossA = 0, lossB = 0;
        seedRandom(seed);
        if (expeditionSucceeds(expeditionRoll(draw(100), home), length, w1, w3)) {
            const int32_t kind = draw(3);
            deposits[kind] = expeditionFind(draw(1000), w1, w3, home);
        }
        if (lossesStrike(draw(100), length)) {
            lossA = static_cast<int32_t>(randomUnit() * (w1 / 2.0));
            lossB = static_cast<int32_t>(randomUnit() * (w3 / 2.0));
        }
        clockForSeed(seed);
        keys("Space");
        expeditionReturn(game);
        const std::string what = "expedition, seed " + std::to_string(seed);
        EXPECT_EQ(game.deposit1[1], deposits[0]) << what;
        EXPECT_EQ(game.deposit2[1], deposits[1]) << what;
        EXPECT_EQ(game.deposit3[1], deposits[2]) << what;
        EXPECT_EQ(game.workers1[1], 10 + w1 - lossA) << what;
        EXPECT_EQ(game.workers3[1], 2 + w3 - lossB) << what;
        expectEverythingAccountedFor(game, what);

        // A mission of 20 comes home: damage first (from the draws so far),
        // then its own reseeded draw of the rate.
        game.missionSent[1] = 1;
        game.missionWorkers[1] = 20;
        game.population1[1] += 20;
        game.missionPercent[1] = seed % 4 == 0 ? 65 : 10;
        game.goods4[1] = seed % 5 == 0 ? 400 : 25;
        game.techLevel[1][4] = seed % 2;  // the field that raises the yield
        seedRandom(1000 + seed);
        int32_t percent = game.missionPercent[1];
        if (draw(100) < 16 && percent < 70) percent = std::min(percent + draw(30), 70);
        seedRandom(seed);
        const int32_t income = missionIncome(draw(4) + 15, 20, home, seed % 2, percent);
        const int32_t food = game.goods4[1] + std::min<int32_t>(income, 500 - 75 - game.goods4[1]);
        seedRandom(1000 + seed);
        clockForSeed(seed);
        keys("Space");
        missionVoyage(game);
        EXPECT_EQ(game.goods4[1], food) << "mission, seed " << seed;
        EXPECT_EQ(game.missionPercent[1], 0) << "mission, seed " << seed;
        expectEverythingAccountedFor(game, "mission, seed " + std::to_string(seed));
    }
}

// A roll exactly at the threshold succeeds and one above it fails, for every
// length: a crew of 4 and 2 makes the thresholds the whole numbers 28, 53, 83.
TEST_F(VoyageTest, ExpeditionRollAtItsThreshold) {
    const struct {
        int32_t length, homeWorld, draw;
        bool found;
    } cases[] = {
        {1, 2, 28, true}, {1, 2, 29, false}, {2, 2, 53, true}, {2, 2, 54, false},
        {3, 2, 83, true}, {3, 2, 84, false}, {1, 1, 31, true}, {1, 1, 32, false},  // 27.9 and 28.8 rounded
    };
    for (const auto& c : cases) {
        const std::string what = "length " + std::to_string(c.length) + ", draw " + std::to_string(c.draw) +
                                 " on home world " + std::to_string(c.homeWorld);
        EXPECT_EQ(expeditionSucceeds(expeditionRoll(c.draw, c.homeWorld), c.length, 4, 2), c.found) << what;
        dimensionTables(game);
        players({"Ala"});
        game.homeWorld[1] = c.homeWorld;
        game.expeditionSent[1] = 1;
        game.expeditionLength[1] = c.length;
        game.expeditionWorkers1[1] = 4, game.expeditionWorkers3[1] = 2;
        game.population1[1] += 4, game.population3[1] += 2;
        int seed = 1;
        for (;; ++seed) {
            seedRandom(seed);
            if (static_cast<int32_t>(randomUnit() * 100) == c.draw) break;
        }
        clockForSeed(seed);
        keys("Space");
        expeditionReturn(game);
        EXPECT_EQ(game.deposit1[1] + game.deposit2[1] + game.deposit3[1] > 0, c.found) << what;
    }
}

TEST_F(VoyageTest, LossesOfNobodyUseTheShortWindow) {
    expeditionBack(1, 1);
    game.population1[1] = 11;
    keys("");
    EXPECT_THROW(expeditionReturn(game), OutOfKeys);
    EXPECT_EQ(readCell(5 + 2 + 1, 5).character, 200) << "two lines: no loss lines for 0 and 0";
    EXPECT_EQ(game.population1[1], 11);
    EXPECT_EQ(game.workers1[1], 11) << "the crew is back";
    EXPECT_EQ(game.expeditionSent[1], 0);
    EXPECT_EQ(game.expeditionProgress[1], 2);
}

TEST_F(VoyageTest, ACrewBelowZeroGainsNobodyFromALoss) {
    expeditionBack(-8, -6);  // only from an edited file
    keys("Space");
    expeditionReturn(game);
    EXPECT_EQ(game.population1[1], 10);
    EXPECT_EQ(game.population3[1], 2);
}

TEST_F(VoyageTest, AMissionIntoAnOverfullStoreKeepsItsFood) {
    game.goods4[1] = 600;  // 675 in a store of 500
    game.missionSent[1] = 1;
    game.missionWorkers[1] = 10;
    game.population1[1] = 20;
    keys("");
    EXPECT_THROW(missionVoyage(game), OutOfKeys);
    EXPECT_EQ(game.goods4[1], 600);
    EXPECT_EQ(game.workers1[1], 20);
    EXPECT_EQ(game.missionSent[1], 0);
    // The store-full piece is the last two rows and shows what was stored.
    ASSERT_EQ(frameRightCorner(6, 6), 6 + 30 + 1);
    int row = 7;
    while (row < gridRows && readCell(row, 6).character != 200) ++row;
    EXPECT_EQ(textAt(row - 1, 7, 2), " 0");

    // Free room exactly the income takes it all; one less leaves the rest out.
    clockForSeed(5);
    seedRandom(5);
    const int32_t income = missionIncome(static_cast<int32_t>(randomUnit() * 4) + 15, 10, 1, 0, 0);
    for (int32_t short_ : {0, 1}) {
        game.goods1[1] = game.goods2[1] = game.goods3[1] = 0;
        game.goods4[1] = 500 - income + short_;
        game.missionSent[1] = 1;
        game.missionWorkers[1] = 10;
        game.missionMonths[1] = game.missionPercent[1] = 0;
        seedRandom(seedWithoutDamage());
        clearScreen();
        keys("");
        EXPECT_THROW(missionVoyage(game), OutOfKeys) << short_ << " short";
        EXPECT_EQ(game.goods4[1], 500) << short_ << " short";
        EXPECT_EQ(readCell(6 + (short_ ? 4 : 2) + 1, 6).character, 200) << short_ << " short: the store-full piece";
    }
}

// The chance of damage is a draw below 16, and none is added from 70 % on.
TEST_F(VoyageTest, DamageOnTheWayAtItsLimits) {
    const struct {
        int32_t draw, percent;
        bool damaged;
    } cases[] = {{15, 0, true}, {16, 0, false}, {0, 69, true}, {0, 70, false}};
    for (const auto& c : cases) {
        game.missionSent[1] = 1;
        game.missionMonths[1] = 3;  // still on the way
        game.missionPercent[1] = c.percent;
        int seed = 1;
        for (;; ++seed) {
            seedRandom(seed);
            if (static_cast<int32_t>(randomUnit() * 100) == c.draw) break;
        }
        seedRandom(seed);
        randomUnit();
        const int32_t damage = static_cast<int32_t>(randomUnit() * 30);
        seedRandom(seed);
        clearScreen();
        keys("");
        if (c.damaged) {
            EXPECT_THROW(missionVoyage(game), OutOfKeys) << "draw " << c.draw << " at " << c.percent << " %";
            EXPECT_EQ(game.missionPercent[1], std::min(c.percent + damage, 70)) << "draw " << c.draw;
            const std::string shown = formatNumber(damage);
            EXPECT_EQ(textAt(8, 7, static_cast<int>(shown.size())), shown) << "draw " << c.draw;
        } else {
            missionVoyage(game);  // no window at all
            EXPECT_EQ(game.missionPercent[1], c.percent) << "draw " << c.draw << " at " << c.percent << " %";
            EXPECT_EQ(readCell(6, 6).character, ' ') << "draw " << c.draw;
        }
    }
}

TEST_F(VoyageTest, ExpeditionScreen) {
    game.workers1[1] = 7;
    keys("Right Down 6 Down Left Esc");  // Esc gives the crew back and shows nothing
    expedition(game);
    EXPECT_EQ(game.workers1[1], 7);
    EXPECT_EQ(game.workers3[1], 2);
    EXPECT_EQ(game.expeditionMonths[1], 1) << "a first opening shows length 1, and Left goes no shorter";
    // A planet explored to exactly 100 % opens no screen; 99 % still does.
    game.expeditionProgress[1] = 100;
    keys("");
    expedition(game);
    game.expeditionProgress[1] = 99;
    keys("Esc");
    expedition(game);
    EXPECT_FALSE(keysLeft()) << "99 %";
    // A key it does not take rests a millisecond instead of spinning.
    double before = backend.clock;
    keys("Esc");
    expedition(game);
    const double plain = backend.clock - before;
    before = backend.clock;
    keys("x Esc");
    expedition(game);
    EXPECT_NEAR(backend.clock - before - plain, 0.001, 0.0001);

    keys("Down Up 6 Enter Down 4 Right Enter");  // kind 1 only: Enter does nothing
    EXPECT_THROW(expedition(game), OutOfKeys);
    EXPECT_EQ(game.expeditionWorkers1[1], 7) << "6 with 7 free moves all 7";
    EXPECT_EQ(game.expeditionSent[1], 1);
    EXPECT_EQ(game.expeditionLength[1], 1);
    EXPECT_EQ(readCell(7, 10).character, 201) << "this visit sent it: the message shows";

    game.expeditionMonths[1] = 0;  // a saved game's expedition under way
    keys("Left 4 Down Down Right Space");  // a message would wait for a key the script lacks
    expedition(game);
    EXPECT_EQ(game.expeditionMonths[1], 0) << "opening does not lengthen a voyage, nor does Right";
    EXPECT_EQ(game.expeditionWorkers1[1], 7) << "the crew is locked";
}

TEST_F(VoyageTest, MissionScreen) {
    game.homeWorld[1] = 3;
    game.money[1] = 500;
    game.workers1[1] = 15;
    keys("Space 6 Right Right Space");  // Space with no crew does nothing; with one it sends
    mission(game);
    EXPECT_EQ(game.missionMonths[1], 5);
    EXPECT_EQ(game.money[1], -100) << "12 workers on credit";
    EXPECT_EQ(game.missionSent[1], 1);

    game.missionMonths[1] = 0;
    keys("Left 4 Esc");
    mission(game);
    EXPECT_EQ(game.missionWorkers[1], 12) << "the crew is locked";
    EXPECT_EQ(game.missionMonths[1], 0) << "opening does not lengthen a voyage";

    game.missionPercent[1] = 1;
    keys("a");
    EXPECT_THROW(mission(game), ProgramEnded);
    EXPECT_EQ(textAt(10, 47, 4), " 1 %");
    EXPECT_EQ(colourAt(10, 48), 4) << "any damage at all is a warning";
    GameState saved;
    ASSERT_TRUE(readSavedGame(saved, "autosave.dat")) << "a ends the program but keeps the game";
    EXPECT_EQ(saved.missionWorkers[1], 12);
    EXPECT_EQ(saved.money[1], -100);

    // Prepared anew: a crew of one is enough, down to the least money 32 bits hold.
    game.missionSent[1] = 0;
    game.money[1] = INT32_MIN + 49;
    keys("4 4 Right Enter Esc");  // one short: Enter does nothing
    mission(game);
    EXPECT_FALSE(keysLeft());
    EXPECT_EQ(game.missionWorkers[1], 0) << "Esc gives the crew back";
    game.money[1] = INT32_MIN + 50;
    keys("Right Enter");
    mission(game);
    EXPECT_EQ(game.money[1], INT32_MIN);
}

}  // namespace
