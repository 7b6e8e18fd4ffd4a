// Each colony's history month by month, and its place in the saved game.
#include "model/history.h"

#include <gtest/gtest.h>

#include <string>

#include "model/savegame.h"
#include "ui/standings.h"
#include "state_compare.h"

namespace {

const int32_t jan2090 = monthIndex(2090, 1);

// Records every player of `players` for months first to first + count - 1,
// population 10 + month and money 1000 x player + month.
void playMonths(ColonyHistory& h, int32_t players, int32_t first, int32_t count) {
    for (int32_t m = first; m < first + count; ++m)
        for (int32_t p = 1; p <= players; ++p) {
            int32_t population[6] = {}, money[6] = {};
            for (int q = 1; q <= players; ++q) {
                population[q] = 10 + (m - jan2090);
                money[q] = 1000 * q + (m - jan2090);
            }
            recordHistory(h, m, players, p, population, money);
        }
}

std::string textOf(const GameState& game) {
    std::string text;
    EXPECT_TRUE(savedGameText(game, text));
    return text;
}

GameState twoColonies() {
    GameState game = sampleGame(2);
    game.history = ColonyHistory{};
    playMonths(game.history, 2, jan2090, 14);
    return game;
}

}  // namespace

TEST(History, MonthsAppendAndAPlayerUpdatesOnlyItsOwnPair) {
    ColonyHistory h;
    int32_t population[4] = {0, 5, 7, 0}, money[4] = {0, 100, 200, 0};  // room for the three-player case
    recordHistory(h, jan2090, 2, 1, population, money);
    population[2] = 8;
    money[1] = 150;
    recordHistory(h, jan2090, 2, 2, population, money);  // player 1's pair stays as its turn left it
    EXPECT_EQ(h.values, (std::vector<int32_t>{5, 100, 8, 200}));
    recordHistory(h, jan2090 + 1, 2, 1, population, money);  // a new row starts from everybody's figures
    EXPECT_EQ(h.values, (std::vector<int32_t>{5, 100, 8, 200, 5, 150, 8, 200}));

    const struct {
        const char* what;
        int32_t month, players;
    } restarts[] = {{"a month skipped", jan2090 + 3, 2}, {"a month gone back", jan2090 - 1, 2},
                    {"another player count", jan2090 + 2, 3}};
    for (const auto& c : restarts) {
        ColonyHistory again = h;
        recordHistory(again, c.month, c.players, 1, population, money);
        EXPECT_EQ(historyRows(again), 1) << c.what;
        EXPECT_EQ(again.firstMonth, c.month) << c.what;
    }
}

TEST(History, ALongGameIsThinnedAndThirtyYearsOfFiveColoniesStaySmall) {
    ColonyHistory h;
    playMonths(h, 5, jan2090, historyRowLimit);
    EXPECT_EQ(historyRows(h), historyRowLimit);
    EXPECT_EQ(h.step, 1);
    playMonths(h, 5, jan2090 + historyRowLimit, 1);
    EXPECT_EQ(historyRows(h), historyRowLimit / 2 + 1);
    EXPECT_EQ(h.step, 2);
    EXPECT_EQ(historyPopulation(h, 1, 1), 12) << "the first month of each pair is kept";
    EXPECT_EQ(historyMoney(h, historyRows(h) - 1, 5), 5000 + historyRowLimit);

    playMonths(h, 5, jan2090 + historyRowLimit + 1, 30 * 12 - historyRowLimit - 1);
    EXPECT_TRUE(historyValid(h));
    EXPECT_LE(historyRows(h), historyRowLimit);
    GameState game = sampleGame(5);
    game.history = h;
    EXPECT_LT(textOf(game).size(), 24u * 1024) << "well under the largest saved game taken";
}

TEST(History, KeptInTheSavedGameAfterTheSeats) {
    const GameState game = twoColonies();
    const std::string text = textOf(game);
    GameState back;
    dimensionTables(back);
    ASSERT_TRUE(readSavedGameText(back, text));
    EXPECT_EQ(stateDifference(game, back), "");
    EXPECT_EQ(textOf(back), text);

    // A game of people: the seat line of zeros, then the section.
    const size_t tag = text.find("\r\n 2             " + std::to_string(jan2090) + "         1");
    ASSERT_NE(tag, std::string::npos);
    const size_t seats = text.rfind("\r\n", tag - 1);
    EXPECT_EQ(text.substr(seats + 2, tag - seats - 2), " 0             0");

    GameState old = game;
    old.history = ColonyHistory{};
    EXPECT_EQ(textOf(old), text.substr(0, seats + 2)) << "no seat line and no section without a history";
}

TEST(History, DamagedSectionsRefuseTheFile) {
    const std::string text = textOf(twoColonies());
    const std::string head = " 2             " + std::to_string(jan2090) + "         1             2             14";
    const size_t at = text.find(head);
    ASSERT_NE(at, std::string::npos);
    const std::string before = text.substr(0, at);
    const std::string rows = text.substr(text.find("\r\n", at) + 2);
    const std::string firstMonth = std::to_string(jan2090);
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"an unknown tag", before + " 3\r\n"},
        {"the tag alone", before + " 2\r\n"},
        {"no rows", before + " 2 " + firstMonth + " 1 2 0\r\n"},
        {"too many rows", before + " 2 " + firstMonth + " 1 2 145\r\n" + rows},
        {"one row less than told", before + " 2 " + firstMonth + " 1 2 15\r\n" + rows},
        {"another player count", before + " 2 " + firstMonth + " 1 3 14\r\n" + rows},
        {"a step of 3", before + " 2 " + firstMonth + " 3 2 14\r\n" + rows},
    };
    for (const auto& c : cases) {
        GameState game = sampleGame(2, 5);
        const GameState untouched = game;
        EXPECT_FALSE(readSavedGameText(game, c.text)) << c.what;
        EXPECT_EQ(stateDifference(untouched, game), "") << c.what;
    }
    GameState game;
    EXPECT_TRUE(readSavedGameText(game, before + " 2 " + firstMonth + " 1 2 14\r\n" + rows)) << "the same by hand";
}

TEST(History, ChartMarksAndColumns) {
    const struct {
        int64_t value, low, high;
        int32_t row;
        uint8_t character;
    } marks[] = {
        {-500, -500, 1000, 5, 220}, {1000, -500, 1000, 0, 223},  // the ends: bottom and top half rows
        {0, -500, 1000, 3, 220},    {7, 7, 7, 5, 220},           // a third of 11 levels is 4; one value: the bottom
        {INT32_MIN, INT32_MIN, INT32_MAX, 5, 220}, {INT32_MAX, INT32_MIN, INT32_MAX, 0, 223},
    };
    for (const auto& m : marks) {
        const ChartMark mark = chartMark(m.value, m.low, m.high, 6);
        EXPECT_EQ(mark.row, m.row) << m.value;
        EXPECT_EQ(mark.character, m.character) << m.value;
    }
    EXPECT_EQ(chartWidth(15), 60);  // four columns a month
    EXPECT_EQ(chartWidth(144), 66);
    EXPECT_EQ(chartRowAt(0, 60, 15), 0);
    EXPECT_EQ(chartRowAt(59, 60, 15), 14);
    EXPECT_EQ(chartRowAt(65, 66, 144), 141);
}
