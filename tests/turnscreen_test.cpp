#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "screen/keys.h"
#include "screen/snapshot.h"
#include "state_compare.h"
#include "turn_fixture.h"
#include "model/capacity.h"
#include "model/options.h"
#include "model/savegame.h"
#include "game/flow.h"
#include "game/turnscreen.h"
#include "screen/random.h"
#include "turn/expeditionreturn.h"
#include "turn/missionvoyage.h"
#include "turn/monthlyupdate.h"
#include "turn/startofturn.h"
#include "ui/windows.h"

namespace {

class TurnScreenTest : public TurnTest {
protected:
    // Dots everywhere: what a window covers, blanks and takes away shows.
    static void dotTheScreen() {
        setColour(8);
        for (int row = 1; row <= gridRows; ++row) {
            moveCursor(row, 1);
            printText(std::string(gridColumns, '\xFA'), false);
        }
    }
};

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

// Every command opened and left at once, twice over: nothing is paid, moved
// or counted twice; only the values a first opening sets are changed. The
// screen it leaves behind is reviewed too (drawn over dots, so that what its
// windows took away shows).
TEST_F(TurnScreenTest, EveryCommandLeftAtOnceChangesNothing) {
    const struct {
        int entry;
        const char* leave;  // the keys that leave it once opened
        const char* changed;
        const char* screen;
    } cases[] = {
        {1, "Esc", "buildCount[1]: 0 vs 1\nbuildMonths[1]: 0 vs 3\n", "left-construction"},
        {1, "Enter Esc", "buildCount[1]: 0 vs 1\nbuildMonths[1]: 0 vs 3\n", nullptr},  // the detail window's Esc
        {2, "Esc", "", "left-holdings"},
        {3, "Esc", "orderCount[1]: 0 vs 1\norderMonths[1]: 0 vs 3\n", "left-production"},
        {4, "Esc", "", "left-research"},
        {4, "Right Left Space", "", nullptr},
        {4, "x Right Left Enter", "", nullptr},  // x does not leave it, Enter does
        {5, "Right Down Right Esc", "expeditionMonths[1]: 0 vs 1\n", "left-expedition"},
        {5, "Down Down Right Esc", "expeditionMonths[1]: 0 vs 3\n", nullptr},  // the length stays for the next opening
        {6, "Right 6 Esc", "missionMonths[1]: 0 vs 6\n", "left-mission"},
        {7, "Esc", "", "left-warehouse"},
        {8, "Esc", "", "left-population"},
        {9, "Esc", "", "left-operations"},
        {9, "Enter Down Enter Right Right Esc", "", "left-raid"},
        {9, "Down Enter Down Down Enter Down Down Down Down Right Up Up Up Up Right Esc", "", "left-force"},
        {9, "Enter Down Down Enter Right Right Down Down Down Right Enter", "", nullptr},  // the raid's cancel entry, Right on it
        {9, "Down Enter Down Down Enter Down Down Down Down Right Up Up Up Up Right Down Down Down Down Down Down Right Enter",
         "", nullptr},                                                   // the force's
        {9, "Enter Down Down Up Up Up Enter", "", nullptr},              // the target list's
        {9, "Down Down Down Enter", "", nullptr},                        // the orders' last entry
        {9, "Down Down Space", "", nullptr},                             // Space on it too
        {9, "Enter Down Down Enter Right Down Right Down Space", "", nullptr},  // by Space, both kinds committed
        {9, "Down Enter Down Down Enter Down Down Down Down Right Up Up Up Up Right Down Down Down Down Down Space",
         "", nullptr},                                                   // the force's
        {9, "Down Enter Space", "", nullptr},                            // the force's target list
        {9, "Enter Down Down Enter Enter", "", nullptr},                  // a raid of nobody confirmed
        {10, "Right Left Esc", "", "left-output"},
        {10, "6 4 Space", "", nullptr},  // a hundred out and back
        {11, "Esc", "", "left-power"},
        {12, "Esc", "", "left-trader"},
        {12, "Enter Esc Down Enter Esc Down Down Enter Esc Esc", "", "left-markets"},
        {12, "Down Down Down Enter", "", nullptr},  // the trader's last entry
        {12, "Down Down Down Space", "", nullptr},
    };
    players({"Ala", "Bob"});
    game.labs[1] = game.freeLabs[1] = 1;  // one is enough to open research
    game.population3[1] = game.workers3[1] = 30;
    game.workshops[1] = 2;
    game.units1[1] = game.freeUnits1[1] = game.units2[1] = game.freeUnits2[1] = 3;
    game.units3[1] = game.freeUnits3[1] = game.units4[1] = game.freeUnits4[1] = 3;
    game.units5[1] = game.freeUnits5[1] = 2;
    game.population4[1] = game.workers4[1] = 20;
    game.deposit1[1] = 500;
    game.output1[1] = 30;
    game.outputPower[1] = 3;
    game.powerInUse[1] = 10;
    game.traderPresent = 1;
    game.traderSize = 5;
    game.housing[1] = 2;
    drawTurnScreen(game);  // the fill percentages as the menu shows them
    const GameState start = game;
    for (const auto& c : cases) {
        game = start;
        std::string script;
        for (int n = 1; n < c.entry; ++n) script += "Down ";
        script += std::string("Enter ") + c.leave + " Enter " + c.leave;
        keys(script);
        dotTheScreen();
        showUntilWaiting(game);
        if (c.screen) expectScreen(c.screen);
        GameState expected = start;
        expected.selectedCommand = c.entry;
        EXPECT_EQ(stateDifference(expected, game), c.changed) << "entry " << c.entry << ": " << c.leave;
        EXPECT_FALSE(keysLeft()) << "entry " << c.entry << ": " << c.leave;
        EXPECT_EQ(readCell(c.entry + 2, 3).character, 175) << "entry " << c.entry << ": back on the menu";
    }
}

// The game menu's ways back to the turn screen cost nothing: resuming by
// either key, and saving or loading under an empty name, write and read no
// file and change nothing but the menu's cursor.
TEST_F(TurnScreenTest, GameMenuCancelsCostNothing) {
    const struct {
        const char* keys;
        int32_t cursor;
    } cases[] = {
        {"Enter", 1},      {"Space", 1},      {"Down Up Enter", 1}, {"Down Enter Enter", 2},
        {"Down Space Enter", 2}, {"Down Down Enter Enter", 3}, {"Down Down Space Enter", 3},
    };
    players({"Ala", "Bob"});
    // A game under the empty name: loading it by mistake would show.
    game.money[1] = 999;
    ASSERT_TRUE(writeSavedGame(game, ".dat"));
    std::string planted;
    ASSERT_TRUE(savedGameText(game, planted));
    game.money[1] = 1234;
    const GameState start = game;
    for (const auto& c : cases) {
        game = start;
        keys(c.keys);
        EXPECT_EQ(gameMenu(game), Flow::turnScreen) << c.keys;
        EXPECT_FALSE(keysLeft()) << c.keys;
        GameState expected = start;
        expected.menuCursor = c.cursor;
        EXPECT_EQ(stateDifference(expected, game), "") << c.keys;
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(".")) files += entry.is_regular_file();
        EXPECT_EQ(files, 3) << c.keys << ": the two language files and the planted game, nothing more";
        std::ifstream in(".dat", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), planted) << c.keys;
    }
}

