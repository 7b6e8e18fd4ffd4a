#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/flow.h"
#include "screen/snapshot.h"
#include "turn/startofturn.h"
#include "turn/turnchange.h"
#include "turn_fixture.h"
#include "game/turnscreen.h"
#include "ui/windows.h"

namespace {

TEST_F(TurnTest, PassingTheTurnAndTheCalendar) {
    struct Case {
        const char* name;
        std::vector<int> active;  // playerActive of players 1 to playerCount
        int32_t current, month, year;
        int32_t wantCurrent, wantMonth, wantYear;
    } cases[] = {
        {"one player, first turn", {1}, 1, 1, 2090, 1, 2, 2090},
        {"one player, year end", {1}, 1, 12, 2090, 1, 1, 2091},
        {"two players, 1 to 2", {1, 1}, 1, 5, 2090, 2, 5, 2090},
        {"two players, 2 wraps to 1", {1, 1}, 2, 5, 2090, 1, 6, 2090},
        {"three players, 2 inactive, 1 to 3", {1, 0, 1}, 1, 3, 2090, 3, 3, 2090},
        {"three players, 2 inactive, 3 wraps to 1", {1, 0, 1}, 3, 3, 2090, 1, 4, 2090},
        {"three players, 1 inactive, 3 wraps past 1", {0, 1, 1}, 3, 3, 2090, 2, 4, 2090},
        {"five players, December of the last", {1, 1, 1, 1, 1}, 5, 12, 2095, 1, 1, 2096},
        {"nobody active: the same player, one month", {0, 0, 0}, 2, 7, 2090, 2, 8, 2090},
        {"no players at all", {}, 1, 7, 2090, 1, 8, 2090},
    };
    for (const auto& c : cases) {
        dimensionTables(game);
        game.playerCount = static_cast<int32_t>(c.active.size());
        for (size_t i = 0; i < c.active.size(); ++i) game.playerActive[i + 1] = c.active[i];
        game.currentPlayer = c.current;
        game.month = c.month;
        game.year = c.year;
        endTurn(game);
        EXPECT_EQ(game.currentPlayer, c.wantCurrent) << c.name;
        EXPECT_EQ(game.month, c.wantMonth) << c.name;
        EXPECT_EQ(game.year, c.wantYear) << c.name;
    }
}

TEST_F(TurnTest, SlotsAboveThePlayerCountTakeNoTurn) {
    // Slot 3 still active from a larger game that this one was loaded over.
    players({"Ala", "Bob", "Cyryl"});
    game.playerCount = 2;
    game.currentPlayer = 2;
    endTurn(game);
    EXPECT_EQ(game.currentPlayer, 1);
    EXPECT_EQ(game.month, 2) << "the calendar moves on the wrap";
}

TEST_F(TurnTest, CountdownsFallForEveryPlayerOnlyWhenTheCalendarMoves) {
    players({"Ala", "Bob", "Cyryl"});
    game.playerActive[2] = 0;
    const int32_t mission[4] = {0, 2, 1, 0};
    const int32_t expedition[4] = {0, 0, 3, 1};
    for (int p = 1; p <= 3; ++p) {
        game.missionMonths[p] = mission[p];
        game.expeditionMonths[p] = expedition[p];
    }
    game.currentPlayer = 1;
    endTurn(game);
    ASSERT_EQ(game.currentPlayer, 3);
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(game.missionMonths[p], mission[p]) << "player " << p << ", no wrap yet";
        EXPECT_EQ(game.expeditionMonths[p], expedition[p]) << "player " << p << ", no wrap yet";
    }
    endTurn(game);
    ASSERT_EQ(game.currentPlayer, 1);
    const int32_t wantMission[4] = {0, 1, 0, 0};
    const int32_t wantExpedition[4] = {0, 0, 2, 0};
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(game.missionMonths[p], wantMission[p]) << "player " << p << " (2 is inactive)";
        EXPECT_EQ(game.expeditionMonths[p], wantExpedition[p]) << "player " << p << " (2 is inactive)";
    }
}

// Runs the start of turn until it waits for a key the script does not have.
void runUntilWaiting(GameState& game) {
    EXPECT_THROW(startOfTurn(game), OutOfKeys);
}

TEST_F(TurnTest, BannerShowsTheNewMonthAfterEachEndOfTurn) {
    players({"Ala"});
    struct Step {
        int turnsEnded;
        const char* line;
    } steps[] = {{1, "Miesiac: Luty 2090"}, {11, "Miesiac: Grudzien 2090"}, {12, "Miesiac: Styczen 2091"}};
    int ended = 0;
    for (const auto& s : steps) {
        while (ended < s.turnsEnded) {
            endTurn(game);
            ++ended;
        }
        keys("");
        runUntilWaiting(game);
        EXPECT_EQ(textAt(6, 5, static_cast<int>(std::string(s.line).size())), s.line)
            << "after " << s.turnsEnded << " ends of turn";
        EXPECT_EQ(colourAt(4, 5), 14);
        EXPECT_EQ(textAt(4, 5, 15), "Tura gracza Ala");
    }
}

