#include <cstdint>
#include <string>

#include "screen/snapshot.h"
#include "turn_fixture.h"
#include "model/capacity.h"
#include "game/turnscreen.h"

namespace {

using TurnScreenTest = TurnTest;

// Draws the turn screen and stops in its key loop when the script runs out.
void showUntilWaiting(GameState& game) { EXPECT_THROW(turnScreen(game), OutOfKeys); }

// The first pixel row of a status bar lies above the label's glyphs.
constexpr int barRow = 448;

TEST_F(TurnScreenTest, FillPercentagesAndTheirBars) {
    struct Case {
        const char* name;
        int32_t storehouses, storeLevel, goods;  // goods: the sum of the four
        int32_t housing, housingLevel, people;   // people: the sum of the four groups
        int32_t storeFill, housingFill;
    } cases[] = {
        {"start of a game", 1, 0, 100, 1, 0, 16, 20, 32},
        {"research bonus", 1, 2, 600, 1, 4, 70, 100, 100},
        {"half to even, down", 2, 0, 25, 2, 0, 5, 2, 5},
        {"half to even, up", 2, 0, 15, 2, 0, 3, 2, 3},
        {"no storehouse: full bar", 0, 0, 100, 1, 0, 16, 100, 32},
        {"no housing: full bar", 1, 0, 100, 0, 3, 16, 20, 100},
        {"tiny capacity, huge stock", 1, -9, 2000000000, 1, -9, 200000000, INT32_MAX, INT32_MAX},
        {"negative capacity", -1, 0, 100, 1, 0, 16, -20, 32},
    };
    players({"Ala"});
    for (const auto& c : cases) {
        game.storehouses[1] = c.storehouses;
        game.techLevel[1][2] = c.storeLevel;
        game.goods1[1] = c.goods;
        game.goods2[1] = game.goods3[1] = game.goods4[1] = 0;
        game.housing[1] = c.housing;
        game.techLevel[1][1] = c.housingLevel;
        game.population1[1] = c.people;
        game.population2[1] = game.population3[1] = game.population4[1] = 0;
        drawTurnScreen(game);
        EXPECT_EQ(game.storeFill, c.storeFill) << c.name;
        EXPECT_EQ(game.housingFill, c.housingFill) << c.name;
        struct Bar {
            int x0;
            int32_t fill;
        } bars[] = {{300, c.storeFill}, {440, c.housingFill}};
        for (const auto& b : bars) {
            const uint32_t colour = b.fill < 85 ? 27 : 4;
            if (b.fill >= 2 && b.fill <= 100) {
                EXPECT_EQ(readPixel(b.x0 + b.fill, barRow), colour) << c.name << ", bar at " << b.x0;
                EXPECT_EQ(readPixel(b.x0 + b.fill + 1, barRow), 0u) << c.name << ", bar at " << b.x0;
            } else if (b.fill > 100) {
                EXPECT_EQ(readPixel(639, barRow), colour) << c.name << ": fills to the screen's edge";
            } else {
                EXPECT_EQ(readPixel(b.x0 + 2, barRow), 0u) << c.name << ": an empty bar";
            }
        }
    }
}

TEST_F(TurnScreenTest, Capacities) {
    struct Case {
        int32_t count, level;
        int32_t store, housing, power;
    } cases[] = {
        {1, 0, 500, 50, 30},
        {2, 3, 1300, 130, 78},
        {0, 5, 0, 0, 0},
        {20, 10, 20000, 2000, 1200},
    };
    players({"Ala"});
    for (const auto& c : cases) {
        game.storehouses[1] = game.housing[1] = game.powerPlants[1] = c.count;
        game.techLevel[1][1] = game.techLevel[1][2] = game.techLevel[1][5] = c.level;
        EXPECT_EQ(storeCapacity(game), c.store) << c.count << " structures at level " << c.level;
        EXPECT_EQ(housingCapacity(game), c.housing) << c.count << " structures at level " << c.level;
        EXPECT_EQ(powerCapacity(game), c.power) << c.count << " structures at level " << c.level;
    }
    game.techLevel[1][3] = 10;
    game.techLevel[1][4] = 10;
    EXPECT_EQ(storeCapacity(game), 20000) << "only field 2 counts for the store";
}

TEST_F(TurnScreenTest, MenuStatusLineAndPanel) {
    players({"Ala", "Bob"});
    game.currentPlayer = 2;
    game.money[2] = 1234;
    game.selectedCommand = 1;
    keys("");
    showUntilWaiting(game);
    // The longest Polish entries have 11 characters: 13 columns inside the frame.
    EXPECT_EQ(frameRightCorner(2, 2), 2 + 13 + 1);
    EXPECT_EQ(readCell(16, 2).character, 200) << "13 rows inside the frame";
    const char* entries[13] = {"Budowa", "Posiadlosci", "Produkcja", "Badania", "Ekspedycja",
                               "Misja", "Magazyn", "Ludnosc", "Operacje", "Wydobycie",
                               "Energia", "Handlarz", "Koniec tury"};
    for (int n = 1; n <= 13; ++n) {
        const std::string e = entries[n - 1];
        EXPECT_EQ(textAt(n + 2, 4, static_cast<int>(e.size())), e) << "entry " << n;
        EXPECT_EQ(colourAt(n + 2, 4), 32 - n) << "entry " << n;
    }
    EXPECT_EQ(textAt(29, 3, 10), "Gracz: Bob");
    EXPECT_EQ(colourAt(29, 3), 100);
    EXPECT_EQ(textAt(29, 20, 10), "Kasa: 1234");
    EXPECT_EQ(colourAt(29, 20), 45);
    EXPECT_EQ(readCell(3, 3).character, 175);
    EXPECT_EQ(colourAt(3, 3), 4);
}

TEST_F(TurnScreenTest, MarkKeys) {
    struct Case {
        const char* script;
        int32_t start, selected;
    } cases[] = {
        {"Down Down", 1, 3},
        {"Up", 1, 1},
        {"Down Down Down Down Down Down Down Down Down Down Down Down Down Down", 1, 13},
        {"Down Down Up", 1, 2},
        {"Down", 13, 13},
        {"Up Up", 13, 11},
        {"x Left 4", 5, 5},
        {"Down", 0, 2},  // only a game entry sets the entry; out of range starts at 1
    };
    players({"Ala"});
    for (const auto& c : cases) {
        game.selectedCommand = c.start;
        keys(c.script);
        showUntilWaiting(game);
        EXPECT_EQ(game.selectedCommand, c.selected) << c.script << " from " << c.start;
        for (int n = 1; n <= 13; ++n) {
            EXPECT_EQ(readCell(n + 2, 3).character, n == c.selected ? 175 : ' ')
                << c.script << " from " << c.start << ", row of entry " << n;
        }
    }
}

TEST_F(TurnScreenTest, WaysOut) {
    const std::string toLast = "Down Down Down Down Down Down Down Down Down Down Down Down ";
    struct Case {
        std::string script;
        Flow flow;
        int32_t player, selected;
    } cases[] = {
        {"Right", Flow::startOfTurn, 2, 1},
        {"Down Down Right", Flow::startOfTurn, 2, 3},
        {"Esc", Flow::gameMenu, 1, 1},
        {"Down Esc", Flow::gameMenu, 1, 2},
        {toLast + "Enter", Flow::startOfTurn, 2, 13},
        {toLast + "Space", Flow::startOfTurn, 2, 13},
        {"Down Down Enter Space Space Space Right", Flow::startOfTurn, 2, 3},  // the no-workshops window twice
    };
    for (const auto& c : cases) {
        dimensionTables(game);
        players({"Ala", "Bob"});
        game.currentPlayer = 1;
        game.selectedCommand = 1;
        keys(c.script);
        EXPECT_EQ(turnScreen(game), c.flow) << c.script;
        EXPECT_EQ(game.currentPlayer, c.player) << c.script;
        EXPECT_EQ(game.selectedCommand, c.selected) << c.script;
        EXPECT_FALSE(keysLeft()) << c.script;
    }
}

TEST_F(TurnScreenTest, EscRemovesTheMenuAndRightLeavesIt) {
    players({"Ala", "Bob"});
    keys("Esc");
    turnScreen(game);
    EXPECT_EQ(colourAt(3, 4), -1) << "the menu is checkered away";
    keys("Right");
    turnScreen(game);
    EXPECT_EQ(textAt(3, 4, 6), "Budowa");
    EXPECT_EQ(colourAt(3, 4), 31);
}

TEST_F(TurnScreenTest, CommandReturnsToARedrawnMenuWithTheMarkOnIt) {
    players({"Ala"});
    game.selectedCommand = 1;
    keys("Down Down Enter Space");  // production orders: the no-workshops window
    showUntilWaiting(game);
    EXPECT_EQ(game.selectedCommand, 3);
    EXPECT_EQ(readCell(5, 3).character, 175);
    EXPECT_EQ(textAt(4, 4, 11), "Posiadlosci") << "drawn again after the window was removed";
    EXPECT_EQ(colourAt(4, 4), 30);
}

TEST_F(TurnScreenTest, LanguageSwitch) {
    players({"Ala"});
    copyFixedTexts(game);
    struct Case {
        const char* script;
        const char* first;  // entry 1
        int width;
    } cases[] = {
        {"e", "Construction", 29},  // "Operations against a player" and a blank either side
        {"p", "Budowa", 13},
        {"E P", "Budowa", 13},      // only the lower-case letters switch
        {"Down e", "Construction", 29},
    };
    for (const auto& c : cases) {
        loadTextTable("pl.ini");
        clearScreen();
        game.selectedCommand = 1;
        keys(c.script);
        showUntilWaiting(game);
        EXPECT_EQ(textAt(3, 4, static_cast<int>(std::string(c.first).size())), c.first) << c.script;
        EXPECT_EQ(frameRightCorner(2, 2), 2 + c.width + 1) << c.script;
    }
    EXPECT_EQ(game.selectedCommand, 2) << "a switch keeps the marked entry";
    EXPECT_EQ(readCell(4, 3).character, 175);

    // Back to the narrower menu: nothing of the wider frame stays standing.
    clearScreen();
    keys("e p");
    showUntilWaiting(game);
    EXPECT_EQ(frameRightCorner(2, 2), 2 + 13 + 1);
    for (int row = 2; row <= 16; ++row)
        EXPECT_EQ(textAt(row, 17, 16), std::string(16, ' ')) << "row " << row;
}

}  // namespace