// Every window a turn can show, as the player sees it at its key wait: the
// whole screen, text and colours, against its reviewed file in tests/screens.
TEST_F(TurnScreenTest, EveryWindowAsThePlayerSeesIt) {
    const std::string toOperations = "Down Down Down Down Down Down Down Down Enter ";
    const std::string toTrader = "Down Down Down Down Down Down Down Down Down Down Down Enter ";
    auto turnScreenWith = [](GameState& g) { turnScreen(g); };
    // The first clock second from 1 on whose draws make `wanted` true.
    auto clockFor = [this](const std::function<bool()>& wanted) {
        for (int second = 1;; ++second) {
            seedRandom(second);
            if (!wanted()) continue;
            backend.clock = second + 0.5 - clockReadStep;
            return;
        }
    };
    auto draw = [](int n) { return static_cast<int>(randomUnit() * n); };
    const struct {
        const char* name;
        std::function<void(GameState&)> setUp;
        std::function<void(GameState&)> run;
        std::string keys;
    } cases[] = {
        {"holdings", [](GameState& g) { g.workshops[1] = 9, g.structures4[1] = 12, g.labs[1] = 13, g.structures6[1] = 14; },
         turnScreenWith, "Down Enter"},
        {"warehouse", [](GameState&) {}, turnScreenWith, "Down Down Down Down Down Down Enter"},
        {"population", [](GameState&) {}, turnScreenWith, "Down Down Down Down Down Down Down Enter"},
        {"power", [](GameState& g) { g.powerPlants[1] = 2, g.techLevel[1][5] = 3, g.powerInUse[1] = 41; },
         turnScreenWith, "Down Down Down Down Down Down Down Down Down Down Enter"},
        {"construction-list", [](GameState&) {}, turnScreenWith, "Enter Up Down Down Down Down Down Down Down"},
        {"construction-started", [](GameState&) {}, turnScreenWith, "Enter Enter Enter"},
        {"construction-under-way", [](GameState& g) { g.buildType[1] = 4, g.buildCount[1] = 2, g.buildMonths[1] = 3; },
         turnScreenWith, "Enter"},
        {"production-list", [](GameState& g) { g.workshops[1] = 3; }, turnScreenWith,
         "Down Down Enter Up Down Down Down Down Down Down Down"},
        {"research", [](GameState& g) { g.labs[1] = g.freeLabs[1] = 2, g.techLevel[1][3] = 2, g.researchDone[1][9] = 7; },
         turnScreenWith, "Down Down Down Enter Up Right Down Down Down Down Down Down Down Down Down Down Right Right Left"},
        {"construction-detail", [](GameState&) {}, turnScreenWith, "Enter Down Enter Down Up 6 Right x Left Left Down Left"},
        {"production-started", [](GameState& g) { g.workshops[1] = 3; }, turnScreenWith, "Down Down Enter Enter Enter"},
        {"production-short", [](GameState& g) { g.workshops[1] = 3, g.goods2[1] = 10; }, turnScreenWith,
         "Down Down Enter Down Down Down Enter Right Enter"},
        {"production-none", [](GameState&) {}, turnScreenWith, "Down Down Enter"},
        {"production-under-way", [](GameState& g) { g.workshops[1] = 3, g.orderType[1] = 2, g.orderCount[1] = 1, g.orderMonths[1] = 2; },
         turnScreenWith, "Down Down Enter"},
        {"research-no-labs", [](GameState&) {}, turnScreenWith, "Down Down Down Enter"},
        {"left-no-labs", [](GameState&) {}, turnScreenWith, "Down Down Down Enter Esc"},
        {"left-no-workshops", [](GameState&) {}, turnScreenWith, "Down Down Enter Space"},
        {"left-no-trader", [](GameState&) {}, turnScreenWith, toTrader + "Enter"},
        {"left-started", [](GameState& g) { g.workshops[1] = 3; }, turnScreenWith, "Down Down Enter Enter Enter Esc"},
        {"left-under-way", [](GameState& g) { g.buildType[1] = 4, g.buildCount[1] = 2, g.buildMonths[1] = 3; },
         turnScreenWith, "Enter Space"},
        {"expedition", [](GameState& g) { g.expeditionProgress[1] = 14, g.workers1[1] = 10, g.workers3[1] = 12; },
         turnScreenWith, "Down Down Down Down Enter Up Right Right Down 6 Down Down Down Left Left Right Right Right Right Left"},
        {"expedition-sent", [](GameState&) {}, turnScreenWith, "Down Down Down Down Enter Right Down Right Enter"},
        {"mission", [](GameState& g) { g.workers1[1] = 10; }, turnScreenWith, "Down Down Down Down Down Enter 6 4 Right Right Left"},
        {"output", [](GameState& g) { g.deposit1[1] = 500, g.deposit2[1] = 120, g.output1[1] = 30; }, turnScreenWith,
         "Down Down Down Down Down Down Down Down Down Enter 6 Down 6 x Down Down"},
        {"operations-targets", [](GameState&) {}, turnScreenWith, toOperations + "Enter Up Down Down Down Down"},
        {"operations-raid", [](GameState& g) { g.units3[1] = g.freeUnits3[1] = 10, g.units4[1] = g.freeUnits4[1] = 1; },
         turnScreenWith, toOperations + "Enter Down Down Enter Up 6 Left Down Right Down Down Down Up"},
        {"operations-force", [](GameState& g) { g.units5[1] = g.freeUnits5[1] = 2, g.units1[1] = g.freeUnits1[1] = 3; },
         turnScreenWith, toOperations + "Down Enter Down Down Enter Down Down Down Down Right Up Up Up Right Up Right Up "
                                        "Down Down Down Down Down Down Down Up Up Up Up Up Left Down Down Down Down Left"},
        {"operations-oneself", [](GameState&) {}, turnScreenWith, toOperations + "Enter Down Enter"},
        {"operations-prepared", [](GameState& g) { g.forceTarget[1] = 2; }, turnScreenWith, toOperations + "Down Enter"},
        {"operations-raid-sent", [](GameState& g) { g.units3[1] = g.freeUnits3[1] = 4; }, turnScreenWith,
         toOperations + "Enter Down Down Enter Right Enter"},
        {"operations-force-sent", [](GameState& g) { g.units5[1] = g.freeUnits5[1] = 1; }, turnScreenWith,
         toOperations + "Down Enter Down Down Enter Down Down Down Down Right Up Up Up Up Right Enter"},
        {"trader-none", [](GameState&) {}, turnScreenWith, toTrader},
        {"trader-menu", [](GameState& g) { g.traderPresent = 1, g.traderSize = 23; }, turnScreenWith,
         toTrader + "Up Down Down Down Down Down"},
        {"trader-goods", [](GameState& g) {
             g.traderPresent = 1;
             for (int i = 1; i <= 14; ++i) g.offerQuantity[i] = 100 * i - 700, g.offerPrice[i] = 7 * i;
         }, turnScreenWith, toTrader + "Enter Up Down Down Down Down Down Up"},
        {"trader-equipment", [](GameState& g) {
             g.traderPresent = 1, g.units3[1] = g.freeUnits3[1] = 4, g.powerPlants[1] = 2;
             for (int i = 5; i <= 10; ++i) g.offerQuantity[i] = 3 - i, g.offerPrice[i] = 100 * i;
         }, turnScreenWith, toTrader + "Down Enter Up Down Down Down Down Down Down Down Right"},
        {"trader-colonists", [](GameState& g) {
             g.traderPresent = 1;
             for (int i = 11; i <= 14; ++i) g.offerQuantity[i] = 3 * i;
         }, turnScreenWith, toTrader + "Down Down Enter Down Down Down Down Down 4"},
        {"month-output", [](GameState& g) { g.output1[1] = 10, g.otherPower[1] = 20; }, monthlyUpdate, ""},
        {"month-delivery", [](GameState& g) {
             g.buildType[1] = 2, g.buildCount[1] = 3, g.buildMonths[1] = 1;
             g.workshops[1] = 1, g.orderType[1] = 6, g.orderCount[1] = 1, g.orderMonths[1] = 1;
         }, monthlyUpdate, "Space Space"},
        {"month-overflow", [](GameState& g) {
             g.output1[1] = 600, g.buildType[1] = 2, g.buildCount[1] = 3, g.buildMonths[1] = 1;
         }, monthlyUpdate, "Left Space"},
        {"game-menu-saved", [](GameState&) {}, [](GameState& g) { gameMenu(g); }, "Down Enter \"gra1\" Enter"},
        {"game-menu-save-failed", [](GameState&) { std::filesystem::create_directory("gra2.dat"); },
         [](GameState& g) { gameMenu(g); }, "Down Enter \"gra2\" Enter"},
        {"game-menu-load", [](GameState&) {}, [](GameState& g) { gameMenu(g); }, "Down Down Down Up Enter \"gra\""},
        {"trader-arrival", [](GameState& g) { g.structures4[1] = 59; }, [](GameState& g) { startOfTurn(g); },
         "Space Space Space"},
        {"mission-report", [&](GameState& g) {
             g.missionSent[1] = 1, g.missionWorkers[1] = 30, g.goods4[1] = 300, g.missionPercent[1] = 10;
         }, [&](GameState& g) {
             for (int seed = 1;; ++seed) {
                 seedRandom(seed);
                 if (draw(100) >= 16) continue;
                 seedRandom(seed);
                 break;
             }
             backend.clock = 77.5 - clockReadStep;  // the arrival's draws
             missionVoyage(g);
         }, ""},
        {"expedition-found", [&](GameState& g) {
             g.expeditionSent[1] = 1, g.expeditionLength[1] = 2, g.expeditionWorkers1[1] = 20, g.expeditionWorkers3[1] = 10;
             clockFor([&] { return draw(100) < 50 && (draw(3), draw(1000), draw(100) < 36); });
         }, expeditionReturn, ""},
        {"expedition-lost", [&](GameState& g) {
             g.expeditionSent[1] = 1, g.expeditionLength[1] = 1, g.expeditionWorkers1[1] = 6, g.expeditionWorkers3[1] = 8;
             clockFor([&] { return draw(100) > 90 && draw(100) < 31 && draw(3) > 0 && draw(4) > 0; });
         }, expeditionReturn, ""},
    };
    for (const auto& c : cases) {
        dimensionTables(game);
        players({"Ala", "Bob"});
        useGameTexts();
        // Every count of its own, so that no two rows can be mixed up unseen.
        game.money[1] = 123456;
        game.goods1[1] = 910, game.goods2[1] = 820, game.goods3[1] = 730;
        game.storehouses[1] = 6;
        game.population1[1] = 41, game.workers1[1] = 40;
        game.population2[1] = 32, game.workers2[1] = 31;
        game.population3[1] = 33, game.workers3[1] = 30;
        game.population4[1] = 14, game.workers4[1] = 12;
        game.housing[1] = 3, game.techLevel[1][1] = 1;
        game.selectedCommand = 1;
        backend.clock = 0;
        c.setUp(game);
        dotTheScreen();
        keys(c.keys);
        EXPECT_THROW(c.run(game), OutOfKeys) << c.name;
        expectScreen(c.name);
    }
}