TEST_F(TurnTest, BannerWidthRemembersTheLastLongName) {
    // Month 2 is "Luty": 4 + 17 = 21 columns unless a long name widened it.
    struct Banner {
        const char* name;
        int32_t month;
        int32_t width;
    } banners[] = {
        {"Kazimir", 5, 20},       // 7 characters: the month decides, even a short one
        {"Kazimir", 2, 21},
        {"Kazimier", 2, 22},      // 8 characters: 8 + 14
        {"Ala", 2, 22},           // a short name keeps the width
        {"Aleksandra", 2, 24},    // a longer name widens it
        {"Kazimier", 2, 22},      // and a shorter long name narrows it again
        {"Ala", 10, 28},          // "Pazdziernik": the month is wider still
        {"Ala", 5, 22},           // "Maj" (20) is narrower than the remembered 22
    };
    players({"x"});
    for (const auto& b : banners) {
        game.playerName[1] = b.name;
        game.month = b.month;
        keys("Esc Left");
        runUntilWaiting(game);
        EXPECT_EQ(frameRightCorner(3, 3), 3 + b.width + 1)
            << b.name << " in month " << b.month << " (Esc does not close the banner)";
    }
    EXPECT_EQ(game.bannerNameWidth, 22);
}

struct FoodCase {
    const char* name;
    int32_t population[4];
    int32_t food, grace;
    int32_t wantFood, wantGrace;
    bool famine;
};

TEST_F(TurnTest, FoodAndFamine) {
    const FoodCase cases[] = {
        {"food to spare", {10, 2, 2, 2}, 25, 1, 22, 3, false},
        {"one unit left restores the grace", {10, 2, 2, 2}, 4, 0, 1, 3, false},
        {"food equal to the consumption is a famine", {10, 2, 2, 2}, 3, 3, 0, 2, true},
        {"short of food", {10, 2, 2, 2}, 1, 2, 0, 1, true},
        {"nobody and nothing still starves", {0, 0, 0, 0}, 0, 3, 0, 2, true},
        {"consumption rounds 2.6 up", {13, 0, 0, 0}, 3, 3, 0, 2, true},
        {"consumption rounds 2.4 down", {12, 0, 0, 0}, 3, 3, 1, 3, false},
    };
    for (const auto& c : cases) {
        dimensionTables(game);
        players({"Ala"});
        game.population1[1] = c.population[0];
        game.population2[1] = c.population[1];
        game.population3[1] = c.population[2];
        game.population4[1] = c.population[3];
        game.goods4[1] = c.food;
        game.famineGrace[1] = c.grace;
        keys("Space Space");  // banner, output report
        runUntilWaiting(game);
        EXPECT_EQ(game.goods4[1], c.wantFood) << c.name;
        EXPECT_EQ(game.famineGrace[1], c.wantGrace) << c.name;
        const int bottom = c.famine ? 18 : 16;
        EXPECT_EQ(readCell(bottom, 7).character, 200) << c.name << ": report height";
        EXPECT_EQ(frameRightCorner(14, 7), 7 + (c.famine ? 30 : 23) + 1) << c.name << ": report width";
        EXPECT_EQ(textAt(15, 8, 8), "Zjedzono") << c.name;
        EXPECT_EQ(colourAt(15, 8), 26) << c.name;
        if (c.famine) {
            EXPECT_EQ(textAt(16, 8, 5), "Glod!") << c.name;
            EXPECT_EQ(colourAt(16, 8), 4) << c.name;
            const std::string grace = "Zostalo " + std::to_string(c.wantGrace) + " mies.";
            EXPECT_EQ(textAt(17, 8, static_cast<int>(grace.size())), grace) << c.name;
        }
    }
}