// Space pressed in the first of two computer turns makes both go at once,
// their start-of-turn windows and every screen included, up to the person's.
TEST_F(TurnScreenTest, SpaceHurriesEveryComputerTurnUpToThePersons) {
    useGameTexts();
    players({"Ala", "Bob", "Cyd"});
    game.seatLevel[1] = game.seatLevel[2] = seatHard;
    game.currentPlayer = 1;
    options().pace = paceWatch;
    keys("");
    double pressedAt = 0;
    int computerKeys = 0;
    setComputerKeyObserver([this, &pressedAt, &computerKeys](const std::string&) {
        if (computerKeys++ == 0) {
            queueKey(keySpace);
            pressedAt = backend.clock;
        }
    });
    EXPECT_THROW(runFlow(game, Flow::gameEntry), OutOfKeys);
    setComputerKeyObserver(nullptr);
    setCloseHandler(nullptr);
    setGiveUpHandler(nullptr);
    EXPECT_EQ(game.currentPlayer, 3) << "the person's turn";
    EXPECT_GT(computerKeys, 20);
    EXPECT_LT(backend.clock - pressedAt, 0.150) << "not one pause of the watch pace after Space";
}

// A rich colony meets a big trader who wants its goods, with its outputs far
// from what it wants: the hundreds, the ones and the commands begun are
// bounded, so the turn stays short.
TEST_F(TurnScreenTest, ARichComputerTurnStaysShort) {
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/pl.ini");  // the computer reads the real windows
    players({"Ala", "Bob"});
    game.currentPlayer = 1;
    game.seatLevel[1] = seatHard;
    game.money[1] = 3800000;
    game.storehouses[1] = game.housing[1] = 40;
    game.powerPlants[1] = 100;
    game.goods4[1] = 2999;
    game.goods1[1] = game.goods2[1] = game.goods3[1] = 9000;
    game.deposit1[1] = game.deposit2[1] = game.deposit3[1] = 90000;
    game.traderPresent = 1;
    for (int item = 1; item <= 3; ++item) game.offerQuantity[item] = -8950, game.offerPrice[item] = 10;
    forgetComputerPlans();
    useKeysOfSeat(game, 1, SeatTask::turn);
    int pressed = 0;
    setComputerKeyObserver([&pressed](const std::string&) { ++pressed; });
    EXPECT_EQ(turnScreen(game), Flow::startOfTurn);
    setComputerKeyObserver(nullptr);
    useKeyboard();
    EXPECT_LT(game.goods2[1], 9000) << "it sold";
    EXPECT_LE(pressed, 300);
}

// A seat that cannot end its turn gives it up after 2,000 keys: met by the
// turn screen then, it ends the turn at once, though the trader still waits;
// when not even the turn screen comes back, a window says so and a person
// plays the seat from then on.
GameState* seatsGame = nullptr;
TEST_F(TurnScreenTest, AComputerSeatGivesUpATurnItCannotEnd) {
    players({"Ala", "Bob"});
    game.currentPlayer = 1;
    game.seatLevel[1] = seatHard;
    game.traderPresent = 1;
    seatsGame = &game;
    setGiveUpHandler([](int p) { seatHandedOver(*seatsGame, p); });
    std::vector<std::string> pressed;
    setComputerKeyObserver([&pressed](const std::string& key) { pressed.push_back(key); });
    // A window the seat does not know and no key closes, for `keys` of its keys.
    auto stuck = [this](size_t keys) {
        forgetComputerPlans();
        useKeysOfSeat(game, 1, SeatTask::turn);
        drawFrame(20, 10, 30, 2);
        for (size_t n = 0; n < keys && keyOwner() != 0; ++n) pollKey();
    };
    const GiveUps before = computerGiveUps();
    stuck(2010);
    EXPECT_EQ(turnScreen(game), Flow::startOfTurn);
    ASSERT_EQ(pressed.size(), 2011u);
    EXPECT_EQ(pressed.back(), keyRight) << "the turn ended at once";
    EXPECT_EQ(computerGiveUps().turnsEnded, before.turnsEnded + 1);
    EXPECT_EQ(game.seatLevel[1], seatHard) << "the next turn is the seat's again";

    game.month = 2;  // a new turn, on a screen the seat does not know
    clearScreen();
    keys("");
    EXPECT_THROW(stuck(3000), OutOfKeys) << "the window waits for the person's key";
    EXPECT_EQ(pressed.size(), 2011u + 2060u);
    EXPECT_EQ(textAt(13, 4, 36), "Komputer nie umie skonczyc tej tury.");
    EXPECT_EQ(textAt(14, 4, 23), "Odtad gra czlowiek: Ala");
    EXPECT_EQ(game.seatLevel[1], seatPerson);
    EXPECT_EQ(keyOwner(), 0);
    EXPECT_EQ(computerGiveUps().seatsHandedOver, before.seatsHandedOver + 1);
    setComputerKeyObserver(nullptr);
    setGiveUpHandler(nullptr);
}