TEST_F(TurnTest, ThreeFaminesAreSurvivedAndTheFourthKills) {
    players({"Ala", "Bob"});
    game.goods4[1] = 0;
    // Each month stops at its report, after the famine has been counted.
    for (int month = 1; month <= 3; ++month) {
        keys("Space Space");  // banner, output report
        runUntilWaiting(game);
        const std::string grace = "Zostalo " + std::to_string(3 - month) + " mies.";
        EXPECT_EQ(textAt(17, 8, static_cast<int>(grace.size())), grace) << "famine month " << month;
        EXPECT_EQ(game.famineGrace[1], 3 - month) << "famine month " << month;
    }

    keys("Space Space Enter Esc");
    runUntilWaiting(game);
    EXPECT_EQ(textAt(6, 6, 7), "Kolonia");
    EXPECT_EQ(textAt(7, 6, 8), "wymarla.");
    EXPECT_EQ(textAt(8, 6, 19), "Gracz Ala przegral.");
    EXPECT_EQ(colourAt(8, 6), 4);
    EXPECT_EQ(frameRightCorner(5, 5), 5 + 31 + 1);
    EXPECT_TRUE(game.tablesExist) << "Enter and Esc do not close the death message";
    EXPECT_EQ(game.goods4[1], 0) << "a dead colony's store is empty, not below zero";

    game.menuCursor = 3;
    game.month = 7;
    // After the notice the standings of the game that ended, then the title.
    keys("Space Space Space");
    EXPECT_THROW(startOfTurn(game), OutOfKeys);
    EXPECT_EQ(textAt(2, 27, 25), "Ranking kolonii, Lipiec 2");
    EXPECT_EQ(textAt(5, 3, 3), "Ala");
    EXPECT_TRUE(game.tablesExist);
    game.goods4[1] = 0;
    game.famineGrace[1] = 0;
    keys("Space Space Space Enter");
    EXPECT_EQ(startOfTurn(game), Flow::title);
    EXPECT_FALSE(game.tablesExist);
    EXPECT_EQ(game.menuCursor, 1);
    EXPECT_EQ(game.playerName[2], "") << "every player's tables go, not only the dead colony's";
    EXPECT_EQ(game.month, 7) << "the calendar keeps its values";
    EXPECT_EQ(game.currentPlayer, 1);
}

TEST_F(TurnTest, RaidOfTheLowestRaiderEndsTheProgram) {
    players({"Ala", "Bob", "Cyryl"});
    game.currentPlayer = 2;
    game.raidTarget[3] = 2;
    game.raidTarget[1] = 2;
    game.raidTarget[2] = 1;
    keys("Space Enter Esc");
    runUntilWaiting(game);
    EXPECT_EQ(textAt(8, 5, 24), "Najazd gracza Ala dotarl");
    EXPECT_EQ(colourAt(8, 5), 4);
    EXPECT_EQ(textAt(9, 5, 7), "Koniec.");
    EXPECT_EQ(game.goods4[2], 25) << "nothing after the raid runs";

    keys("Space Space Esc");  // the banner, the message, the standings
    EXPECT_THROW(startOfTurn(game), ProgramEnded);
}

TEST_F(TurnTest, RaidOfTheHighestNumberedPlayerArrives) {
    players({"Ala", "Bob", "Cyryl", "Dora", "Ewa"});
    game.raidTarget[5] = 1;
    keys("Space");
    runUntilWaiting(game);
    EXPECT_EQ(textAt(8, 5, 24), "Najazd gracza Ewa dotarl");
}

TEST_F(TurnTest, RaidAgainstAnotherPlayerDoesNotStopThisTurn) {
    players({"Ala", "Bob"});
    game.raidTarget[1] = 1;  // only a raid against the current player arrives
    game.currentPlayer = 2;
    keys("Space Space Space");
    EXPECT_EQ(startOfTurn(game), Flow::gameEntry);
}

TEST_F(TurnTest, ThousandsOfTurnsKeepTheStackFlat) {
    players({"Ala", "Bob"});
    game.goods4[1] = game.goods4[2] = 100000;
    constexpr int turns = 3000;
    std::string script;
    for (int i = 0; i < turns; ++i) script += "Space Space Space Right\n";  // banner, output, food, end of turn
    keys(script);

    // The real dispatch loop runs until the script is used up; every key the
    // turn screen asks for samples the stack mark it left.
    int samples = 0;
    uintptr_t lowest = UINTPTR_MAX, highest = 0;
    turnScreenStackMark = 0;
    auto sample = [&] {
        if (turnScreenStackMark == 0) return;
        ++samples;
        lowest = std::min(lowest, turnScreenStackMark);
        highest = std::max(highest, turnScreenStackMark);
    };
    backend.onKeyWanted = sample;
    EXPECT_THROW(runFlow(game, Flow::startOfTurn), OutOfKeys);
    EXPECT_GE(samples, turns);
    EXPECT_EQ(lowest, highest) << "the turn screen ran at " << (highest - lowest) << " bytes of different depth";
    EXPECT_EQ(game.year, 2090 + turns / 2 / 12) << "one month per round of two players";
    EXPECT_EQ(game.month, 1 + turns / 2 % 12);
}

}  // namespace