// A computer seat's turn at the trader: food is bought with money below the
// 2000 kept back for other goods, what a storehouse takes of goods2, a power
// plant while the spare power is below 40, builders up to 14 after group 1 and
// group 3 up to 4 (builders first while fewer than 12); a third of goods2's
// share of the store is kept from the trader; a storehouse is begun when more
// than 1500 is left after it; the output of goods3 is changed too.
TEST_F(TurnScreenTest, ComputerSeatAtTheTrader) {
    loadTextTable(std::string(COLONIES_DATA_DIR) + "/pl.ini");  // the computer reads the real windows
    int seatKeys = 0;  // the keys of the last turn
    auto computerTurn = [this, &seatKeys](const std::function<void()>& setUp) {
        dimensionTables(game);
        players({"Ala", "Bob"});
        game.currentPlayer = 1;
        game.seatLevel[1] = seatHard;
        game.traderPresent = 1;
        setUp();
        forgetComputerPlans();
        useKeysOfSeat(game, 1, SeatTask::turn);
        seatKeys = 0;
        setComputerKeyObserver([&seatKeys](const std::string&) { ++seatKeys; });
        EXPECT_EQ(turnScreen(game), Flow::startOfTurn);
        setComputerKeyObserver(nullptr);
        useKeyboard();
    };
    // Offers stay from one turn to the next unless cleared.
    auto noOffers = [this] { std::fill(std::begin(game.offerQuantity), std::end(game.offerQuantity), 0); };
    computerTurn([this] {
        game.money[1] = 1500;
        game.goods4[1] = 10;
        game.offerQuantity[4] = 50;  // food at 5
        game.offerPrice[4] = 5;
    });
    EXPECT_EQ(game.goods4[1], 27) << "9 months of food";
    const long long traderOpened = computerCommandCounts(seatHard)[12];  // the arena's figures
    computerTurn([this] {
        game.goods4[1] = 300;
        game.population2[1] = game.workers2[1] = 12;
        game.offerQuantity[11] = game.offerQuantity[12] = game.offerQuantity[13] = 10;  // groups 1 to 3
        game.offerQuantity[10] = 1;  // a power plant at 1000
        game.offerPrice[10] = 1000;
    });
    EXPECT_EQ(game.population1[1], 20);
    EXPECT_EQ(game.population2[1], 14) << "2 builders more, though 10 of group 1 came first";
    EXPECT_EQ(game.population3[1], 4);
    EXPECT_EQ(game.powerPlants[1], 2) << "27 spare";
    EXPECT_EQ(computerCommandCounts(seatHard)[12], traderOpened + 1);
    computerTurn([this] {
        game.population1[1] = game.workers1[1] = 33;  // 49 people fill the food room: a storehouse is wanted
        game.offerQuantity[1] = 200;  // goods2 at 2
        game.offerPrice[1] = 2;
        game.powerPlants[1] = 2, game.otherPower[1] = 18;  // 60 for 20: 40 spare is enough
        game.offerQuantity[10] = 1, game.offerPrice[10] = 1000;
    });
    EXPECT_EQ(game.goods2[1], 150);
    EXPECT_EQ(game.powerPlants[1], 2);
    for (int32_t money : {2000, 2001}) {
        computerTurn([this, money] {
            game.population1[1] = game.workers1[1] = 33;
            game.population2[1] = game.workers2[1] = 10;
            game.goods3[1] = 200, game.goods2[1] = 150;
            game.money[1] = money;  // 500 for a storehouse in 3 months
            game.missionSent[1] = 1;  // nothing spent on a mission first
        });
        EXPECT_EQ(game.buildType[1], money == 2001 ? 2 : 0) << money;
    }
    computerTurn([&] {
        noOffers();
        game.population2[1] = game.workers2[1] = 10;
        game.goods4[1] = 300;
        game.offerQuantity[11] = 30, game.offerQuantity[12] = 10;  // 26 places free
    });
    EXPECT_EQ(game.population2[1], 14) << "builders before group 1 while fewer than 12";
    EXPECT_EQ(game.population1[1], 32) << "the places left";
    computerTurn([&] {
        noOffers();
        game.goods2[1] = 70;
        game.offerQuantity[1] = -100, game.offerPrice[1] = 3;
    });
    EXPECT_EQ(game.goods2[1], 35) << "a third of goods2's 105 of the store is kept";
    // Food it cannot pay for costs no keys: the same turn as with none offered.
    int turnKeys[2] = {};
    for (int offered : {0, 1}) {
        computerTurn([&] {
            noOffers();
            game.money[1] = 4;
            game.offerQuantity[4] = 50 * offered, game.offerPrice[4] = 5;
        });
        turnKeys[offered] = seatKeys;
    }
    EXPECT_EQ(turnKeys[1], turnKeys[0]);
    computerTurn([&] {
        noOffers();
        game.population1[1] = game.workers1[1] = 22;  // 6 eaten a month: 54 wanted
        game.goods4[1] = 4, game.goods3[1] = 396;     // 50 free
        game.offerQuantity[4] = 50, game.offerPrice[4] = 5;
    });
    EXPECT_EQ(game.goods4[1], 54) << "the whole offer in one, though it fills the store";
    computerTurn([&] {
        noOffers();
        game.goods1[1] = 0;
        game.offerQuantity[3] = 10, game.offerPrice[3] = 1;
    });
    EXPECT_EQ(game.goods1[1], 3) << "three months of fuel at 1 a month";
    computerTurn([&] {
        noOffers();
        game.goods1[1] = 0, game.money[1] = 2002;
        game.offerQuantity[3] = 10, game.offerPrice[3] = 1;
    });
    EXPECT_EQ(game.goods1[1], 2) << "what is left above the 2000 kept";
    computerTurn([&] {
        noOffers();
        game.seatLevel[1] = seatEasy;
        game.goods1[1] = 0;
        game.offerQuantity[3] = 10, game.offerPrice[3] = 1;
    });
    EXPECT_EQ(game.goods1[1], 0) << "easy seats buy food alone";
    computerTurn([&] {
        noOffers();
        game.goods4[1] = 10;
        game.missionSent[1] = 1, game.missionPercent[1] = 50;
        game.offerQuantity[4] = 50, game.offerPrice[4] = 5;
    });
    EXPECT_EQ(game.goods4[1], 36) << "27, and 9 for the half of 6 months' food the mission loses";
    computerTurn([&] {
        noOffers();
        game.goods1[1] = 100, game.goods3[1] = 70;
        game.otherPower[1] = 58;  // 10 of fuel a month
        game.offerQuantity[2] = game.offerQuantity[3] = -100, game.offerPrice[2] = game.offerPrice[3] = 3;
    });
    EXPECT_EQ(game.goods1[1], 80) << "eight months of fuel are kept";
    EXPECT_EQ(game.goods3[1], 35) << "a third of goods3's 105 of the store is kept";
    computerTurn([&] {
        noOffers();
        game.population2[1] = game.workers2[1] = 10;
        game.goods4[1] = 51;  // feeds 36 until the next mission is home: 12 more than the 24
        game.offerQuantity[11] = 30, game.offerQuantity[12] = 10;
    });
    EXPECT_EQ(game.population2[1], 14);
    EXPECT_EQ(game.population1[1], 18) << "the builders count against what the food feeds";
    computerTurn([&] {
        noOffers();
        game.missionSent[1] = 1;
        game.population1[1] = game.workers1[1] = 2, game.population3[1] = game.workers3[1] = 1;
    });
    EXPECT_EQ(game.expeditionSent[1], 1) << "two of group 1 and one of group 3 are enough";
    EXPECT_EQ(game.expeditionWorkers1[1], 2);
    EXPECT_EQ(game.expeditionWorkers3[1], 1);
    EXPECT_EQ(game.expeditionLength[1], 3);
    computerTurn([&] {
        noOffers();
        game.deposit3[1] = 500;
        game.output3[1] = 10;  // 10 short is worth the keys
        game.expeditionProgress[1] = 100;  // nothing more to explore: the turn goes on
    });
    EXPECT_EQ(game.output3[1], 20) << "13 of the 26 spare power for a quarter of its 105 of the store";
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
